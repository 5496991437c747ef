#pragma once
// Both ways of reading against the reader's model (ReaderModel.h): the whole-text functions and the
// streaming reader must make the model's rows (or its refusal) of the same text, wherever the
// ends of the reader's buffer and of its reads fall. Each check runs in the character set in
// force; the tests of each system run it in several.

#include "cable/CableTable.h"

#include <cstddef>
#include <string>

// Texts that put line feeds, keywords, "=", zero bytes and multi-byte characters of the common
// character sets on every side of every boundary, read whole, and streamed through buffers of
// 1 byte and up and reads of 1 byte and up.
void ExpectReadsMakeTheModelsRows();

// What the streaming reader makes of text through a buffer of bufferSize bytes, each read giving
// it at most readSize bytes: its result, and its rows added to rows.
int ReadInPieces(const std::string& text, std::size_t bufferSize, std::size_t readSize, CCableTable& rows);
