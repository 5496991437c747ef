#include "CountingAllocations.h"

#include <cstdlib>
#include <new>

// In a file of their own, so that no call is inlined where the compiler would take free() for a
// mismatch with new.
namespace {
bool g_counting = false;
int g_allocations = 0;
}  // namespace

void* operator new(std::size_t size) {
    if (g_counting) ++g_allocations;
    if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
    throw std::bad_alloc();
}

void operator delete(void* memory) noexcept { std::free(memory); }

void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }

int CountAllocations(const std::function<void()>& action) {
    g_allocations = 0;
    g_counting = true;
    action();
    g_counting = false;
    return g_allocations;
}
