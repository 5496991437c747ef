// Page blocks on Windows: the heap, which hands large blocks straight from the system.
#include "os/PageMemory.h"

#include <new>

char* AllocatePages(std::size_t size) { return static_cast<char*>(::operator new(size)); }

void FreePages(char* block, std::size_t) noexcept { ::operator delete(block); }
