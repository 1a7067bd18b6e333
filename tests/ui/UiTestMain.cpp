// The window tests' entry point: GoogleTest with one QApplication for all
// tests. Listing the tests (as test discovery does at build time) needs no
// application, so it works without any display.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) {
        return RUN_ALL_TESTS();
    }
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
