#pragma once
// The parts of a POSIX path, and the hidden temporary names that files get beside a target.

#include <string>

// The folder part of path, with its final slash, or "" when path has none.
std::string FolderOf(const std::string& path);
// The part of path after its last slash: "" when path ends in one.
std::string NameOf(const std::string& path);
// A hidden name beside path (in its folder, or a name alone) that no one else is likely to pick;
// creating it with O_EXCL, or linking to it, settles the rest.
std::string TemporaryNameBeside(const std::string& path);
