#include "common/NumberedSectorProducer.h"

#include "platform/DRBurn.h"
#include "platform/DRDevice.h"
#include "platform/DRErase.h"
#include "platform/DiscJob.h"
#include "platform/ui/DRBurnProgressPanel.h"
#include "platform/ui/DRBurnSetupPanel.h"
#include "platform/ui/DREraseProgressPanel.h"
#include "platform/ui/DREraseSetupPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QMainWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {
QPushButton* buttonWithText(QWidget* panel, const QString& text)
{
    for (QPushButton* button : panel->findChildren<QPushButton*>()) {
        if (button->text() == text)
            return button;
    }
    return nullptr;
}

QPushButton* okButton(QWidget* panel)
{
    return panel->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
}

struct BurnDelegate : DRBurnProgressPanelDelegate {
    QList<DRBurnProgressPanel*> finished;
    void burnProgressPanelDidFinish(DRBurnProgressPanel* panel) override { finished.append(panel); }
};

struct EraseDelegate : DREraseProgressPanelDelegate, DRSetupPanelDelegate {
    QList<DRErase*> finished;
    bool offerDiscImageFile = true;
    bool eraseProgressPanel(DREraseProgressPanel*, DRErase* erase) override
    {
        finished.append(erase);
        return true;
    }
    bool setupPanel(DRSetupPanel*, DRDevice* device) override
    {
        return offerDiscImageFile || !device->writesImageFile();
    }
};
}

class TestDiscPanels : public QObject {
    Q_OBJECT

    QMainWindow* mWindow = nullptr;
    QTemporaryDir mDir;

    std::shared_ptr<DRBurn> imageBurn(const QString& name)
    {
        auto burn = std::make_shared<DRBurn>(DRDevice::discImageFileDevice());
        burn->setImageFile(mDir.filePath(name));
        return burn;
    }

private slots:
    void init()
    {
        mWindow = new QMainWindow;
        mWindow->resize(640, 480);
        mWindow->show();
    }

    void cleanup() { delete mWindow; }

    void aBurnThatCannotBePreparedShowsWhyAndThenCallsTheDelegate()
    {
        auto producer = std::make_shared<NumberedSectorProducer>();
        producer->refusePreparingTrack = 1;
        BurnDelegate delegate;
        DRBurnProgressPanel* panel = DRBurnProgressPanel::progressPanel();
        panel->setDelegate(&delegate);
        panel->beginProgressSheetForBurn(imageBurn(QStringLiteral("refused.cue")),
            NumberedSectorProducer::rawLayout(producer, { { 1, 150, 10 } }), mWindow);
        QVERIFY(panel->isVisible());
        QCOMPARE(panel->windowModality(), Qt::WindowModal);
        QCOMPARE(panel->parentWidget(), mWindow);

        QTRY_VERIFY(panel->isFinished());
        QVERIFY2(panel->outcomeText().contains(QStringLiteral("Track 1 could not be prepared")),
            qPrintable(panel->outcomeText()));
        QVERIFY(panel->isVisible()); // the failure stays up until the user has read it
        QVERIFY(delegate.finished.isEmpty());

        QPushButton* close = buttonWithText(panel, QStringLiteral("Close"));
        QVERIFY(close);
        close->click();
        QCOMPARE(delegate.finished, QList<DRBurnProgressPanel*> { panel });
        QCOMPARE(panel->result(), QDialog::Rejected);
        QVERIFY(!panel->isVisible());
        QVERIFY(!QFile::exists(mDir.filePath(QStringLiteral("refused.bin"))));
    }

    void theBurnRunsOffTheWindowThreadAndTheWindowFollowsIt()
    {
        auto producer = std::make_shared<NumberedSectorProducer>();
        producer->maxBytesPerCall = 64 * 2352;
        BurnDelegate delegate;
        DRBurnProgressPanel* panel = DRBurnProgressPanel::progressPanel();
        panel->setVerboseProgressStatus(true);
        panel->setDelegate(&delegate);
        panel->beginProgressSheetForBurn(imageBurn(QStringLiteral("disc.cue")),
            NumberedSectorProducer::rawLayout(producer, { { 1, 150, 20000 }, { 2, 150, 20000 } }), mWindow);

        // The window's own timers keep firing while the burn runs.
        int ticks = 0;
        QSet<int> barValues;
        QTimer timer;
        connect(&timer, &QTimer::timeout, this, [&] {
            ++ticks;
            barValues.insert(panel->findChild<QProgressBar*>()->value());
        });
        timer.start(1);
        QTRY_VERIFY_WITH_TIMEOUT(panel->isFinished(), 60000);
        QVERIFY2(panel->job()->result().succeeded(), qPrintable(panel->outcomeText()));
        QVERIFY(ticks > 1);
        QCOMPARE(panel->findChild<QProgressBar*>()->value(), panel->findChild<QProgressBar*>()->maximum());
        QVERIFY(!producer->callingThreads().contains(QThread::currentThread()));
        QVERIFY(QFile::exists(mDir.filePath(QStringLiteral("disc.bin"))));

        buttonWithText(panel, QStringLiteral("Close"))->click();
        QCOMPARE(delegate.finished.size(), 1);
        QCOMPARE(panel->result(), QDialog::Accepted);
    }

    void theBurnSetupSheetGivesTheChosenRecorderAndFile()
    {
        DRBurn::storeAppendableOption(true);
        DRBurnSetupPanel* panel = DRBurnSetupPanel::setupPanel();
        QList<int> codes;
        panel->beginSetupSheetForWindow(mWindow, this, [&](DRSetupPanel* ended, int code) {
            QCOMPARE(ended, panel);
            codes.append(code);
        });
        QTRY_VERIFY(!panel->isScanning());
        QCOMPARE(panel->findChild<QComboBox*>()->count(), 1);
        QCOMPARE(panel->selectedDevice(), DRDevice::discImageFileDevice());
        QVERIFY(!okButton(panel)->isEnabled()); // no file chosen yet

        const QString file = mDir.filePath(QStringLiteral("chosen.cue"));
        panel->setImageFile(file);
        QVERIFY(okButton(panel)->isEnabled());
        okButton(panel)->click();
        QCOMPARE(codes, QList<int> { 1 });

        const std::shared_ptr<DRBurn> burn = panel->burnObject();
        QCOMPARE(burn->device(), DRDevice::discImageFileDevice());
        QCOMPARE(burn->imageFile(), file);
        QVERIFY(DRBurn::storedAppendableOption());
        delete panel;
    }

    void withoutAppendableMediaTheOptionIsOffAndStoredSo()
    {
        DRBurn::storeAppendableOption(true);
        DRBurnSetupPanel* panel = DRBurnSetupPanel::setupPanel();
        panel->setCanSelectAppendableMedia(false);
        QList<int> codes;
        panel->beginSetupSheetForWindow(mWindow, this, [&](DRSetupPanel*, int code) { codes.append(code); });
        auto* appendable = panel->findChild<QCheckBox*>();
        QVERIFY(!appendable->isChecked());
        QVERIFY(!appendable->isEnabled());
        panel->setImageFile(mDir.filePath(QStringLiteral("x.iso")));
        okButton(panel)->click();
        QCOMPARE(codes, QList<int> { 1 });
        QVERIFY(!panel->burnObject()->appendable());
        QVERIFY(!DRBurn::storedAppendableOption());
        delete panel;
    }

    void cancellingTheBurnSetupSheetAnswersZero()
    {
        DRBurnSetupPanel* panel = DRBurnSetupPanel::setupPanel();
        QList<int> codes;
        panel->beginSetupSheetForWindow(mWindow, this, [&](DRSetupPanel*, int code) { codes.append(code); });
        panel->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
        QCOMPARE(codes, QList<int> { 0 });
        delete panel;
    }

    void theEraseSetupSheetOffersWhatTheDelegateAllows()
    {
        EraseDelegate delegate;
        delegate.offerDiscImageFile = false;
        DREraseSetupPanel* panel = DREraseSetupPanel::setupPanel();
        panel->setDelegate(&delegate);
        panel->beginSetupSheetForWindow(mWindow, this, [](DRSetupPanel*, int) {});
        QTRY_VERIFY(!panel->isScanning());
        QCOMPARE(panel->findChild<QComboBox*>()->count(), 0);
        QVERIFY(!okButton(panel)->isEnabled());
        delete panel;
    }

    void erasingTheDiscImageRecorderSaysThereIsNothingToErase()
    {
        EraseDelegate delegate;
        DREraseSetupPanel* setup = DREraseSetupPanel::setupPanel();
        setup->setDelegate(&delegate);
        QList<int> codes;
        setup->beginSetupSheetForWindow(mWindow, this, [&](DRSetupPanel*, int code) { codes.append(code); });
        okButton(setup)->click();
        QCOMPARE(codes, QList<int> { 1 });

        std::shared_ptr<DRErase> erase = setup->eraseObject();
        DREraseProgressPanel* panel = DREraseProgressPanel::progressPanel();
        panel->setDelegate(&delegate);
        panel->beginProgressSheetForErase(erase, mWindow);
        QTRY_VERIFY(panel->isFinished());
        QVERIFY2(panel->outcomeText().contains(QStringLiteral("nothing to erase")), qPrintable(panel->outcomeText()));
        buttonWithText(panel, QStringLiteral("Close"))->click();
        QCOMPARE(delegate.finished, QList<DRErase*> { erase.get() });
        delete setup;
    }
};

QTEST_MAIN(TestDiscPanels)
#include "tst_discpanels.moc"
