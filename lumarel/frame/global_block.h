// Movable global memory blocks that throw 'asrt' when they cannot be had.
#pragma once
#include <windows.h>

namespace lumarel {

class StHandle {
public:
    StHandle(SIZE_T size, UINT flags = GMEM_MOVEABLE);
    virtual ~StHandle();
    StHandle(const StHandle&) = delete;
    StHandle& operator=(const StHandle&) = delete;

    virtual void resize(SIZE_T size);

    HGLOBAL block = nullptr;

protected:
    StHandle() = default;
};

// The same block, always zero-filled, also when it grows.
class StClearHandle : public StHandle {
public:
    explicit StClearHandle(SIZE_T size);
    void resize(SIZE_T size) override;
};

}  // namespace lumarel
