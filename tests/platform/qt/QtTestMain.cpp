// Runs the tests on the Qt backend, offscreen unless told otherwise, in a UTF-8 character set.

#include "platform/qt/QtWindowing.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    std::setlocale(LC_CTYPE, "C.UTF-8");
    testing::InitGoogleTest(&argc, argv);
    CQtWindowing windowing(argc, argv);
    SetWindowing(&windowing);
    const int result = RUN_ALL_TESTS();
    SetWindowing(nullptr);
    return result;
}
