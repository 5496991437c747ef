// Page blocks on POSIX systems: an anonymous mapping aligned to the huge-page size, marked for huge
// pages and populated at once.
#include "os/PageMemory.h"

#include <sys/mman.h>
#include <cstdint>
#include <new>

namespace {

std::size_t RoundUp(std::size_t size) { return (size + kLargePageBlock - 1) & ~(kLargePageBlock - 1); }

// A mapping of size bytes (a multiple of kLargePageBlock) that begins on a multiple of it.
char* MapAligned(std::size_t size) {
    const std::size_t mapped = size + kLargePageBlock;
    void* address = ::mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (address == MAP_FAILED) {
        throw std::bad_alloc();
    }
    char* const start = static_cast<char*>(address);
    const auto startValue = reinterpret_cast<std::uintptr_t>(start);
    char* const aligned = start + (RoundUp(startValue) - startValue);
    if (aligned > start) {
        ::munmap(start, static_cast<std::size_t>(aligned - start));
    }
    char* const end = aligned + size;
    if (end < start + mapped) {
        ::munmap(end, static_cast<std::size_t>(start + mapped - end));
    }
    return aligned;
}

}  // namespace

char* AllocatePages(std::size_t size) {
    if (size < kLargePageBlock) {
        return static_cast<char*>(::operator new(size));
    }
    if (size > SIZE_MAX / 2) {
        throw std::bad_alloc();
    }
    const std::size_t rounded = RoundUp(size);
    char* const block = MapAligned(rounded);
    // Both are hints: without them the pages come one fault at a time, which is slower but right.
    ::madvise(block, rounded, MADV_HUGEPAGE);
#ifdef MADV_POPULATE_WRITE
    ::madvise(block, rounded, MADV_POPULATE_WRITE);
#endif
    return block;
}

void FreePages(char* block, std::size_t size) noexcept {
    if (size < kLargePageBlock) {
        ::operator delete(block);
        return;
    }
    ::munmap(block, RoundUp(size));
}
