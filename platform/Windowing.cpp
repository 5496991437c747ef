#include "platform/Windowing.h"

#include <stdexcept>

namespace {

IWindowing* g_windowing = nullptr;

}  // namespace

IWindowing& GetWindowing() {
    if (!g_windowing) throw std::logic_error("no windowing backend set");
    return *g_windowing;
}

void SetWindowing(IWindowing* windowing) { g_windowing = windowing; }
