// Movable global memory blocks that throw 'asrt' when they cannot be had.
#pragma once
#include <windows.h>

#include "base/handles.h"

namespace lumarel {

class StHandle {
public:
    StHandle(SIZE_T size, UINT flags = GMEM_MOVEABLE);
    virtual ~StHandle() = default;
    StHandle(const StHandle&) = delete;
    StHandle& operator=(const StHandle&) = delete;

    virtual void resize(SIZE_T size);

    HGLOBAL get() const { return block_.get(); }
    // Hands the block to a new owner (a window property).
    HGLOBAL release() { return block_.release(); }

protected:
    StHandle() = default;
    void regrow(SIZE_T size, UINT flags);

    unique_hglobal block_;
};

// The same block, always zero-filled, also when it grows.
class StClearHandle : public StHandle {
public:
    explicit StClearHandle(SIZE_T size);
    void resize(SIZE_T size) override;
};

}  // namespace lumarel
