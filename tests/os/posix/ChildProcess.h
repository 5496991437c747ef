#pragma once
// A piece of a test run in a process of its own: as another user, in another mount namespace, or
// as a second holder of a file.

#include <functional>

// Runs body in a child process, which ends with what body returns; gives the child's exit code, or
// -1 when it did not exit normally.
int RunInChild(const std::function<int()>& body);
