#pragma once
// What the benchmark programs share: their options, medians, a scratch folder, a child's output.

#include <functional>
#include <string>
#include <vector>

struct SBenchOptions {
    int rows = 0;  // 0: the bench's own sizes
    int runs = 5;
    std::string dir;    // empty: a temporary folder of the bench's own
    bool huge = false;  // also the largest size, which takes minutes and gigabytes
};

// Throws std::runtime_error with message; the bench's main prints it and fails.
[[noreturn]] void Fail(const std::string& message);

// The median of values, which must not be empty.
double Median(std::vector<double> values);

// Everything that can be read from fd up to its end.
std::string ReadAll(int fd);

// Parses "[--rows N] [--runs R] [--dir D] [--huge]", runs bench with them, and returns the exit status:
// 0, or 1 after printing "program: error" on a bad option or a failure. Without --dir, the bench
// gets a new temporary folder that is removed afterwards.
int RunBenchMain(int argc, char** argv, const char* program, const std::function<void(const SBenchOptions&)>& bench);
