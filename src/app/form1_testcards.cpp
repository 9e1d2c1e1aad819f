// The test-card thumbnails: the bitmaps of the test-card folder, one at a time,
// chosen with the scroll bar beside the thumbnail.
#include <QDir>
#include <QScrollBar>
#include <QSignalBlocker>

#include "app/form1.h"
#include "picture/picture_files.h"
#include "picture/picture_view.h"
#include "settings/mode_presets.h"
#include "settings/settings_store.h"

namespace tonobild {

// The bitmaps of a folder, matched and sorted by name without regard to case.
QStringList testCardNames(const QString& folder)
{
    QDir dir(folder);
    dir.setNameFilters({QStringLiteral("*.bmp")});
    dir.setFilter(QDir::Files | QDir::Readable);
    dir.setSorting(QDir::Name | QDir::IgnoreCase);
    return dir.entryList();
}

// Shows the card at the scroll bar's position. Nothing here is reported: a
// folder or card that cannot be read leaves the thumbnail as it was.
void Form1::VScroll2_Change()
{
    const QString folder = QString::fromStdString(store_.read(kDirectoriesSection, kTestPatternKey, ""));
    if (folder.isEmpty())
        return;
    const QStringList names = testCardNames(folder);
    {
        const QSignalBlocker quiet(VScroll2);
        VScroll2->setMaximum(static_cast<int>(std::max<qsizetype>(1, names.size())));
    }
    const int position = VScroll2->value();
    const qsizetype index = std::max(position, 1) - 1;
    if (index >= names.size())
        return;
    const LoadedPicture card = loadPictureFile(QDir(folder).filePath(names.at(index)));
    if (!card.image.isNull()) {
        Image2->setImage(card.image);
        Image2->setToolTip(names.at(index));
        Image2->setAccessibleDescription(names.at(index));
    }
}

} // namespace tonobild
