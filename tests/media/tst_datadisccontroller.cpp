#include "app/KestrinApp.h"
#include "app/MainWindow.h"
#include "app/MyController.h"
#include "common/Fixtures.h"
#include "common/IsoInfo.h"
#include "media/CompilationFile.h"
#include "media/MediaTree.h"
#include "media/TreeFile.h"
#include "media/ui/DataDiscController.h"
#include "media/ui/MP3DataSource.h"
#include "media/ui/MP3OutlineView.h"
#include "platform/DRBurn.h"
#include "platform/DRDevice.h"
#include "platform/DRFolder.h"
#include "platform/DiscJob.h"
#include "platform/UserDefaults.h"
#include "platform/ui/DRBurnSetupPanel.h"
#include "settings/Preferences.h"
#include "settings/SettingsModel.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

QVariantMap group(const QString &name, const QVariantList &entries)
{
    return { { QStringLiteral("Group"), name }, { QStringLiteral("Entries"), entries } };
}

// A file that claims `size` bytes without taking the disc space.
bool makeSparseFile(const QString &path, qint64 size)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.resize(size);
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void clickButton(QMessageBox *sheet, QMessageBox::StandardButton button)
{
    QVERIFY(sheet);
    QVERIFY(sheet->isVisible());
    QTest::mouseClick(sheet->button(button), Qt::LeftButton);
}

} // namespace

// The data disc commands in the real window: size warnings, the burn of the
// media files to the disc image recorder read back with isoinfo, the
// free-space test, and compilation files saved and opened through the panels.
class TestDataDiscController : public QObject
{
    Q_OBJECT

    std::unique_ptr<KestrinApp> mApp;
    QTemporaryDir mDir;

    DataDiscController *dataDisc() const { return mApp->dataDisc.get(); }
    MediaTree *tree() const { return mApp->mediaTree.get(); }
    MP3DataSource *dataSource() const { return mApp->controller->dataSource(); }
    void showTree(const QVariantMap &dictionary)
    {
        tree()->setTreeData(SimpleTreeNode::treeFromDictionary(dictionary));
    }
    QVariantMap shownTree() const { return TreeFile::treeToDictionary(tree()->treeData()); }
    QString header() const { return dataSource()->headerData(MP3DataSource::NameColumn, Qt::Horizontal).toString(); }

    void setWarnings(bool warnSpace, int spaceMb, bool warnMore, int moreMb)
    {
        Preferences &prefs = *mApp->preferences;
        prefs.prefsWarnSpaceCheckStored = warnSpace;
        prefs.prefsWarnSpaceComboStored = spaceMb;
        prefs.prefsWarnMoreCheckStored = warnMore;
        prefs.prefsWarnMoreComboStored = moreMb;
    }

    QFileDialog *chooseInPanel(QFileDialog *panel, const QString &path)
    {
        if (!panel || !panel->isVisible())
            return nullptr;
        panel->selectFile(path);
        static_cast<QDialog *>(panel)->accept(); // QFileDialog hides it
        return panel;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(mDir.isValid());
        QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("isoinfo")).isEmpty(),
            "isoinfo (Debian package genisoimage) is needed to read the images back");
    }

    void init()
    {
        mApp = std::make_unique<KestrinApp>();
        mApp->preferences->prefsDefaults(true);
        mApp->window->show();
    }

    void cleanup() { mApp.reset(); }

    void sizeWarnings_data()
    {
        QTest::addColumn<qint64>("bytes");
        QTest::addColumn<bool>("warnSpace");
        QTest::addColumn<bool>("warnMore");
        QTest::addColumn<QString>("sheet"); // empty: straight to the burn setup
        QTest::addColumn<QString>("figure");
        const qint64 threeMb = 3 * (1 << 20);
        // Thresholds of 3 MB below and 2 MB above.
        QTest::newRow("one byte short of 3 MB is 2 MB, too little")
            << threeMb - 1 << true << false << "mNotEnoughMusicSheet"
            << "consume 2mb";
        QTest::newRow("3 MB is not too little") << threeMb << true << false << QString() << QString();
        QTest::newRow("3 MB is too much") << threeMb << false << true << "mTooMuchMusicSheet"
                                          << "consume 3mb";
        QTest::newRow("one byte short of 3 MB is not too much")
            << threeMb - 1 << false << true << QString() << QString();
    }

    void sizeWarnings()
    {
        QFETCH(qint64, bytes);
        QFETCH(bool, warnSpace);
        QFETCH(bool, warnMore);
        QFETCH(QString, sheet);
        QFETCH(QString, figure);
        const QString file = mDir.filePath(QStringLiteral("sized.mov"));
        QVERIFY(makeSparseFile(file, bytes));
        showTree(group(QStringLiteral("Media"), { file }));
        setWarnings(warnSpace, 3, warnMore, 2);

        mApp->window->mBurnDataDiscAction->trigger();
        if (sheet.isEmpty()) {
            QVERIFY(!dataDisc()->warningSheet());
            QVERIFY(dataDisc()->setupPanel());
            dataDisc()->setupPanel()->reject();
            QVERIFY(!mApp->controller->ignoreInsert());
            return;
        }
        QMessageBox *warning = dataDisc()->warningSheet();
        QVERIFY(warning);
        QCOMPARE(warning->objectName(), sheet);
        QVERIFY2(warning->informativeText().contains(figure), qPrintable(warning->informativeText()));
        QVERIFY(!dataDisc()->setupPanel());

        // No: nothing is set up. Yes: the burn setup follows.
        clickButton(warning, QMessageBox::No);
        QTRY_VERIFY(!dataDisc()->warningSheet());
        QVERIFY(!dataDisc()->setupPanel());
        QVERIFY(!mApp->controller->ignoreInsert());
        mApp->window->mBurnDataDiscAction->trigger();
        clickButton(dataDisc()->warningSheet(), QMessageBox::Yes);
        QTRY_VERIFY(dataDisc()->setupPanel());
        QVERIFY(mApp->controller->ignoreInsert());
        dataDisc()->setupPanel()->reject();
        QVERIFY(!mApp->controller->ignoreInsert());
        QVERIFY(!dataDisc()->progressPanel());
    }

    void burnWritesTheTreeToADiscImageWithJolietNames()
    {
        const QString movies = mDir.filePath(QStringLiteral("Holiday in Ålesund 2023"));
        QVERIFY(QDir().mkpath(movies));
        const QString clip = mDir.filePath(QStringLiteral("A clip with a rather long name.mp4"));
        const QString beach = movies + QStringLiteral("/beach at sunset.mpg");
        QVERIFY(QFile::copy(Fixtures::tinyClip(QStringLiteral("1")), clip));
        QVERIFY(QFile::copy(Fixtures::mpeg1Mp2Mpg(), beach));
        showTree(group(QStringLiteral("My Movies"), { clip, group(movies + QLatin1Char('/'), { beach }) }));
        const QVariantMap before = shownTree();
        UserDefaults::setValue(DRBurnOptionsAppendable, true);

        mApp->window->mBurnDataDiscAction->trigger();
        DRBurnSetupPanel *setup = dataDisc()->setupPanel();
        QVERIFY(setup);
        QVERIFY(mApp->controller->ignoreInsert());
        QVERIFY(dataDisc()->rootFolderName().startsWith(QStringLiteral("Sonabel CD ")));
        // Joliet discs are closed: the appendable choice is cleared and stored.
        QCOMPARE(UserDefaults::value(DRBurnOptionsAppendable), QVariant(false));
        QVERIFY(setup->selectedDevice()->writesImageFile());
        const QString iso = mDir.filePath(QStringLiteral("data disc.iso"));
        setup->setImageFile(iso);
        setup->accept();
        QVERIFY(!dataDisc()->setupPanel());
        QVERIFY(!mApp->controller->ignoreInsert());

        DRBurnProgressPanel *progress = dataDisc()->progressPanel();
        QVERIFY(progress);
        QTRY_VERIFY_WITH_TIMEOUT(progress->isFinished(), 30000);
        QVERIFY2(progress->job()->result().succeeded(), qPrintable(progress->job()->result().message));
        progress->reject();
        QTRY_VERIFY(!dataDisc()->progressPanel());
        QCOMPARE(shownTree(), before);

        const QString description = IsoInfo::description(iso);
        QVERIFY2(description.contains(QStringLiteral("Joliet with UCS")), qPrintable(description));
        QVERIFY2(description.contains(QStringLiteral("Volume id: SONABEL_CD_")), qPrintable(description));
        const QStringList listing = IsoInfo::jolietListing(iso).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        const QMap<QString, QString> expected {
            { QStringLiteral("/My Movies/A clip with a rather long name.mp4"), clip },
            { QStringLiteral("/My Movies/Holiday in Ålesund 2023/beach at sunset.mpg"), beach },
        };
        QStringList expectedListing { QStringLiteral("/My Movies"),
            QStringLiteral("/My Movies/Holiday in Ålesund 2023") };
        expectedListing += expected.keys();
        expectedListing.sort();
        QStringList sortedListing = listing;
        sortedListing.sort();
        QCOMPARE(sortedListing, expectedListing);
        for (auto entry = expected.cbegin(); entry != expected.cend(); ++entry)
            QVERIFY2(IsoInfo::extract(iso, entry.key()) == readBytes(entry.value()), qPrintable(entry.key()));
    }

    void aCompilationTooBigForTheMediumIsNotBurned()
    {
        // More than the 80-minute disc of the disc image recorder holds.
        const QString big = mDir.filePath(QStringLiteral("big.mov"));
        QVERIFY(makeSparseFile(big, qint64(800) << 20));
        showTree(group(QStringLiteral("Media"), { big }));
        const QVariantMap before = shownTree();

        mApp->window->mBurnDataDiscAction->trigger();
        QCOMPARE(dataDisc()->warningSheet()->objectName(), QStringLiteral("mTooMuchMusicSheet"));
        clickButton(dataDisc()->warningSheet(), QMessageBox::Yes);
        QTRY_VERIFY(dataDisc()->setupPanel());
        const QString iso = mDir.filePath(QStringLiteral("too big.iso"));
        dataDisc()->setupPanel()->setImageFile(iso);
        dataDisc()->setupPanel()->accept();

        QMessageBox *noSpace = dataDisc()->errorSheet();
        QVERIFY(noSpace);
        QCOMPARE(noSpace->objectName(), QStringLiteral("mNoSpaceSheet"));
        QCOMPARE(noSpace->text(), QStringLiteral("Not Enough Free Space on Media"));
        QVERIFY(!dataDisc()->progressPanel());
        QVERIFY(!mApp->controller->ignoreInsert());
        clickButton(noSpace, QMessageBox::Ok);
        QTRY_VERIFY(!dataDisc()->errorSheet());
        QVERIFY(!QFile::exists(iso));
        QCOMPARE(shownTree(), before);
    }

    void compilationsAreSavedAndOpenedThroughThePanels()
    {
        const QString clip = Fixtures::tinyClip(QStringLiteral("1"));
        const QVariantMap saved = group(QStringLiteral("Media"),
            { clip, group(QStringLiteral("/Users/ann/The \"Best\" Bits"), { QStringLiteral("/gone/away.mov") }) });
        showTree(saved);
        QCOMPARE(header(), QStringLiteral("Name"));

        // "mix" is saved as mix.cd3, "mix.CD3" keeps its name.
        mApp->window->mSaveCompilationAction->trigger();
        QVERIFY(dataDisc()->savePanel());
        QCOMPARE(dataDisc()->savePanel()->directory().absolutePath(), QDir::homePath());
        QVERIFY(chooseInPanel(dataDisc()->savePanel(), mDir.filePath(QStringLiteral("mix"))));
        QTRY_VERIFY(!dataDisc()->savePanel());
        QCOMPARE(readBytes(mDir.filePath(QStringLiteral("mix.cd3"))), CompilationFile::printTree(tree()->treeData()));
        QCOMPARE(header(), QStringLiteral("mix"));
        mApp->window->mSaveCompilationAction->trigger();
        QVERIFY(chooseInPanel(dataDisc()->savePanel(), mDir.filePath(QStringLiteral("MIX2.CD3"))));
        QTRY_VERIFY(!dataDisc()->savePanel());
        QVERIFY(QFile::exists(mDir.filePath(QStringLiteral("MIX2.CD3"))));
        QVERIFY(!QFile::exists(mDir.filePath(QStringLiteral("MIX2.CD3.cd3"))));

        // Another tree, then the compilation back, with its totals.
        QTemporaryDir project;
        mApp->settings->setProjectFolder(project.path());
        showTree(group(QStringLiteral("Other"), {}));
        QCOMPARE(header(), QStringLiteral("Name"));
        QCOMPARE(tree()->missingItems(), 0);
        mApp->window->mLoadCompilationAction->trigger();
        QVERIFY(chooseInPanel(dataDisc()->openPanel(), mDir.filePath(QStringLiteral("mix.cd3"))));
        QTRY_VERIFY(!dataDisc()->openPanel());
        QCOMPARE(shownTree(), saved);
        QCOMPARE(header(), QStringLiteral("mix"));
        QCOMPARE(tree()->missingItems(), 1);
        QVERIFY(tree()->secondsUsed() > 0);
        // The disc image was made from the tree that went.
        QVERIFY(QFile::exists(QDir(project.path()).filePath(QString::fromLatin1(MediaTree::kInvalidImagesFileName))));
    }

    void cancelledPanelsChangeNothing()
    {
        const QVariantMap shown = group(QStringLiteral("Media"), { QStringLiteral("/a.mov") });
        showTree(shown);
        const QStringList before = QDir(QDir::homePath()).entryList(QDir::Files);
        mApp->window->mSaveCompilationAction->trigger();
        dataDisc()->savePanel()->reject();
        QTRY_VERIFY(!dataDisc()->savePanel());
        mApp->window->mLoadCompilationAction->trigger();
        dataDisc()->openPanel()->reject();
        QTRY_VERIFY(!dataDisc()->openPanel());
        QCOMPARE(shownTree(), shown);
        QCOMPARE(header(), QStringLiteral("Name"));
        QCOMPARE(QDir(QDir::homePath()).entryList(QDir::Files), before);
    }

    void unreadableOrUnwritableCompilationsShowASheet()
    {
        const QVariantMap shown = group(QStringLiteral("Media"), { QStringLiteral("/a.mov") });
        showTree(shown);
        const TreeNode *root = tree()->treeData();

        const QString broken = mDir.filePath(QStringLiteral("broken.cd3"));
        QFile file(broken);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("{\nGroup = \"R\";\nEntries = (\"/M/a.mov\", ");
        file.close();
        mApp->window->mLoadCompilationAction->trigger();
        QVERIFY(chooseInPanel(dataDisc()->openPanel(), broken));
        QTRY_VERIFY(dataDisc()->errorSheet());
        QCOMPARE(dataDisc()->errorSheet()->objectName(), QStringLiteral("mLoadFailedSheet"));
        QCOMPARE(tree()->treeData(), root);
        QCOMPARE(shownTree(), shown);
        QCOMPARE(header(), QStringLiteral("Name"));
        clickButton(dataDisc()->errorSheet(), QMessageBox::Ok);
        QTRY_VERIFY(!dataDisc()->errorSheet());

        // A folder stands where the compilation would be written.
        QVERIFY(QDir(mDir.path()).mkdir(QStringLiteral("taken.cd3")));
        mApp->window->mSaveCompilationAction->trigger();
        QVERIFY(chooseInPanel(dataDisc()->savePanel(), mDir.filePath(QStringLiteral("taken"))));
        QTRY_VERIFY(dataDisc()->errorSheet());
        QCOMPARE(dataDisc()->errorSheet()->objectName(), QStringLiteral("mSaveFailedSheet"));
        QCOMPARE(header(), QStringLiteral("Name"));
        QVERIFY(QFileInfo(mDir.filePath(QStringLiteral("taken.cd3"))).isDir());
    }
};

QTEST_MAIN(TestDataDiscController)
#include "tst_datadisccontroller.moc"
