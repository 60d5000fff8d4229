#include "authoring/KestrinMenu.h"
#include "authoring/ui/KestrinMenuController.h"
#include "authoring/ui/MenuPanel.h"
#include "media/SimpleTreeNode.h"
#include "platform/PropertyList.h"
#include "settings/SettingsModel.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

QVariantMap group(const QString& name, const QVariantList& entries)
{
    return { { QStringLiteral("Group"), name }, { QStringLiteral("Entries"), entries } };
}

} // namespace

// Drives the menu tab's real controls offscreen, as a person would, with a
// real media tree whose selection the test chooses.
class TestMenuControls : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> mFolder;
    std::unique_ptr<SettingsModel> mSettings;
    std::unique_ptr<MenuPanel> mPanel;
    std::unique_ptr<KestrinMenu> mMenus;
    std::unique_ptr<KestrinMenuController> mController;
    std::unique_ptr<SimpleTreeNode> mTree;
    QList<TreeNode*> mSelection;

    // R: /movies/a.mov, Trips { /movies/b.mov }
    TreeNode* movie() const { return mTree->childAtIndex(0); }
    TreeNode* trips() const { return mTree->childAtIndex(1); }

    QString menuFile() const { return mFolder->filePath(QStringLiteral("Kestrin.menu")); }
    QVariantList storedMenus() const { return PropertyList::readFile(menuFile()).value.toList(); }
    QVariantMap storedMenu() const { return storedMenus().value(0).toMap(); }

    void select(TreeNode* node) { mSelection = node ? QList<TreeNode*> { node } : QList<TreeNode*> {}; }

    QCheckBox* box(const QString& title) const
    {
        if (title == KestrinMenu::kEnableTimeoutKey)
            return mPanel->mTimeoutEnabledButton;
        for (QCheckBox* box : mPanel->remoteControlButtons())
            if (box->text() == title)
                return box;
        return nullptr;
    }

    static void clickBox(QAbstractButton* button)
    {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    }

    void makeMenu()
    {
        select(movie());
        QTest::mouseClick(mPanel->KestrinMenuButton, Qt::LeftButton);
        QVERIFY(mMenus->hasCurrentMenu());
    }

    static void stepUp(QSpinBox* stepper, int steps)
    {
        stepper->setFocus();
        for (int step = 0; step < steps; ++step)
            QTest::keyClick(stepper, Qt::Key_Up);
    }

private slots:
    void init()
    {
        mFolder = std::make_unique<QTemporaryDir>();
        mSettings = std::make_unique<SettingsModel>();
        mSettings->setProjectFolder(mFolder->path());
        mPanel = std::make_unique<MenuPanel>();
        mMenus = std::make_unique<KestrinMenu>();
        mController = std::make_unique<KestrinMenuController>(mMenus.get(), mPanel.get(), mSettings.get());
        mController->setSelectedNodes([this] { return mSelection; });
        mTree
            = SimpleTreeNode::treeFromDictionary(group("R", { "/movies/a.mov", group("Trips", { "/movies/b.mov" }) }));
        mSelection.clear();
        mPanel->show();
    }

    void cleanup()
    {
        mController.reset();
        mPanel.reset();
    }

    void menuButtonWithNothingSelectedBeepsAndStaysOff()
    {
        QSignalSpy refused(mController.get(), &KestrinMenuController::refused);
        QTest::mouseClick(mPanel->KestrinMenuButton, Qt::LeftButton);
        QCOMPARE(refused.size(), 1);
        QVERIFY(!mPanel->KestrinMenuButton->isChecked());
        QCOMPARE(mPanel->KestrinMenuButton->text(), QStringLiteral("No Menu"));
        QCOMPARE(mMenus->count(), 0);
        QVERIFY(!QFile::exists(menuFile()));
    }

    void menuButtonWithGroupSelectedSaysWhyAndMakesNoMenu()
    {
        select(trips());
        QSignalSpy refused(mController.get(), &KestrinMenuController::refused);
        QTest::mouseClick(mPanel->KestrinMenuButton, Qt::LeftButton);
        QCOMPARE(refused.size(), 1);
        QVERIFY(refused.first().first().toString().contains(QStringLiteral("not a group")));
        QCOMPARE(mPanel->mMenuMessage->text(), refused.first().first().toString());
        QVERIFY(!mPanel->KestrinMenuButton->isChecked());
        QCOMPARE(mMenus->count(), 0);
        QVERIFY(!QFile::exists(menuFile()));
    }

    void menuButtonWithMovieSelectedMakesTheMenuAndStoresIt()
    {
        select(movie());
        QTest::mouseClick(mPanel->KestrinMenuButton, Qt::LeftButton);
        QVERIFY(mPanel->KestrinMenuButton->isChecked());
        QCOMPARE(mPanel->KestrinMenuButton->text(), QStringLiteral("a.mov"));
        QCOMPARE(mPanel->KestrinMenuButton->toolTip(), QStringLiteral("a.mov"));
        QVERIFY(mPanel->mMenuMessage->text().isEmpty());
        QCOMPARE(storedMenus(), (QVariantList { QVariantMap { { "Title", "/movies/a.mov" } } }));
    }

    void menuButtonWithAMenuPresentEmptiesTheListAndTheFile()
    {
        makeMenu();
        select(nullptr);
        QSignalSpy refused(mController.get(), &KestrinMenuController::refused);
        QTest::mouseClick(mPanel->KestrinMenuButton, Qt::LeftButton);
        QCOMPARE(refused.size(), 0);
        QCOMPARE(mMenus->count(), 0);
        QVERIFY(!mPanel->KestrinMenuButton->isChecked());
        QCOMPARE(mPanel->KestrinMenuButton->text(), QStringLiteral("No Menu"));
        const PropertyList::ReadResult file = PropertyList::readFile(menuFile());
        QCOMPARE(file.value.typeId(), QMetaType::QVariantList);
        QVERIFY(file.value.toList().isEmpty());
    }

    void keyBoxStoresTheSelectedNodesFullPathUnderItsTitle_data()
    {
        QTest::addColumn<QString>("key");
        for (const QString& key : KestrinMenu::remoteControlKeys() + QStringList { KestrinMenu::kEnableTimeoutKey })
            QTest::newRow(qPrintable(key)) << key;
    }

    void keyBoxStoresTheSelectedNodesFullPathUnderItsTitle()
    {
        QFETCH(QString, key);
        makeMenu();
        select(trips());
        clickBox(box(key));
        QVERIFY(box(key)->isChecked());
        QCOMPARE(box(key)->toolTip(), QStringLiteral("Trips"));
        QCOMPARE(storedMenu().value(key).toString(), QStringLiteral("R/Trips"));

        clickBox(box(key));
        QVERIFY(!box(key)->isChecked());
        QVERIFY(box(key)->toolTip().isEmpty());
        QVERIFY(!storedMenu().contains(key));
        QCOMPARE(storedMenu().value("Title").toString(), QStringLiteral("/movies/a.mov"));
    }

    void checkingFiveWithAMovieInAGroupStoresTheMoviesFullPath()
    {
        makeMenu();
        select(trips()->firstChild());
        clickBox(mPanel->mRC5Button);
        QCOMPARE(storedMenu().value("5").toString(), QStringLiteral("R/Trips/movies/b.mov"));
        QCOMPARE(mPanel->mRC5Button->toolTip(), QStringLiteral("b.mov"));
    }

    void keyBoxIsRefused_data()
    {
        QTest::addColumn<bool>("withMenu");
        QTest::newRow("without a menu") << false;
        QTest::newRow("with nothing selected") << true;
    }

    void keyBoxIsRefused()
    {
        QFETCH(bool, withMenu);
        if (withMenu)
            makeMenu();
        select(withMenu ? nullptr : trips());
        const QVariantList before = storedMenus();
        QSignalSpy refused(mController.get(), &KestrinMenuController::refused);
        for (QCheckBox* box : mPanel->remoteControlButtons() + QList<QCheckBox*> { mPanel->mTimeoutEnabledButton }) {
            clickBox(box);
            QVERIFY2(!box->isChecked(), qPrintable(box->text()));
        }
        QCOMPARE(refused.size(), 14);
        QCOMPARE(storedMenus(), before);
    }

    void steppersWithoutAMenuBeepAndStoreNothing()
    {
        QSignalSpy refused(mController.get(), &KestrinMenuController::refused);
        stepUp(mPanel->mStepperButton, 2);
        stepUp(mPanel->mStepperCountButton, 1);
        QCOMPARE(refused.size(), 3);
        QCOMPARE(mPanel->mStepperButton->value(), 0);
        QCOMPARE(mPanel->mStepperCountButton->value(), 0);
        QVERIFY(!QFile::exists(menuFile()));
    }

    void steppersStoreRealsAsTheyChange()
    {
        makeMenu();
        stepUp(mPanel->mStepperButton, 10);
        stepUp(mPanel->mStepperCountButton, 3);
        const QVariantMap menu = storedMenu();
        QCOMPARE(menu.value("Timeout").typeId(), QMetaType::Double);
        QCOMPARE(menu.value("Timeout").toDouble(), 750.0);
        QCOMPARE(menu.value("Loop").typeId(), QMetaType::Double);
        QCOMPARE(menu.value("Loop").toDouble(), 3.0);
        QFile file(menuFile());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains("<real>750"));
    }

    void openingAProjectShowsItsMenu()
    {
        QTemporaryDir other;
        const QVariantMap menu { { "Title", "/movies/a.mov" }, { "Timeout", 1500.0 }, { "Loop", 2.0 },
            { "EnableTimeout", "R/Trips" }, { "3", "R/movies/a.mov" }, { ">>|", "R/Trips" } };
        QVERIFY(PropertyList::writeXmlFile(other.filePath("Kestrin.menu"), QVariantList { menu }));
        mSettings->setProjectFolder(other.path());

        QVERIFY(mPanel->KestrinMenuButton->isChecked());
        QCOMPARE(mPanel->KestrinMenuButton->text(), QStringLiteral("a.mov"));
        QCOMPARE(mPanel->mStepperButton->value(), 20);
        QCOMPARE(mPanel->mStepperCountButton->value(), 2);
        QVERIFY(mPanel->mTimeoutEnabledButton->isChecked());
        QCOMPARE(mPanel->mTimeoutEnabledButton->toolTip(), QStringLiteral("Trips"));
        for (QCheckBox* box : mPanel->remoteControlButtons()) {
            const bool bound = menu.contains(box->text());
            QCOMPARE(box->isChecked(), bound);
            QCOMPARE(box->toolTip().isEmpty(), !bound);
        }
        // Showing the menu stores nothing.
        QCOMPARE(PropertyList::readFile(other.filePath("Kestrin.menu")).value.toList(), QVariantList { menu });

        mSettings->setProjectFolder(mFolder->path());
        QVERIFY(!mPanel->KestrinMenuButton->isChecked());
        QCOMPARE(mPanel->mStepperButton->value(), 0);
        QVERIFY(!mPanel->mRC3Button->isChecked());
    }

    void renamingAGroupUpdatesTheBoxesAndTheFile()
    {
        makeMenu();
        select(trips());
        clickBox(mPanel->mRC1Button);
        mController->fixMenu(QStringLiteral("R/Trips"), QStringLiteral("R/Holidays"));
        QCOMPARE(storedMenu().value("1").toString(), QStringLiteral("R/Holidays"));
        QCOMPARE(mPanel->mRC1Button->toolTip(), QStringLiteral("Holidays"));
        mController->fixMenu(QStringLiteral("R/Holidays"), QString());
        QVERIFY(!storedMenu().contains("1"));
        QVERIFY(!mPanel->mRC1Button->isChecked());
    }
};

QTEST_MAIN(TestMenuControls)
#include "tst_menucontrols.moc"
