#include "base/global_block.h"

#include "base/failure.h"

namespace lumarel {

StHandle::StHandle(SIZE_T size, UINT flags) : block_(GlobalAlloc(flags, size)) { check(bool(block_)); }

void StHandle::regrow(SIZE_T size, UINT flags) {
    HGLOBAL grown = GlobalReAlloc(block_.get(), size, flags);
    check(grown != nullptr);
    block_.release();  // the old handle is gone or is the new one
    block_.reset(grown);
}

void StHandle::resize(SIZE_T size) { regrow(size, GMEM_MOVEABLE); }

StClearHandle::StClearHandle(SIZE_T size) {
    block_.reset(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size));
    check(bool(block_));
}

void StClearHandle::resize(SIZE_T size) { regrow(size, GMEM_MOVEABLE | GMEM_ZEROINIT); }

}  // namespace lumarel
