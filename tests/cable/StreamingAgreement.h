#pragma once
// The streaming reader against the whole-text functions: the same text must make the same rows
// (or the same refusal) wherever the ends of the reader's buffer and of its reads fall. Each
// check runs in the character set in force; the tests of each system run it in several.

// Texts that put line feeds, keywords, "=", zero bytes and multi-byte characters of the common
// character sets on every side of every boundary, read through buffers of 1 byte and up and
// reads of 1 byte and up.
void ExpectStreamingAgreesWithWholeText();
