#pragma once
// Counts the allocations made through operator new: the test program that links
// CountingAllocations.cpp has its operator new replaced by one that counts.

#include <functional>

// How many times action allocated memory through operator new.
int CountAllocations(const std::function<void()>& action);
