// Entry point of the tests that drive real widgets: a QApplication on the
// offscreen platform, then every test case.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
