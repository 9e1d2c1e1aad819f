// "Record" and "Play" start the recorder program named in the settings store;
// what the recorder receives is shown by the launcher's own tests.
#include <gtest/gtest.h>

#include "support/window_test.h"

using namespace tonobild;
using Form1Audio = testdata::WindowTest;

TEST_F(Form1Audio, FailuresAreReportedAndTheButtonsStayEnabled)
{
    store.write("Settings", "Recorder", folder.filePath("no-such-recorder").toStdString());
    Form1 window(dialogs, store);
    window.Text2->setText(folder.filePath("missing/folder/x.wav"));
    window.Command7->click();
    window.Text2->setText(folder.filePath("x.wav"));
    window.Command8->click();
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_TRUE(dialogs.messages[0].text.contains("missing/folder/x.wav"));
    EXPECT_TRUE(dialogs.messages[1].text.contains("no-such-recorder"));
    for (QPushButton* command : {window.Command1, window.Command2, window.Command7, window.Command8})
        EXPECT_TRUE(command->isEnabled());
}
