// Entry point of the tests that drive real widgets: a QApplication on the
// offscreen platform, then every test case. It ends as the station does,
// without the sound connection's tear-down at exit, which may abort in libpulse
// after every case has passed.
#include <gtest/gtest.h>

#include <QApplication>

#include "audio/sound_program_end.h"

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    tonobild::endSoundProgram(RUN_ALL_TESTS());
}
