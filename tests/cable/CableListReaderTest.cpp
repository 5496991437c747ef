#include "StreamingAgreement.h"

#include <gtest/gtest.h>

#include <clocale>

TEST(CableListReaderTest, StreamingAgreesWithWholeTextInTheCLocale) {
    std::setlocale(LC_CTYPE, "C");
    ExpectStreamingAgreesWithWholeText();
}
