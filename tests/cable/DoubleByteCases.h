#pragma once
// The reader's checks in a double-byte character set (GBK, code page 936), shared by the test of
// each system; each runs while that character set is in force.

#include <string>

// A list whose bytes 0x81 0x56 ("\x81" "Velocity") form one character, so that line holds no
// keyword, and whose cells hold double-byte characters.
extern const std::string kDoubleByteList;

// SplitCableLines finds keywords only where a character begins.
void ExpectKeywordsOnlyWhereACharacterBegins();
// A read, a write and a read again keep every double-byte cell as it was.
void ExpectDoubleByteCellsSurviveARoundTrip();
