// The main window: construction, start-up, closing, and the reactions that
// tie controls together (the line sync interlock, the resolution options, the
// audio file name rule, the Sync Level read-out).
#include "app/form1.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QShortcut>

#include "common/pass_progress.h"
#include "family/own_controls.h"
#include "widgets/check_values.h"
#include "widgets/user_dialogs.h"
#include "picture/picture_files.h"
#include "picture/picture_view.h"
#include "picture/test_cards.h"
#include "settings/mode_presets.h"
#include "settings/settings_store.h"

namespace tonobild {

QString defaultAudioFileName()
{
    return QDir::homePath() + QStringLiteral("/TONOBILD.WAV");
}

QString defaultOutputPictureName()
{
    return QDir::homePath() + QStringLiteral("/TONOBILD.BMP");
}

Form1::Form1(UserDialogs& dialogs, SettingsStore& store, QWidget* parent)
    : QWidget(parent), dialogs_(dialogs), store_(store)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Tonobild 3"));
    setAccessibleName(QStringLiteral("Tonobild 3"));
    buildControls();
    clearPassProgress();
    Text2->setText(defaultAudioFileName());
    Text3->setText(defaultOutputPictureName());
    Text4->setText(defaultInputPicture());
    collectNumberedControls();
    connectReactions();
    Picture3->setImage(whiteCard());
    lastRepaint_.start();
}

// Listening stops while the window is still whole: a transmission coming in
// is kept, and the decode's last word on "LIC Lock" reaches this window, not
// one whose host part is already gone.
Form1::~Form1()
{
    delete listenPanel;
}

void Form1::collectNumberedControls()
{
    options_ = {nullptr, Option1, Option2, Option3, Option4, Option5, Option6, Option7, Option8, Option9,
                Option10, Option11, Option12, Option13, Option14, Option15, Option16, Option17, Option18,
                Option19, Option20, Option21, Option22, Option23, Option24, Option25, Option26, Option27};
    checks_ = {nullptr, Check1, Check2, Check3, Check4, Check5, Check6, Check7, Check8, Check9, Check10, Check11};
}

void Form1::onSelected(QRadioButton* option, void (Form1::*reaction)())
{
    connect(option, &QRadioButton::toggled, this, [this, reaction](bool selected) {
        if (selected)
            (this->*reaction)();
    });
}

void Form1::connectReactions()
{
    connect(Check1, &QCheckBox::stateChanged, this, &Form1::Check1_Click);
    connect(Check3, &QCheckBox::stateChanged, this, &Form1::Check3_Click);
    connect(VScroll1, &QScrollBar::valueChanged, this, &Form1::VScroll1_Change);
    connect(VScroll2, &QScrollBar::valueChanged, this, &Form1::VScroll2_Change);
    connect(Text2, &QLineEdit::textChanged, this, &Form1::Text2_Change);
    onSelected(Option1, &Form1::Option1_Click);
    onSelected(Option2, &Form1::Option2_Click);
    onSelected(Option3, &Form1::Option3_Click);
    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(Check9, &QCheckBox::stateChanged, this, [this] { encoderControls_ = numberedEncoderControls(*this); });
    connectOptionReactions();
    connectPresetReactions();
    connectPictureReactions();
    connectDecodeReactions();
    connectAudioReactions();
    connectSourceReactions();
    connectSendReactions();
    addCommandShortcuts();
}

// The main commands from the keyboard; the shortcut clicks the button, so a
// disabled command stays disabled.
void Form1::addCommandShortcuts()
{
    const std::pair<QPushButton*, QKeySequence> shortcuts[] = {
        {Command1, QKeySequence(Qt::CTRL | Qt::Key_E)}, {Command2, QKeySequence(Qt::CTRL | Qt::Key_D)},
        {Command4, QKeySequence(Qt::Key_Escape)},       {Command7, QKeySequence(Qt::CTRL | Qt::Key_R)},
        {Command8, QKeySequence(Qt::CTRL | Qt::Key_P)}, {Command11, QKeySequence(Qt::CTRL | Qt::Key_O)},
        {Command9, QKeySequence(Qt::CTRL | Qt::Key_S)}, {Command10, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V)},
        {Command12, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C)}, {viewButton, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F)}};
    for (const auto& [command, keys] : shortcuts) {
        auto* shortcut = new QShortcut(keys, this);
        connect(shortcut, &QShortcut::activated, command, &QPushButton::animateClick);
        command->setToolTip(QStringLiteral("%1 (%2)").arg(command->text(), keys.toString(QKeySequence::NativeText)));
        command->setAccessibleDescription(command->toolTip());
    }
}

// Start-up, in its fixed order.
void Form1::Form_Load()
{
    startUp(state_);
    timecalc();
    for (const std::string& problem : readSendSettings(store_).problems)
        dialogs_.message(this, QStringLiteral("Send settings"), QString::fromStdString(problem) + '.');
    verno->setText(QStringLiteral(TONOBILD_VERSION_STRING));

    std::string testCards = store_.read(kDirectoriesSection, kTestPatternKey, "");
    if (testCards.empty()) {
        QString answer = dialogs_.askText(this, QStringLiteral("Testcard location"),
                                          QStringLiteral("Please enter the directory where the testcards are "
                                                         "located\r\nPlease Leave Blank to not display"));
        if (!answer.isEmpty() && !answer.endsWith(QLatin1Char('/')))
            answer += QLatin1Char('/');
        testCards = answer.toStdString();
        store_.write(kDirectoriesSection, kTestPatternKey, testCards);
        reportSettingsProblem();
    }
    if (!testCards.empty())
        VScroll2_Change();

    Picture2->setImage(crossCard());
    selectStoredMode();
    Option1_Click();
}

QImage Form1::crossCard()
{
    QImage card(160, 120, QImage::Format_RGB32);
    card.fill(Qt::black);
    for (int x = 0; x <= 160 && x < card.width(); ++x)
        card.setPixel(x, 100, qRgb(255, 255, 255));
    for (int y = 0; y <= 120 && y < card.height(); ++y)
        card.setPixel(100, y, qRgb(255, 255, 255));
    return card;
}

QImage Form1::whiteCard()
{
    QImage card(160, 120, QImage::Format_RGB32);
    card.fill(Qt::white);
    return card;
}

void Form1::closeEvent(QCloseEvent* event)
{
    // Closing is never refused: whatever runs stops at its next yield, and the program ends.
    closing_ = true;
    event->accept();
    emit programEnding();
}

void Form1::Check1_Click()
{
    Check3->setEnabled(isTicked(Check1));
    Check5->setEnabled(false);
    if (isTicked(Check1))
        Check3_Click();
}

void Form1::Check3_Click()
{
    Check5->setEnabled(isTicked(Check3));
}

void Form1::Option1_Click()
{
    picture_.resize(160, 120);
}

void Form1::Option2_Click()
{
    picture_.resize(320, 240);
}

void Form1::Option3_Click()
{
    picture_.resize(640, 480);
}

void Form1::Text2_Change()
{
    if (Text2->text().isEmpty())
        Text2->setText(defaultAudioFileName());
}

void Form1::VScroll1_Change()
{
    Label10->setText(QString::number(VScroll1->value()));
}

// Encode, Decode, Record and Play are off while Encode or Decode runs. So are
// the buttons that open a dialog: a dialog hides the main window and waits in
// an event loop of its own, which must not nest inside a running command.
void Form1::setCommandsEnabled(bool enabled)
{
    for (QPushButton* command : {Command1, Command2, Command7, Command8, Command14, Command16, Command17, Command18,
                                 Command19, transmitterButton})
        command->setEnabled(enabled);
}

bool Form1::yieldAtProgressPoint()
{
    QCoreApplication::processEvents();
    return !closing_;
}

void Form1::countProgressStep()
{
    Label9->setText(QString::number(Label9->text().toInt() + 1));
}

void Form1::showPassProgress(const PassProgress& progress)
{
    const QString caption = QString::fromStdString(progress.caption);
    passProgress->setFormat(caption);
    passProgress->setAccessibleDescription(caption);
    passProgress->setRange(0, progress.maximum);
    passProgress->setValue(progress.value);
}

void Form1::clearPassProgress()
{
    passProgress->setRange(0, 1);
    passProgress->setValue(0);
    passProgress->setFormat(QString());
    passProgress->setAccessibleDescription(QString());
}

void Form1::reportSettingsProblem()
{
    const std::string problem = store_.takeWriteProblem();
    if (!problem.empty())
        dialogs_.message(this, QStringLiteral("Settings not saved"),
                         QStringLiteral("The settings cannot be saved to %1").arg(QString::fromStdString(problem)));
}

void Form1::setSignatureText(const QString& text)
{
    signature->setText(text);
    state_.signature = text.toLatin1().toStdString();
}

} // namespace tonobild
