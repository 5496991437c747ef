#pragma once
// Copying a file's access control list and extended attributes to another open file, through
// libacl and libattr, whose calls report their failures through a callback rather than errno.

#include <string>

// Gives the file toFd (at toPath) the permissions and the access control list of fromFd (at
// fromPath). Returns 0, or the errno of the first failure.
int CopyAccessList(int fromFd, const std::string& fromPath, int toFd, const std::string& toPath);
// As CopyAccessList, and then every extended attribute of fromFd that the system's rules for
// copying attributes keep (user.*, security.*, and trusted.* for root among them).
int CopyAccessListAndAttributes(int fromFd, const std::string& fromPath, int toFd, const std::string& toPath);
// Whether error from the two above says that the file system or the user refuses the file one
// of them, rather than that the disk failed.
bool IsAccessCopyRefusal(int error);
