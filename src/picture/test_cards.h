// The test cards the station ships: pictures drawn by the station itself
// (colour bars, grey step wedges, resolution charts, a portrait and a scene),
// written as bitmaps into the test-card folder that is installed with it.
#pragma once

#include <QImage>
#include <QString>
#include <vector>

namespace tonobild {

struct TestCard {
    QString fileName; // as written into the folder, e.g. "BARS160.BMP"
    QImage image;     // 160 x 120 or 320 x 240
};

// Eight vertical bars: white, yellow, cyan, green, magenta, red, blue, black.
QImage colourBars(int width, int height);
// Vertical grey steps from black at the left to white at the right.
QImage greyWedge(int width, int height, int steps);
// Line groups of falling spacing, a circle, diagonals and a centre cross on white.
QImage resolutionChart(int width, int height);
// A face with hair, eyes, nose, mouth and shoulders before a blue background.
QImage portrait(int width, int height);
// A house with a tree under the sun, on green hills below a blue sky.
QImage scene(int width, int height);

// Every card the station ships, in the order of their file names.
std::vector<TestCard> testCards();

// Writes every card into the folder, creating it when needed. Answers an empty
// text on success, else the file and the reason.
QString writeTestCards(const QString& folder);

// The installed test-card folder: share/tonobild/testcards beside the program's
// bin folder when it exists, else the folder the build made.
QString installedTestCardFolder();

// The card that the input picture box names when the window opens.
QString defaultInputPicture();

} // namespace tonobild
