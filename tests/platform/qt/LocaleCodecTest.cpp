// Text between bytes and Qt strings: every byte string survives the trip there and back, in a
// single-byte, a UTF-8 and a double-byte character set.

#include "platform/qt/LocaleCodec.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <random>
#include <string>

namespace {

// Random byte strings, biased towards the bytes that start and continue multi-byte characters.
std::string RandomBytes(std::mt19937& random) {
    static const std::string kPool = "aZ0 =\t\r\n\x80\x81\xA1\xBA\xC3\xC4\xE3\xE4\xED\xEF\xF0\xFE\xFF\x30\x40\x7F";
    std::uniform_int_distribution<std::size_t> length(0, 12), pick(0, kPool.size() - 1), any(0, 255);
    std::string bytes;
    for (std::size_t n = length(random); n > 0; --n) {
        bytes.push_back(n % 3 == 0 ? static_cast<char>(any(random)) : kPool[pick(random)]);
    }
    return bytes;
}

void ExpectEveryByteStringSurvives(const CLocaleCodec& codec) {
    for (int byte = 0; byte < 256; ++byte) {
        const std::string one(1, static_cast<char>(byte));
        EXPECT_EQ(codec.FromQString(codec.ToQString(one)), one) << "byte " << byte;
    }
    std::mt19937 random(7);
    for (int i = 0; i < 20000; ++i) {
        const std::string bytes = RandomBytes(random);
        ASSERT_EQ(codec.FromQString(codec.ToQString(bytes)), bytes) << "case " << i;
    }
}

}  // namespace

TEST(LocaleCodec, Utf8ShowsCharactersAndEscapesTheBytesThatDoNotDecode) {
    const CLocaleCodec codec("C.UTF-8");
    EXPECT_EQ(codec.ToQString("caf\xC3\xA9"), QStringLiteral(u"café"));
    EXPECT_EQ(codec.ToQString("\xC3(\xFF"), QString(QChar(0xDCC3)) + u'(' + QChar(0xDCFF));
    EXPECT_EQ(codec.ToQString("\xED\xB3\x80"), QString(QChar(0xDCED)) + QChar(0xDCB3) + QChar(0xDC80))
        << "an encoded surrogate is no character";
    EXPECT_EQ(codec.FromQString(QStringLiteral(u"\U0001F600")), "\xF0\x9F\x98\x80");
    ExpectEveryByteStringSurvives(codec);
}

// A long cell is shown by its first characters, multi-byte ones counted once; cut says whether
// any were left out, also when only one was.
TEST(LocaleCodec, ShowsTheFirstCharactersAndSaysWhetherMoreFollow) {
    const CLocaleCodec codec("C.UTF-8");
    bool cut = true;
    EXPECT_EQ(codec.ToQString("\xC3\xA9\xC3\xA9x", 3, cut), QStringLiteral(u"ééx"));
    EXPECT_FALSE(cut);
    EXPECT_EQ(codec.ToQString("\xC3\xA9\xC3\xA9xy", 3, cut), QStringLiteral(u"ééx"));
    EXPECT_TRUE(cut);
    EXPECT_EQ(codec.ToQString("\xC3\xA9\xC3\xA9", 1, cut), QStringLiteral(u"é"));
    EXPECT_TRUE(cut);
}

TEST(LocaleCodec, SingleByteTextIsKeptByteForByte) {
    const CLocaleCodec codec("C");
    ExpectEveryByteStringSurvives(codec);
}

TEST(LocaleCodec, DoubleByteCharactersStayWholeAndBrokenOnesSurvive) {
    const char* localeDir = std::getenv("QUORLIS_TEST_LOCALE_DIR");
    if (!localeDir) GTEST_SKIP() << "no locale folder";
    setenv("LOCPATH", localeDir, 1);
    std::unique_ptr<CLocaleCodec> codec;
    try {
        codec = std::make_unique<CLocaleCodec>("zh_CN.GBK");
    } catch (const std::exception&) {
        GTEST_SKIP() << "localedef made no zh_CN.GBK";
    }
    EXPECT_EQ(codec->ToQString("\xC4\xE3\xBA\xC3"), QStringLiteral(u"你好"));
    EXPECT_EQ(codec->FromQString(QStringLiteral(u"你好")), "\xC4\xE3\xBA\xC3");
    EXPECT_EQ(codec->ToQString("\x81\x30x"), QString(QChar(0xDC81)) + u'0' + u'x') << "a lead byte without its trail";
    EXPECT_EQ(codec->ToQString("a\xC4"), QString(u'a') + QChar(0xDCC4)) << "cut off at the end";
    EXPECT_EQ(codec->FromQString(QStringLiteral(u"\U0001F600")), "?") << "no such character in the set";
    bool lossy = false;
    EXPECT_EQ(codec->FromQString(QStringLiteral(u"a\U0001F600b"), &lossy), "a?b");
    EXPECT_TRUE(lossy) << "a lost character is told";
    EXPECT_EQ(codec->FromQString(QStringLiteral(u"你好?") + QChar(0xDC81), &lossy), "\xC4\xE3\xBA\xC3?\x81");
    EXPECT_FALSE(lossy) << "a \"?\" typed and a byte kept are no loss";
    ExpectEveryByteStringSurvives(*codec);
    unsetenv("LOCPATH");
}
