#include "ReadsAgainstModel.h"

#include "cable/CableListFile.h"
#include "cable/CableListReader.h"
#include "cable/CableTable.h"

#include "DoubleByteCases.h"
#include "ReaderModel.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <string_view>
#include <vector>

using namespace std::literals;

namespace {

// Hand-made texts: each stresses one rule of the reader.
std::vector<std::string> ChosenTexts() {
    return {
        kDoubleByteList,
        "/*!!!DO NOT MODIFY!!!!*/\r\n[CableList] Version=1 CableCount=2\r\nCableName1 = RG58\r\n"
        "Velocity1 = 0.66\r\nCableLoss1 =  0.5 \r\nFrequency1 = 100\r\nCableName2 =\r\nVelocity2 = \r\n"
        "CableLoss2 = a=b\r\nFrequency2 = \xA0\r\n",
        "h\nx Velocity\ny CableName\nz CableLoss\nw Frequency",
        "\n\n\r\nCableName0 = set aside\n\nCableName1 RG58\n  Velocity1 = v  \nCableLoss1 =\nFrequency1 = f\n",
        "CableName1 = first line\nVelocity1 = a\nCableLoss1 = b\nFrequency1 = c\n",
        "h\nCableName1 = a\nVelocity1 = b\0\nCableLoss1 = c\nFrequency1 = d\n"s,
        "h\nCableName1 = a\nVelocity1 = b\nCableLoss1 = c\nFrequency1 = d\0CableName2 = e\n"s,
        "h\nCableName1 = " + std::string(300, 'n') +
            " Velocity\nVelocity1 = \x81\nCableLoss1 = \x81\x43\n"
            "Frequency1 = " +
            std::string(200, '\xA1') + "\x81",
        "h\n\x81Velocity1 = hidden\nVelocity1 = \x81\x81Velocity\n\x8F\xA1\xA1"
        "CableName\n\x8F\nFrequency\n",
        "h\n\xE7\x94\xB5"
        "CableName = \xE7\x94\xB5\n\xE7\x94\nVelocity = \xE7\nCableLoss=\x81=\x81\n\x81\nFrequency",
    };
}

// Texts put together at random from pieces that matter to the reader.
std::vector<std::string> RandomTexts() {
    static const std::string_view pieces[] = {
        "CableName", "Velocity", "CableLoss", "Frequency",    "Velocit",      "=",    " ",
        "  ",        "\n",       "\n\n",      "\r",           "\t",           "x",    "1",
        "\x81",      "\x81\x43", "\xA1\xA1",  "\x8F\xA1\xA1", "\xE7\x94\xB5", "\xA0", "\0"sv};
    std::mt19937 random(5);
    std::vector<std::string> texts;
    for (int count = 0; count < 300; ++count) {
        std::string text;
        const int length = static_cast<int>(random() % 60);
        for (int piece = 0; piece < length; ++piece) {
            // Zero bytes are rare, so that most texts are read to their end.
            std::string_view chosen = pieces[random() % std::size(pieces)];
            text.append(chosen == "\0"sv && random() % 4 != 0 ? "\n"sv : chosen);
        }
        texts.push_back(std::move(text));
    }
    return texts;
}

struct SExpected {
    int result;
    ModelCells cells;
};

SExpected ModelOf(const std::string& text) {
    SExpected expected{};
    expected.cells = ModelRows(text, expected.result);
    return expected;
}

// The whole-text functions, given the text up to its first zero byte as the file layer gives it.
void ExpectWholeTextReading(const std::string& text, const SExpected& expected) {
    const std::string_view untilZero(text.c_str(), std::strlen(text.c_str()));
    CCableTable table;
    const int result = FillCableTable(SplitCableLines(untilZero), table);
    ASSERT_EQ(result, expected.result) << "whole text: " << text;
    if (result > 0) {
        ASSERT_EQ(CellsOf(table), expected.cells) << "whole text: " << text;
    }
}

void ExpectStreaming(const std::string& text, std::size_t bufferSize, std::size_t readSize, const SExpected& expected) {
    CCableTable rows;
    const int result = ReadInPieces(text, bufferSize, readSize, rows);
    ASSERT_EQ(result, expected.result) << "buffer " << bufferSize << ", reads of " << readSize << ": " << text;
    if (result > 0) {
        ASSERT_EQ(CellsOf(rows), expected.cells)
            << "buffer " << bufferSize << ", reads of " << readSize << ": " << text;
    }
}

}  // namespace

int ReadInPieces(const std::string& text, std::size_t bufferSize, std::size_t readSize, CCableTable& rows) {
    std::size_t offset = 0;
    const CCableListReader::TextSource source = [&](char* buffer, std::size_t size) {
        const std::size_t count = std::min({size, readSize, text.size() - offset});
        std::memcpy(buffer, text.data() + offset, count);
        offset += count;
        return count;
    };
    return CCableListReader(bufferSize).ReadRows(source, rows);
}

void ExpectReadsMakeTheModelsRows() {
    std::vector<std::string> texts = ChosenTexts();
    const std::vector<std::string> random = RandomTexts();
    texts.insert(texts.end(), random.begin(), random.end());
    const std::size_t bufferSizes[] = {1, 2, 3, 5, 8, 13, 64, CCableListReader::kBufferSize};
    const std::size_t readSizes[] = {1, 2, 3, 7, static_cast<std::size_t>(-1)};
    for (const std::string& text : texts) {
        const SExpected expected = ModelOf(text);
        ExpectWholeTextReading(text, expected);
        if (testing::Test::HasFatalFailure()) return;
        for (std::size_t bufferSize : bufferSizes) {
            for (std::size_t readSize : readSizes) {
                ExpectStreaming(text, bufferSize, readSize, expected);
                if (testing::Test::HasFatalFailure()) {
                    return;
                }
            }
        }
    }
}
