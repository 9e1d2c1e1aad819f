#include "filedialog/file_selection_dialog.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "widgets/named_control.h"
#include "widgets/user_dialogs.h"
#include "picture/picture_files.h"
#include "picture/picture_view.h"

namespace tonobild {

namespace {

bool canEnter(const QString& folder)
{
    const QFileInfo info(folder);
    return info.isDir() && info.isReadable() && info.isExecutable();
}

} // namespace

Form2::Form2(UserDialogs& dialogs, QWidget* parent) : QWidget(parent, Qt::Window), dialogs_(dialogs)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("File Selection"));
    // The main window is hidden while the dialog is open: closing the dialog must not end the program.
    setAttribute(Qt::WA_QuitOnClose, false);
    buildControls();
    // The folder list starts at the home folder until a request moves it.
    folderListPath_ = QDir::cleanPath(QDir::homePath());
    fillFolderList();
}

void Form2::buildControls()
{
    Label4 = named(new QLabel(QStringLiteral("Look In:"), this), "Label4", QStringLiteral("Look In"));
    LookIn = named(new QLabel(this), "LookIn", QStringLiteral("Current folder"));
    Dir1 = named(new QListWidget(this), "Dir1", QStringLiteral("Folders"));
    List1 = named(new QListWidget(this), "List1", QStringLiteral("Files"));
    Label3 = named(new QLabel(QStringLiteral("File Name:"), this), "Label3", QStringLiteral("File Name"));
    Text1 = named(new QLineEdit(this), "Text1", QStringLiteral("File name"));
    Command1 = named(new QPushButton(QStringLiteral("OK"), this), "Command1", QStringLiteral("OK"));
    // A screen reader and voice control name the button as it is written.
    Command2 = named(new QPushButton(QStringLiteral("CANCEL"), this), "Command2", QStringLiteral("CANCEL"));
    homeButton = named(new QPushButton(QStringLiteral("Home"), this), "homeButton", QStringLiteral("Home folder"));
    homeButton->setToolTip(QStringLiteral("Go to your home folder"));
    homeButton->setAutoDefault(false);
    Image1 = named(new PictureView(this), "Image1", QStringLiteral("Bitmap preview"));
    Image1->setKeepAspect(true);
    Image1->setFixedSize(240, 180);
    Label3->setBuddy(Text1);
    Command1->setAutoDefault(false);
    Command2->setAutoDefault(false);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Label3);
    bottom->addWidget(Text1, 1);
    bottom->addWidget(Command1);
    bottom->addWidget(Command2);

    auto* grid = new QGridLayout(this);
    auto* lookIn = new QHBoxLayout;
    lookIn->addWidget(Label4);
    lookIn->addWidget(homeButton);
    grid->addLayout(lookIn, 0, 0);
    grid->addWidget(LookIn, 0, 1);
    grid->addWidget(Dir1, 1, 0);
    grid->addWidget(List1, 1, 1);
    grid->addLayout(bottom, 2, 0, 1, 2);
    grid->addWidget(Image1, 0, 2, 3, 1, Qt::AlignTop);
    resize(kNarrowWidth, 300);

    connect(Dir1, &QListWidget::itemActivated, this, &Form2::Dir1_DblClick);
    connect(homeButton, &QPushButton::clicked, this, [this] {
        moveFolderList(QDir::homePath());
    });
    connect(List1, &QListWidget::itemClicked, this, &Form2::List1_Click);
    connect(Text1, &QLineEdit::returnPressed, this, &Form2::Command1_Click);
    connect(Command1, &QPushButton::clicked, this, &Form2::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form2::Command2_Click);
}

void Form2::setExtension(const QString& extension)
{
    extension_ = extension;
    Label6_Change();
}

void Form2::setFolder(const QString& folder)
{
    folder_ = folder;
    Label5_Change();
}

// The current folder changed: the folder list follows it and the file list
// shows its files with the extension. An empty folder means the home folder.
void Form2::Label5_Change()
{
    if (folder_.isEmpty()) {
        setFolder(QDir::homePath());
        return;
    }
    moveFolderList(folder_);
    fillFileList();
}

// The folder list moved: it becomes the current folder, ending in "/".
void Form2::Dir1_Change()
{
    QString folder = folderListPath_;
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    if (folder != folder_)
        setFolder(folder);
}

// Bitmaps are chosen in the wide form with the preview; other files in the narrow one.
void Form2::Label6_Change()
{
    Image1->setVisible(choosesBitmaps());
    setFixedWidth(choosesBitmaps() ? kWideWidth : kNarrowWidth);
}

bool Form2::choosesBitmaps() const
{
    return extension_.compare(QLatin1String(".BMP"), Qt::CaseInsensitive) == 0;
}

void Form2::Dir1_DblClick(QListWidgetItem* item)
{
    if (item != nullptr)
        moveFolderList(item->data(Qt::UserRole).toString());
}

// Moves the folder list to a folder; a folder that cannot be entered is ignored.
void Form2::moveFolderList(const QString& folder)
{
    if (!canEnter(folder))
        return;
    const QString path = QDir::cleanPath(QDir(folder).absolutePath());
    if (path == folderListPath_)
        return;
    folderListPath_ = path;
    fillFolderList();
    Dir1_Change();
}

// ".." (except at the root), then the subfolders sorted by name without regard to case.
void Form2::fillFolderList()
{
    // A long folder is cut at the label's edge; the tooltip holds it whole.
    LookIn->setText(folderListPath_);
    LookIn->setToolTip(folderListPath_);
    LookIn->setAccessibleDescription(folderListPath_);
    Dir1->clear();
    QDir dir(folderListPath_);
    if (!dir.isRoot()) {
        auto* up = new QListWidgetItem(QStringLiteral(".."), Dir1);
        up->setData(Qt::UserRole, QDir::cleanPath(dir.filePath(QStringLiteral(".."))));
    }
    const QStringList names = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString& name : names) {
        auto* item = new QListWidgetItem(name, Dir1);
        item->setData(Qt::UserRole, dir.filePath(name));
    }
}

// The files of the current folder whose names end in the extension, matched
// without regard to case and shown in lower case; each entry keeps the name as
// the file system spells it.
void Form2::fillFileList()
{
    List1->clear();
    pickedName_.clear();
    pickedShown_.clear();
    QDir dir(folder_);
    if (!dir.exists())
        return;
    dir.setNameFilters({QStringLiteral("*") + extension_});
    dir.setFilter(QDir::Files);
    dir.setSorting(QDir::Name | QDir::IgnoreCase);
    for (const QString& name : dir.entryList()) {
        auto* item = new QListWidgetItem(name.toLower(), List1);
        item->setData(Qt::UserRole, name);
    }
}

// A file clicked: its name goes into the name box, and a bitmap is previewed.
// A bitmap that cannot be read leaves the previous preview.
void Form2::List1_Click(QListWidgetItem* item)
{
    if (item == nullptr)
        return;
    pickedName_ = item->data(Qt::UserRole).toString();
    pickedShown_ = item->text();
    Text1->setText(pickedShown_);
    if (!choosesBitmaps())
        return;
    const LoadedPicture loaded = loadPictureFile(QDir(folder_).filePath(pickedName_));
    if (!loaded.image.isNull())
        Image1->setImage(loaded.image);
}

// The name as the file system spells it when the box still shows the clicked
// entry; a typed name as typed.
QString Form2::chosenFileName() const
{
    const QString typed = Text1->text();
    if (!pickedName_.isEmpty() && typed == pickedShown_)
        return pickedName_;
    return typed;
}

void Form2::Command1_Click()
{
    if (Text1->text().isEmpty()) {
        dialogs_.message(this, QStringLiteral("No file selected"),
                         QStringLiteral("No file selected. Select a file, or click on cancel"));
        return;
    }
    // A name typed with its whole path is taken as it stands.
    if (QDir::isAbsolutePath(Text1->text())) {
        answer(Text1->text());
        return;
    }
    QString path = folderListPath_;
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    answer(path + chosenFileName());
}

void Form2::Command2_Click()
{
    answer(kCancelled);
}

void Form2::answer(const QString& result)
{
    result_ = result;
    emit answered();
}

void Form2::closeEvent(QCloseEvent* event)
{
    if (result_.isEmpty())
        Command2_Click();
    event->accept();
}

} // namespace tonobild
