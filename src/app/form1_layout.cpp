// The main window's controls: their names, captions, start states and frames.
#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QComboBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "widgets/clickable_label.h"
#include "app/form1.h"
#include "app/help_texts.h"
#include "widgets/named_control.h"
#include "widgets/value_label.h"
#include "receiver/reception_panel.h"
#include "picture/picture_view.h"

namespace tonobild {

namespace {

QPushButton* button(const char* name, const QString& caption, const QString& accessibleName = {})
{
    return named(new QPushButton(caption), name, accessibleName.isEmpty() ? caption : accessibleName);
}

QCheckBox* checkBox(const char* name, const QString& caption, bool ticked)
{
    auto* box = named(new QCheckBox(caption), name, caption);
    box->setChecked(ticked);
    return box;
}

QRadioButton* optionButton(const char* name, const QString& caption, const QString& accessibleName = {})
{
    return named(new QRadioButton(caption), name, accessibleName.isEmpty() ? caption : accessibleName);
}

QLabel* label(const char* name, const QString& text, const QString& accessibleName = {})
{
    return named(new QLabel(text), name, accessibleName.isEmpty() ? text : accessibleName);
}

// A read-out: marked before it is named, so that a screen reader is given its value from the start.
template <typename Label = ValueLabel>
QLabel* valueLabel(const char* name, const QString& text, const QString& accessibleName)
{
    auto* label = new Label(text);
    markAsValueLabel(label);
    return named(label, name, accessibleName);
}

// A fixed help text, wrapped at a fixed width. The window's layout cannot ask a
// wrapped label for its height, so the label reserves what its lines need.
QLabel* helpLabel(const char* name, const std::string& text, const QString& accessibleName, int width)
{
    auto* help = label(name, QString::fromStdString(text), accessibleName);
    help->setWordWrap(true);
    help->setTextFormat(Qt::PlainText);
    help->setAccessibleDescription(help->text());
    help->setFixedWidth(width);
    help->setMinimumHeight(help->heightForWidth(width));
    return help;
}

QGroupBox* frame(const QString& caption, const char* name = nullptr)
{
    auto* box = new QGroupBox(caption);
    box->setObjectName(name ? QLatin1String(name) : caption);
    box->setAccessibleName(caption);
    return box;
}

QButtonGroup* group(QObject* owner, std::initializer_list<QRadioButton*> options)
{
    auto* buttons = new QButtonGroup(owner);
    for (QRadioButton* o : options)
        buttons->addButton(o);
    return buttons;
}

PictureView* pictureView(const char* name, const QString& accessibleName, QSize size)
{
    auto* view = named(new PictureView, name, accessibleName);
    view->setFixedSize(size);
    return view;
}

// Each mode button in its own row of the panel, its phrase of the legend beside
// it; the button's name is its tooltip and the phrase its description.
QGridLayout* modeLegend(std::initializer_list<QRadioButton*> modes)
{
    auto* panel = new QGridLayout;
    panel->setColumnStretch(2, 1);
    int row = 0;
    for (QRadioButton* mode : modes) {
        const std::string& phrase = help::modeLegendPhrases().at(static_cast<std::size_t>(row));
        QLabel* legend = helpLabel("", phrase, mode->accessibleName() + " resolution", 300);
        legend->setObjectName(mode->objectName() + "Legend");
        legend->setBuddy(mode);
        mode->setToolTip(mode->accessibleName());
        mode->setAccessibleDescription(legend->text());
        panel->addWidget(mode, row, 0, Qt::AlignTop);
        panel->addWidget(legend, row, 1);
        ++row;
    }
    return panel;
}

// A view in a scroll area of its own: a window too small for the view
// scrolls it; a window of its natural size shows all of it.
class ViewArea final : public QScrollArea {
public:
    explicit ViewArea(QWidget* view)
    {
        setWidget(view);
        setWidgetResizable(true);
        setFrameShape(QFrame::NoFrame);
    }
    QSize sizeHint() const override { return widget()->sizeHint(); }
};

QScrollArea* scrolled(QWidget* view)
{
    return new ViewArea(view);
}

QHBoxLayout* row(std::initializer_list<QWidget*> widgets)
{
    auto* layout = new QHBoxLayout;
    for (QWidget* w : widgets)
        layout->addWidget(w);
    return layout;
}

} // namespace

// The working picture and the mode buttons on the left, in sight in every
// view; the views on the right, with the audio file and the progress under
// them; a view scrolls when the window is too small for it.
void Form1::buildControls()
{
    auto* columns = new QHBoxLayout(this);
    columns->setSizeConstraint(QLayout::SetMinimumSize); // never squeeze the preview or the thumbnails
    columns->addWidget(buildPictureColumn());
    QWidget* send = buildSendView();
    QWidget* fileAndProgress = buildFileAndProgressBar();
    QWidget* decoderOptions = buildDecoderOptionsView();
    listenPanel = new ListenPanel(*this, store_);
    views = named(new QTabWidget, "views", QStringLiteral("Views"));
    views->addTab(scrolled(send), QStringLiteral("&Send"));
    views->addTab(scrolled(listenPanel), QStringLiteral("&Receive"));
    views->addTab(scrolled(decoderOptions), QStringLiteral("&Decoder options"));
    auto* right = new QVBoxLayout;
    right->addWidget(views, 1);
    right->addWidget(fileAndProgress);
    columns->addLayout(right, 1);
    buildHiddenControls();
}

// Controls that exist and keep their values but are never shown.
void Form1::buildHiddenControls()
{
    auto* hidden = new QWidget(this);
    hidden->setObjectName(QStringLiteral("hiddenControls"));
    auto* hiddenLayout = new QVBoxLayout(hidden);
    Command3 = button("Command3", QStringLiteral("Res detect"));
    Check6 = checkBox("Check6", QStringLiteral("Headerless (Encode only setting)"), false);
    Check7 = checkBox("Check7", QStringLiteral("R+B HalfX"), false);
    signature = label("signature", QString(), QStringLiteral("Signature text"));
    auto* nrMethod = frame(QStringLiteral("NR Method"));
    Option4 = optionButton("Option4", QStringLiteral("None"), QStringLiteral("NR Method None"));
    Option5 = optionButton("Option5", QStringLiteral("Active Norm"));
    nrMethod->setLayout(row({Option4, Option5}));
    auto* timeReduction = frame(QStringLiteral("Time Reduction"));
    Option8 = optionButton("Option8", QStringLiteral("None"), QStringLiteral("Time Reduction None"));
    Option9 = optionButton("Option9", QStringLiteral("Mono Image"));
    timeReduction->setLayout(row({Option8, Option9}));
    auto* leader = frame(QStringLiteral("Leader"));
    Option10 = optionButton("Option10", QStringLiteral("Tonobild 1 (None)"));
    Option11 = optionButton("Option11", QStringLiteral("Tonobild 2/3"));
    leader->setLayout(row({Option10, Option11}));
    for (QWidget* w : std::initializer_list<QWidget*>{Command3, Check6, Check7, signature, nrMethod, timeReduction, leader})
        hiddenLayout->addWidget(w);
    hidden->hide();
    group(this, {Option4, Option5});
    group(this, {Option8, Option9});
    group(this, {Option10, Option11});
    Option5->setChecked(true);
    Option8->setChecked(true);
    Option10->setChecked(true);
}

QWidget* Form1::buildPictureColumn()
{
    auto* column = new QWidget;
    auto* layout = new QVBoxLayout(column);

    Frame7 = frame(QStringLiteral("Working Panel"), "Frame7");
    Option15 = optionButton("Option15", QString(), QStringLiteral("FM mode"));
    Option16 = optionButton("Option16", QString(), QStringLiteral("CB mode"));
    Option25 = optionButton("Option25", QString(), QStringLiteral("HAM mode"));
    Option26 = optionButton("Option26", QString(), QStringLiteral("TAPE mode"));
    Option27 = optionButton("Option27", QString(), QStringLiteral("HIRES mode"));
    group(this, {Option15, Option16, Option25, Option26, Option27});
    Label6 = label("Label6", QString::fromStdString(help::modeLegendHeading()),
                   QStringLiteral("Standard resolutions of the modes"));
    Command13 = button("Command13", QStringLiteral("Save Settings to selected mode"));
    Command15 = button("Command15", QStringLiteral("Reset selected Settings"));
    auto* panel = new QGridLayout(Frame7);
    panel->addWidget(Label6, 0, 0, 1, 2);
    panel->addLayout(modeLegend({Option15, Option16, Option25, Option26, Option27}), 1, 0, 1, 2);
    panel->addLayout(row({Command13, Command15}), 2, 0, 1, 2);

    Picture1 = named(new PictureView, "Picture1", QStringLiteral("Working picture"));
    Picture1->setKeepAspect(true);
    Picture1->setMinimumSize(320, 240);
    Picture1->hide();

    auto* preview = frame(QStringLiteral("Picture Last Decoded/Picture to be transmitted"));
    Image1 = pictureView("Image1", QStringLiteral("Preview of the working picture"), QSize(320, 240));
    Label15 = valueLabel<ClickableLabel>("Label15", QString(), QStringLiteral("Signature read-out"));
    Label15->setMinimumHeight(36);
    Label15->setTextInteractionFlags(Qt::TextSelectableByMouse);
    viewButton = button("viewButton", QStringLiteral("View"), QStringLiteral("View the working picture at full size"));
    auto* previewLayout = new QVBoxLayout(preview);
    previewLayout->addWidget(Image1);
    previewLayout->addLayout(row({Label15, viewButton}));

    layout->addWidget(Frame7);
    layout->addWidget(Picture1, 1);
    layout->addWidget(preview);
    layout->addStretch();
    return column;
}

// "Send": the signal and what goes into it, the picture's sources, the
// caption, Encode and Play with the transmitter.
QWidget* Form1::buildSendView()
{
    Command1 = button("Command1", QStringLiteral("Encode"));
    Command8 = button("Command8", QStringLiteral("Play"));
    transmitterButton = button("transmitterButton", QStringLiteral("Transmitter..."));
    auto* signal = new QVBoxLayout;
    signal->addWidget(buildSignalFrame());
    signal->addLayout(row({Command1, Command8, transmitterButton}));
    signal->addStretch();

    Command10 = button("Command10", QStringLiteral("Load from Clipboard"));
    Command20 = button("Command20", QStringLiteral("Digital Encode"));
    Command19 = button("Command19", QStringLiteral("Digital Signing options"));
    Command22 = button("Command22", QStringLiteral("First - Time Guide"));
    auto* picture = new QVBoxLayout;
    picture->addWidget(buildThumbnailFrame());
    picture->addWidget(Command10);
    picture->addWidget(buildCaptionFrame());
    picture->addLayout(row({Command20, Command19}));
    picture->addWidget(Command22);
    picture->addStretch();

    auto* view = new QWidget;
    auto* columns = new QHBoxLayout(view);
    columns->addLayout(signal);
    columns->addLayout(picture);
    return view;
}

// The audio file, and where Encode, Decode and Play stand: under every view.
QWidget* Form1::buildFileAndProgressBar()
{
    Label2 = label("Label2", QStringLiteral("Audio File Name:"));
    Text2 = named(new QLineEdit, "Text2", QStringLiteral("Audio File Name:"));
    Command17 = button("Command17", QStringLiteral("-"), QStringLiteral("Browse for the audio file"));
    Command17->setFixedWidth(28);
    Label2->setBuddy(Text2);
    playerWavBox = named(new QCheckBox(QStringLiteral("Also write a WAV for other players")), "playerWavBox",
                         QStringLiteral("Also write a WAV for other players"));
    playerWavBox->setToolTip(QStringLiteral(
        "Encode also writes NAME-player.WAV: each sample held 4 times at 44100 (6 times at 48000 when Slow), "
        "which other players and sound servers pass unharmed. Play keeps playing the audio file itself."));
    playerWavBox->setAccessibleDescription(playerWavBox->toolTip());
    Command4 = button("Command4", QStringLiteral("STOP"));
    Label9 = valueLabel("Label9", QStringLiteral("0"), QStringLiteral("Progress"));
    Label9->setMinimumWidth(40);
    passProgress = named(new QProgressBar, "passProgress", QStringLiteral("Progress of the transmission"));
    auto* bar = new QWidget;
    auto* layout = new QGridLayout(bar);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Label2, 0, 0);
    layout->addLayout(row({Text2, Command17}), 0, 1);
    layout->addWidget(playerWavBox, 0, 2, 1, 2);
    layout->addWidget(passProgress, 1, 0, 1, 2);
    layout->addWidget(Label9, 1, 2);
    layout->addWidget(Command4, 1, 3);
    layout->setColumnStretch(1, 1);
    return bar;
}

// "Decoder options": Decode and Record, and every setting of the own format's decoder.
QWidget* Form1::buildDecoderOptionsView()
{
    Command2 = button("Command2", QStringLiteral("Decode"));
    Command7 = button("Command7", QStringLiteral("Record"));
    receptionPanel = new ReceptionPanel(dialogs_, {Option1, Option2, Option3, Check2, Check9, Text2});
    auto* decode = new QVBoxLayout;
    decode->addLayout(row({Command2, Command7}));
    decode->addWidget(receptionPanel);
    decode->addWidget(buildReceptionColumn());

    Command9 = button("Command9", QStringLiteral("Save to file"));
    Command12 = button("Command12", QStringLiteral("Save to clipboard"));
    Command21 = button("Command21", QStringLiteral("Digital Decode"));
    auto* help = new QVBoxLayout;
    addOutputPictureBox(help);
    help->addLayout(row({Command9, Command12}));
    help->addWidget(Command21);
    Label7 = helpLabel("Label7", help::receptionProblems(), QStringLiteral("Help with reception problems"), 370);
    Label8 = helpLabel("Label8", help::howToUse(), QStringLiteral("How to use"), 370);
    Label11 = helpLabel("Label11", help::credits(), QStringLiteral("Credits"), 370);
    verno = valueLabel("verno", QStringLiteral("0"), QStringLiteral("Version"));
    for (QWidget* w : std::initializer_list<QWidget*>{Label7, Label8})
        help->addWidget(w);
    help->addStretch();
    help->addWidget(Label11);
    help->addWidget(verno);

    auto* view = new QWidget;
    auto* columns = new QHBoxLayout(view);
    columns->addLayout(decode);
    columns->addLayout(help);
    return view;
}

// "Output Pic File Name:" with its browse button.
void Form1::addOutputPictureBox(QVBoxLayout* layout)
{
    Label3 = label("Label3", QStringLiteral("Output Pic File Name:"));
    Text3 = named(new QLineEdit, "Text3", QStringLiteral("Output Pic File Name:"));
    Command18 = button("Command18", QStringLiteral("-"), QStringLiteral("Browse for the output picture file"));
    Command18->setFixedWidth(28);
    Label3->setBuddy(Text3);
    layout->addWidget(Label3);
    layout->addLayout(row({Text3, Command18}));
}

// The signal sent: the station's own format with its resolutions, or a standard
// mode with its duration; the FSK identification of a standard one.
QGroupBox* Form1::buildSignalFrame()
{
    auto* signal = frame(QStringLiteral("Signal"), "signalFrame");
    ownSignal = optionButton("ownSignal", QStringLiteral("Tonobild, the station's own format"));
    standardSignal = optionButton("standardSignal", QStringLiteral("Standard mode:"));
    group(this, {ownSignal, standardSignal});
    ownSignal->setChecked(true);
    Check2 = checkBox("Check2", QStringLiteral("Half X"), false);
    Check9 = checkBox("Check9", QStringLiteral("Compand"), false);
    Check10 = checkBox("Check10", QStringLiteral("Slow"), false);
    standardModeBox = named(new QComboBox, "standardMode", QStringLiteral("Standard mode"));
    standardDuration = valueLabel("standardDuration", QString(), QStringLiteral("Duration in the standard mode"));
    fskIdBox = checkBox("fskIdBox", QStringLiteral("Send FSK ID"), false);
    fskIdBox->setToolTip(QStringLiteral("Send the callsign as FSK identification after a standard transmission"));
    callsignBox = named(new QLineEdit, "callsign", QStringLiteral("Callsign"));
    callsignBox->setPlaceholderText(QStringLiteral("callsign"));
    auto* layout = new QVBoxLayout(signal);
    layout->addWidget(ownSignal);
    layout->addWidget(buildResolutionFrame());
    layout->addLayout(row({Check2, Check9, Check10}));
    layout->addLayout(row({standardSignal, standardModeBox}));
    layout->addWidget(standardDuration);
    layout->addLayout(row({fskIdBox, callsignBox}));
    return signal;
}

// The caption drawn on the picture before it is sent.
QGroupBox* Form1::buildCaptionFrame()
{
    auto* caption = frame(QStringLiteral("Caption"), "captionFrame");
    auto* layout = new QGridLayout(caption);
    for (int i = 0; i < 2; ++i) {
        const QString name = QStringLiteral("Caption line %1").arg(i + 1);
        captionLines[i] = named(new QLineEdit, i == 0 ? "captionLine1" : "captionLine2", name);
        QLabel* line = label("", QStringLiteral("Line %1:").arg(i + 1));
        line->setBuddy(captionLines[i]);
        layout->addWidget(line, i, 0);
        layout->addWidget(captionLines[i], i, 1, 1, 3);
    }
    captionPlace = named(new QComboBox, "captionPlace", QStringLiteral("Caption place"));
    captionPlace->addItems({QStringLiteral("Top"), QStringLiteral("Bottom")});
    captionColour = named(new QComboBox, "captionColour", QStringLiteral("Caption colour"));
    for (const CaptionColour& colour : kCaptionColours)
        captionColour->addItem(QString::fromLatin1(colour.name), colour.colour);
    QLabel* place = label("", QStringLiteral("Place:"));
    QLabel* colour = label("", QStringLiteral("Colour:"));
    place->setBuddy(captionPlace);
    colour->setBuddy(captionColour);
    layout->addWidget(place, 2, 0);
    layout->addWidget(captionPlace, 2, 1);
    layout->addWidget(colour, 2, 2);
    layout->addWidget(captionColour, 2, 3);
    return caption;
}

// The resolution options, each with the duration estimate beside it.
QGroupBox* Form1::buildResolutionFrame()
{
    auto* resolution = frame(QStringLiteral("Resolution"));
    Option1 = optionButton("Option1", QStringLiteral("130x110"));
    Option2 = optionButton("Option2", QStringLiteral("290x230"));
    Option3 = optionButton("Option3", QStringLiteral("610x470"));
    group(this, {Option1, Option2, Option3});
    Option1->setChecked(true);
    Label12 = valueLabel<ClickableLabel>("Label12", QStringLiteral("~1 Sec"), QStringLiteral("Duration at 160x120"));
    Label13 = valueLabel<ClickableLabel>("Label13", QStringLiteral("~1 Sec"), QStringLiteral("Duration at 320x240"));
    Label14 = valueLabel<ClickableLabel>("Label14", QStringLiteral("~1 Sec"), QStringLiteral("Duration at 640x480"));
    auto* resolutionLayout = new QGridLayout(resolution);
    resolutionLayout->addWidget(Option1, 0, 0);
    resolutionLayout->addWidget(Label12, 0, 1);
    resolutionLayout->addWidget(Option2, 1, 0);
    resolutionLayout->addWidget(Label13, 1, 1);
    resolutionLayout->addWidget(Option3, 2, 0);
    resolutionLayout->addWidget(Label14, 2, 1);
    return resolution;
}

QWidget* Form1::buildReceptionColumn()
{
    auto* column = new QWidget;
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);

    Check1 = checkBox("Check1", QStringLiteral("HSync"), true);
    Check3 = checkBox("Check3", QStringLiteral("Use LIC"), true);
    Check5 = checkBox("Check5", QStringLiteral("LIC Lock"), true);
    Check8 = checkBox("Check8", QStringLiteral("Idler"), false);
    Check11 = checkBox("Check11", QStringLiteral("Third"), false);
    layout->addLayout(row({Check1, Check3, Check5}));
    layout->addLayout(row({Check8, Check11}));

    auto* dynamicSync = frame(QStringLiteral("Dynamic Sync"));
    Check4 = checkBox("Check4", QStringLiteral("Enabled"), true);
    Check4->setAccessibleName(QStringLiteral("Dynamic Sync Enabled"));
    Option12 = optionButton("Option12", QStringLiteral("+32"), QStringLiteral("Dynamic Sync +32"));
    Option13 = optionButton("Option13", QStringLiteral("+8"), QStringLiteral("Dynamic Sync +8"));
    Option14 = optionButton("Option14", QStringLiteral("+16"), QStringLiteral("Dynamic Sync +16"));
    group(this, {Option12, Option13, Option14});
    Option14->setChecked(true);
    dynamicSync->setLayout(row({Check4, Option12, Option13, Option14}));
    layout->addWidget(dynamicSync);
    layout->addWidget(buildLicInsetFrame());
    layout->addWidget(buildSyncLevelFrame());

    Frame2 = frame(QStringLiteral("Active Normalising"), "Frame2");
    Option6 = optionButton("Option6", QStringLiteral("Level 2 (Tape)"));
    Option7 = optionButton("Option7", QStringLiteral("Level 3 (Direct)"));
    group(this, {Option6, Option7});
    Option6->setChecked(true);
    Frame2->setLayout(row({Option6, Option7}));
    layout->addWidget(Frame2);
    auto* xShift = frame(QStringLiteral("XShift"));
    Label4 = valueLabel("Label4", QStringLiteral("0"), QStringLiteral("XShift"));
    Command5 = button("Command5", QStringLiteral("Reset"), QStringLiteral("Reset XShift"));
    xShift->setLayout(row({Label4, Command5}));
    auto* yShift = frame(QStringLiteral("YShift"));
    Label5 = valueLabel("Label5", QStringLiteral("0"), QStringLiteral("YShift"));
    Command6 = button("Command6", QStringLiteral("Reset"), QStringLiteral("Reset YShift"));
    yShift->setLayout(row({Label5, Command6}));
    layout->addLayout(row({xShift, yShift}));
    layout->addStretch();
    return column;
}

QGroupBox* Form1::buildLicInsetFrame()
{
    auto* licInset = frame(QStringLiteral("LIC Inset"));
    Option17 = optionButton("Option17", QStringLiteral("8 (Norm)"), QStringLiteral("LIC Inset 8 (Norm)"));
    Option18 = optionButton("Option18", QStringLiteral("7"), QStringLiteral("LIC Inset 7"));
    Option19 = optionButton("Option19", QStringLiteral("6"), QStringLiteral("LIC Inset 6"));
    Option20 = optionButton("Option20", QStringLiteral("9"), QStringLiteral("LIC Inset 9"));
    Option21 = optionButton("Option21", QStringLiteral("10"), QStringLiteral("LIC Inset 10"));
    Option22 = optionButton("Option22", QStringLiteral("1"), QStringLiteral("LIC Inset 1"));
    Option23 = optionButton("Option23", QStringLiteral("5"), QStringLiteral("LIC Inset 5"));
    Option24 = optionButton("Option24", QStringLiteral("4-lock"), QStringLiteral("LIC Inset 4-lock"));
    group(this, {Option17, Option18, Option19, Option20, Option21, Option22, Option23, Option24});
    Option24->setChecked(true);
    auto* insetLayout = new QGridLayout(licInset);
    int i = 0;
    for (QRadioButton* inset : {Option17, Option18, Option19, Option20, Option21, Option22, Option23, Option24}) {
        insetLayout->addWidget(inset, i / 4, i % 4);
        ++i;
    }
    return licInset;
}

QGroupBox* Form1::buildSyncLevelFrame()
{
    auto* syncLevel = frame(QStringLiteral("Sync Level"));
    VScroll1 = named(new QScrollBar(Qt::Horizontal), "VScroll1", QStringLiteral("Sync Level"));
    VScroll1->setRange(-64, 32);
    VScroll1->setValue(-32);
    Label10 = valueLabel("Label10", QStringLiteral("-32"), QStringLiteral("Sync Level value"));
    Label10->setMinimumWidth(30);
    auto* syncLayout = new QHBoxLayout(syncLevel);
    syncLayout->addWidget(VScroll1, 1);
    syncLayout->addWidget(Label10);
    return syncLevel;
}

// The test-card thumbnail with its scroll bar, the two fixed cards, and loading a picture file.
QGroupBox* Form1::buildThumbnailFrame()
{
    Frame9 = frame(QStringLiteral("Thumbnails of test patterns"), "Frame9");
    Image2 = pictureView("Image2", QStringLiteral("Test card thumbnail"), QSize(160, 120));
    VScroll2 = named(new QScrollBar(Qt::Vertical), "VScroll2", QStringLiteral("Test card position"));
    VScroll2->setRange(1, 1);
    VScroll2->setValue(1);
    Picture2 = pictureView("Picture2", QStringLiteral("Black cross card"), QSize(80, 60));
    Picture2->setToolTip(QStringLiteral("Black card with a white cross"));
    Picture3 = pictureView("Picture3", QStringLiteral("White card"), QSize(80, 60));
    Picture3->setToolTip(QStringLiteral("White card"));
    Text4 = named(new QLineEdit, "Text4", QStringLiteral("Input picture file name"));
    Command16 = button("Command16", QStringLiteral("-"), QStringLiteral("Browse for the input picture"));
    Command16->setFixedWidth(28);
    Command11 = button("Command11", QStringLiteral("Load from file"));
    Command14 = button("Command14", QStringLiteral("Change testcard directory"));
    auto* cards = new QVBoxLayout;
    cards->addWidget(Picture2);
    cards->addWidget(Picture3);
    auto* thumbs = new QGridLayout(Frame9);
    thumbs->addWidget(Image2, 0, 0);
    thumbs->addWidget(VScroll2, 0, 1);
    thumbs->addLayout(cards, 0, 2);
    thumbs->addLayout(row({Text4, Command16}), 1, 0, 1, 3);
    thumbs->addLayout(row({Command11, Command14}), 2, 0, 1, 3);
    return Frame9;
}

} // namespace tonobild
