#pragma once
// The busy cursor for the length of a scope, over every window of the program: a command that
// makes the user wait shows it from its start to its end.
//
//   {
//       const CWaitCursor busy;
//       ReadCableListFile(path, table);
//   }

class CWaitCursor {
public:
    // Shows the busy cursor; scopes may nest.
    CWaitCursor();
    // Shows the cursor of before once the outermost scope ends.
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};
