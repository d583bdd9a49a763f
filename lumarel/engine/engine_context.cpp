#include "engine/engine_context.h"

namespace lumarel {
namespace {

EngineContext*& current() {
    static EngineContext fallback;
    static EngineContext* context = &fallback;
    return context;
}

}  // namespace

EngineContext& bulbContext() { return *current(); }
void setBulbContext(EngineContext& context) { current() = &context; }

}  // namespace lumarel
