// The Transmitter dialog: the fields show the stored section, values that
// cannot be used are named and stay stored until OK, OK writes the fields
// unless the port does not suit the method, and Test PTT keys for one second
// with the fields as they stand, released also when the dialog is left.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include "fake_ptt_line.h"
#include "settings/memory_settings_store.h"
#include "support/fake_dialogs.h"
#include "transmitter/transmitter_dialog.h"

using namespace tonobild;
using tonobild::testdata::FakeDialogs;
using tonobild::testdata::FakePttLine;
using tonobild::testdata::PttLog;

namespace {

using Calls = std::vector<std::string>;

class TransmitterDialogTest : public ::testing::Test {
protected:
    std::unique_ptr<TransmitterDialog> makeDialog()
    {
        return std::make_unique<TransmitterDialog>(store_, dialogs_, [this](const TransmitterSettings& s) {
            opened_.push_back(s);
            return OpenedPtt{std::make_unique<FakePttLine>(log_), {}};
        });
    }
    template <typename T>
    static T* field(QWidget& dialog, const char* accessibleName)
    {
        for (T* w : dialog.findChildren<T*>())
            if (w->accessibleName() == QLatin1String(accessibleName))
                return w;
        return nullptr;
    }
    static QPushButton* testButton(QWidget& dialog)
    {
        for (auto* b : dialog.findChildren<QPushButton*>())
            if (b->text() == QLatin1String("Test PTT"))
                return b;
        return nullptr;
    }
    static QString visibleText(QWidget& dialog)
    {
        QString all;
        for (auto* l : dialog.findChildren<QLabel*>())
            if (l->isVisibleTo(&dialog))
                all += l->text() + QLatin1Char('\n');
        return all;
    }

    MemorySettingsStore store_;
    FakeDialogs dialogs_;
    std::shared_ptr<PttLog> log_ = std::make_shared<PttLog>();
    std::vector<TransmitterSettings> opened_;
};

TEST_F(TransmitterDialogTest, FieldsShowTheStoreAndOkWritesThem)
{
    writeTransmitterSettings(store_, {2, "localhost:4532", PttMethod::Cat, 0.3, 0.7});
    store_.clearWriteLog();
    auto dialog = makeDialog();
    EXPECT_EQ(dialog->fields(), (TransmitterSettings{2, "localhost:4532", PttMethod::Cat, 0.3, 0.7}));
    field<QSpinBox>(*dialog, "Rig model")->setValue(1035);
    field<QLineEdit>(*dialog, "Rig port")->setText(" /dev/ttyUSB1 ");
    field<QComboBox>(*dialog, "PTT method")->setCurrentIndex(3); // DTR
    field<QDoubleSpinBox>(*dialog, "Lead before the audio")->setValue(1.5);
    dialog->accept();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    // The port trimmed; the stored text itself is shown by the settings' own tests.
    EXPECT_EQ(readTransmitterSettings(store_).settings,
              (TransmitterSettings{1035, "/dev/ttyUSB1", PttMethod::Dtr, 1.5, 0.7}));
    EXPECT_TRUE(dialogs_.messages.empty());
}

TEST_F(TransmitterDialogTest, StoredValuesThatCannotBeUsedAreNamedAndKeptUntilOk)
{
    store_.write(kTransmitterSection, kLeadSecondsKey, "half");
    store_.write(kTransmitterSection, kRigModelKey, "FT-991");
    auto dialog = makeDialog();
    const QString text = visibleText(*dialog);
    EXPECT_TRUE(text.contains("Transmitter/Lead Seconds is \"half\"")) << text.toStdString();
    EXPECT_TRUE(text.contains("Transmitter/Rig Model is \"FT-991\"")) << text.toStdString();
    EXPECT_EQ(dialog->fields().leadSeconds, 0.5);
    dialog->reject();
    EXPECT_EQ(store_.read(kTransmitterSection, kLeadSecondsKey, ""), "half");
    EXPECT_EQ(store_.read(kTransmitterSection, kRigModelKey, ""), "FT-991");
}

TEST_F(TransmitterDialogTest, TestPttKeysForOneSecondWithTheFieldsAsTheyStand)
{
    auto dialog = makeDialog();
    EXPECT_FALSE(testButton(*dialog)->isEnabled()); // method none: nothing to key
    field<QComboBox>(*dialog, "PTT method")->setCurrentIndex(1); // CAT
    field<QLineEdit>(*dialog, "Rig port")->setText("localhost:4532");
    field<QSpinBox>(*dialog, "Rig model")->setValue(2);
    ASSERT_TRUE(testButton(*dialog)->isEnabled());
    QTest::mouseClick(testButton(*dialog), Qt::LeftButton);
    ASSERT_EQ(opened_.size(), 1u);
    EXPECT_EQ(opened_[0].rigModel, 2);
    EXPECT_EQ(opened_[0].port, "localhost:4532");
    EXPECT_TRUE(dialog->isTesting());
    EXPECT_TRUE(visibleText(*dialog).contains("TRANSMITTER KEYED"));
    QTest::qWait(TransmitterDialog::kTestMs / 2);
    EXPECT_EQ(log_->calls, (Calls{"on"}));
    QTRY_VERIFY_WITH_TIMEOUT(!dialog->isTesting(), 2 * TransmitterDialog::kTestMs);
    EXPECT_EQ(log_->calls, (Calls{"on", "off"}));
    EXPECT_TRUE(visibleText(*dialog).contains("keyed for one second and released"));
    EXPECT_FALSE(store_.contains(kTransmitterSection, kRigPortKey)); // a test stores nothing
}

TEST_F(TransmitterDialogTest, LeavingTheDialogDuringATestReleases)
{
    for (const bool viaCancel : {true, false}) {
        SCOPED_TRACE(viaCancel);
        log_->calls.clear();
        auto dialog = makeDialog();
        field<QComboBox>(*dialog, "PTT method")->setCurrentIndex(1);
        field<QLineEdit>(*dialog, "Rig port")->setText("/dev/ttyUSB0");
        dialog->testPtt();
        if (viaCancel)
            dialog->reject();
        else
            dialog.reset();
        EXPECT_EQ(log_->calls, (Calls{"on", "off"}));
    }
}

TEST_F(TransmitterDialogTest, ARigThatFailsTheTestIsReported)
{
    auto dialog = makeDialog();
    field<QComboBox>(*dialog, "PTT method")->setCurrentIndex(1);
    field<QLineEdit>(*dialog, "Rig port")->setText("/dev/ttyUSB0");
    log_->failOnCount = 1;
    dialog->testPtt();
    EXPECT_FALSE(dialog->isTesting());
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_EQ(dialogs_.messages[0].text, "Fake rig did not key");

    log_->failOffCount = 2;
    dialog->testPtt();
    QTRY_VERIFY_WITH_TIMEOUT(!dialog->isTesting(), 2 * TransmitterDialog::kTestMs);
    ASSERT_EQ(dialogs_.messages.size(), 2u);
    EXPECT_TRUE(dialogs_.messages[1].text.contains("may still be keyed"));
}

} // namespace
