#include "frame/global_block.h"

#include "frame/failure.h"

namespace lumarel {

StHandle::StHandle(SIZE_T size, UINT flags) : block(GlobalAlloc(flags, size)) {
    check(block != nullptr);
}

StHandle::~StHandle() {
    if (block) GlobalFree(block);
}

void StHandle::resize(SIZE_T size) {
    HGLOBAL grown = GlobalReAlloc(block, size, GMEM_MOVEABLE);
    check(grown != nullptr);
    block = grown;
}

StClearHandle::StClearHandle(SIZE_T size) {
    block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    check(block != nullptr);
}

void StClearHandle::resize(SIZE_T size) {
    HGLOBAL grown = GlobalReAlloc(block, size, GMEM_MOVEABLE | GMEM_ZEROINIT);
    check(grown != nullptr);
    block = grown;
}

}  // namespace lumarel
