// Rows to and from spreadsheet text: quoting, line ends, headings and each kind of wrong line.

#include "ui/SpreadsheetText.h"

#include "res/Resources.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace std::string_literals;

SCableRowTexts RowOf(const char* name, const char* velocity, const char* loss, const char* frequency) {
    return SCableRowTexts{name, velocity, loss, frequency};
}

std::string Problem(std::string_view text, int unconvertibleLine = 0) {
    const SSpreadsheetRows parsed = ParseSpreadsheetRows(text, unconvertibleLine);
    EXPECT_TRUE(parsed.rows.empty()) << "nothing is taken from a text with a wrong line";
    if (parsed.wrongLine == 0) return "no wrong line";
    return "Line " + std::to_string(parsed.wrongLine) + ": " + parsed.problem;
}

TEST(SpreadsheetTextTest, FormatQuotesOnlyCellsThatNeedIt) {
    EXPECT_EQ(FormatSpreadsheetLine({"RG58", "0.66", "", " 1 "}, "\n"), "RG58\t0.66\t\t 1 \n");
    EXPECT_EQ(FormatSpreadsheetLine({"a\tb", "say \"x\"", "c\rd", "e\nf"}, "\r\n"),
              "\"a\tb\"\t\"say \"\"x\"\"\"\t\"c\rd\"\t\"e\nf\"\r\n");
    EXPECT_EQ(FormatSpreadsheetLine({"\"", "", "", ""}, "\n"), "\"\"\"\"\t\t\t\n");
}

TEST(SpreadsheetTextTest, ParseTakesWhatFormatGivesWithEitherLineEnd) {
    const SCableRowTexts quoted = RowOf("say \"x\" a\tb", "0.66", "-1", ".5e3");
    for (const char* lineEnd : {"\n", "\r\n"}) {
        std::string text = FormatSpreadsheetLine({"RG58", "0.66", "0.5", "100"}, lineEnd) +
                           FormatSpreadsheetLine({quoted[0], quoted[1], quoted[2], quoted[3]}, lineEnd);
        const SSpreadsheetRows parsed = ParseSpreadsheetRows(text, 0);
        EXPECT_EQ(parsed.wrongLine, 0) << parsed.problem;
        ASSERT_EQ(parsed.rows.size(), 2u);
        EXPECT_EQ(parsed.rows[0], RowOf("RG58", "0.66", "0.5", "100"));
        EXPECT_EQ(parsed.rows[1], quoted);
    }
}

TEST(SpreadsheetTextTest, HeadingsFirstAreSkippedAndEmptyLinesAtTheEndAreNoRows) {
    const std::string headings = "Cable Name\tVelocity\tCable Loss\tFrequency(MHz)\r\n";
    SSpreadsheetRows parsed = ParseSpreadsheetRows(headings + "a\t1\t2\t3\r\n\r\n\n", 0);
    ASSERT_EQ(parsed.rows.size(), 1u);
    EXPECT_EQ(parsed.rows[0], RowOf("a", "1", "2", "3"));
    parsed = ParseSpreadsheetRows("a\t1\t2\t3", 0);  // no line end at all
    EXPECT_EQ(parsed.rows.size(), 1u);
    EXPECT_TRUE(ParseSpreadsheetRows(headings, 0).rows.empty());
    EXPECT_EQ(ParseSpreadsheetRows("", 0).wrongLine, 0);
    EXPECT_EQ(Problem("a\t1\t2\t3\n" + headings), "Line 2: Velocity is not a number.") << "only a first line";
    EXPECT_EQ(Problem("cable name\tVelocity\tCable Loss\tFrequency(MHz)\n"), "Line 1: Velocity is not a number.");
}

TEST(SpreadsheetTextTest, EachWrongLineIsNamedWithWhatIsWrong) {
    using namespace QuorlisText;
    EXPECT_EQ(Problem("a\t1\t2\t3\nb\tfast\t2\t3\n"), "Line 2: Velocity is not a number.");
    EXPECT_EQ(Problem("a\t1\t,5\t3\n"), "Line 1: Cable Loss is not a number.");
    EXPECT_EQ(Problem("a\t1\t2\tinf\n"), "Line 1: Frequency is not a number.");
    EXPECT_EQ(Problem("a\t1\t2\t\n"), "Line 1: Frequency is not a number.");
    EXPECT_EQ(Problem("\t1\t2\t3\n"), "Line 1: Name is empty.");
    EXPECT_EQ(Problem("a\t1\t2\n"), "Line 1: "s + kWrongFieldCount + "3.");
    EXPECT_EQ(Problem("a\t1\t2\t3\t\n"), "Line 1: "s + kWrongFieldCount + "5.");
    EXPECT_EQ(Problem("a\t1\t2\t3\n\nb\t1\t2\t3\n"), "Line 2: "s + kWrongFieldCount + "1.");
    EXPECT_EQ(Problem("a\t1\t2\t3\n\"b\nc\"\t1\t2\t3\n"), "Line 2: "s + kLineBreakInField);
    EXPECT_EQ(Problem("\"b\rc\"\t1\t2\t3\n"), "Line 1: "s + kLineBreakInField);
    EXPECT_EQ(Problem("b\rc\t1\t2\t3\n"), "Line 1: "s + kLineBreakInField);
    EXPECT_EQ(Problem("\"b\0c\"\t1\t2\t3\n"s), "Line 1: "s + kZeroByteInField);
    EXPECT_EQ(Problem("b\t1\0\t2\t3\n"s), "Line 1: "s + kZeroByteInField);
    EXPECT_EQ(Problem("a\t1\t2\t3\n\"b\t1\t2\t3"), "Line 2: "s + kQuoteNotClosed);
    EXPECT_EQ(Problem("\"b\"x\t1\t2\t3\n"), "Line 1: "s + kTextAfterQuote);
    EXPECT_EQ(Problem("a\t1\t2\t3\nb\t1\t2\t3\nR?\t1\t2\t3\n", 3), "Line 3: "s + kUnconvertibleCharacter);
    EXPECT_EQ(Problem("a\tx\t2\t3\nR?\t1\t2\t3\n", 2), "Line 1: Velocity is not a number.") << "the first one";
}

// A quote inside an unquoted field is kept, as spreadsheets keep it; a field that only begins with
// white space before its quote is not quoted.
TEST(SpreadsheetTextTest, QuotesInsideAPlainFieldAreText) {
    const SSpreadsheetRows parsed = ParseSpreadsheetRows("5\" hard\t1\t2\t3\n \"x\"\t1\t2\t3\n", 0);
    ASSERT_EQ(parsed.rows.size(), 2u) << parsed.problem;
    EXPECT_EQ(parsed.rows[0][0], "5\" hard");
    EXPECT_EQ(parsed.rows[1][0], " \"x\"");
}

}  // namespace
