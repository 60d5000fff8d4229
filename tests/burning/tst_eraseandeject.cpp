#include "app/KestrinApp.h"
#include "app/MainWindow.h"
#include "app/MyController.h"
#include "burning/ui/KestrinBurner.h"
#include "burning/ui/eraser.h"
#include "platform/DRDevice.h"
#include "platform/ui/DREraseSetupPanel.h"

#include <QAction>
#include <QSignalSpy>
#include <QTest>

#include <atomic>

namespace {

// Stands in for a physical CD recorder, which these machines do not have:
// it only counts how often it was asked to eject its disc.
class TestDoubleRecorder : public DRDevice
{
public:
    explicit TestDoubleRecorder(const QString &name)
        : mName(name)
    { }

    std::atomic_int ejected = 0;

    QString displayName() const override { return mName; }
    QVariantMap info() const override { return {}; }
    void ejectMedia() override { ++ejected; }
    DRMSF mediaSpaceFree() override { return DRMSF(0, 0, 0); }
    bool canWriteRawMode2() const override { return false; }
    QString refusalForBurn(const DRBurn &, const QList<TrackFeeder *> &) const override { return mName; }
    DiscJobResult writeTracks(const DRBurn &, const QList<TrackFeeder *> &, JobMonitor &) override
    {
        return DiscJobResult::failure(mName);
    }
    DiscJobResult eraseMedia(const DRErase &, JobMonitor &) override { return DiscJobResult::failure(mName); }

private:
    QString mName;
};

}

// Erasing a rewritable disc and ejecting the recorders' discs.
class TestEraseAndEject : public QObject
{
    Q_OBJECT

    std::unique_ptr<KestrinApp> mApp;

private slots:
    void init()
    {
        mApp = std::make_unique<KestrinApp>();
        mApp->window->show();
    }
    void cleanup() { mApp.reset(); }

    void cancelledEraseSetupClearsIgnoreInsert()
    {
        eraser *discEraser = mApp->discEraser.get();
        mApp->window->mEraseAction->trigger();
        DREraseSetupPanel *panel = discEraser->eraseSetupPanel();
        QVERIFY(panel);
        QVERIFY(panel->isVisible());
        QVERIFY(mApp->controller->ignoreInsert());

        panel->reject();
        QVERIFY(!mApp->controller->ignoreInsert());
        QVERIFY(!discEraser->eraseSetupPanel());
        QVERIFY(!discEraser->eraseProgressPanel());
    }

    void eraseOffersNoDiscImageRecorder()
    {
        eraser *discEraser = mApp->discEraser.get();
        QVERIFY(!discEraser->setupPanel(nullptr, DRDevice::discImageFileDevice().get()));
        TestDoubleRecorder physical(QStringLiteral("recorder"));
        QVERIFY(discEraser->setupPanel(nullptr, &physical));
    }

    void ejectAsksEveryRecorder_testDoubleRecorders()
    {
        auto first = std::make_shared<TestDoubleRecorder>(QStringLiteral("first"));
        auto second = std::make_shared<TestDoubleRecorder>(QStringLiteral("second"));
        KestrinBurner *burner = mApp->burner.get();
        burner->setRecorderSource([=] { return QList<std::shared_ptr<DRDevice>> { first, second }; });
        QSignalSpy ejected(burner, &KestrinBurner::ejectFinished);

        mApp->window->mEjectDiscAction->trigger();
        QVERIFY(ejected.wait(10000));
        QCOMPARE(first->ejected.load(), 1);
        QCOMPARE(second->ejected.load(), 1);
    }
};

QTEST_MAIN(TestEraseAndEject)
#include "tst_eraseandeject.moc"
