#pragma once
// Large blocks of memory straight from the system. Touching fresh memory one page at a time is
// slow on many machines; on POSIX systems a large block from here (kLargePageBlock and more) comes
// with all its pages already in place where the kernel can populate them (huge pages where it
// offers them), so filling it costs little more than the writing itself. Smaller blocks, and all
// blocks elsewhere, come from the heap.

#include <cstddef>

// Blocks of at least this size come from the system's page mapping; smaller ones from the heap.
inline constexpr std::size_t kLargePageBlock = std::size_t{2} << 20;

// A block of size bytes. Throws std::bad_alloc when there is no memory for it.
char* AllocatePages(std::size_t size);

// Gives back a block that AllocatePages(size) returned, with the same size.
void FreePages(char* block, std::size_t size) noexcept;
