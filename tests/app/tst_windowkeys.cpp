#include "app/KestrinApp.h"
#include "app/MainWindow.h"
#include "app/MyController.h"
#include "app/SelectProjectPanel.h"
#include "common/Fixtures.h"
#include "common/TestProject.h"
#include "conversion/ui/BuildMPEG.h"
#include "conversion/ui/ConversionProgressSheet.h"
#include "media/MediaTree.h"
#include "media/ui/MP3OutlineView.h"
#include "platform/PropertyList.h"
#include "platform/ui/DRBurnSetupPanel.h"
#include "settings/Preferences.h"
#include "settings/SettingsModel.h"
#include "settings/ui/PreferencesWindow.h"
#include "settings/ui/SettingsPanel.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QDockWidget>
#include <QFileDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabBar>
#include <QTest>

namespace {

bool isControl(const QWidget *widget)
{
    // Parts of Qt's own controls (a spin box's field, a dock's title
    // buttons, a view's header) are reached through their control.
    if (widget->objectName().startsWith(QLatin1String("qt_")) || qobject_cast<const QHeaderView *>(widget))
        return false;
    return qobject_cast<const QAbstractButton *>(widget) || qobject_cast<const QLineEdit *>(widget)
        || qobject_cast<const QAbstractSlider *>(widget) || qobject_cast<const QAbstractSpinBox *>(widget)
        || qobject_cast<const QAbstractItemView *>(widget) || qobject_cast<const QTabBar *>(widget)
        || qobject_cast<const QComboBox *>(widget);
}

// Controls a person can use now: shown and enabled.
QList<QWidget *> usableControls(const QWidget *window)
{
    QList<QWidget *> controls;
    for (QWidget *widget : window->findChildren<QWidget *>())
        if (isControl(widget) && widget->isVisibleTo(window) && widget->isEnabled()
            && !qobject_cast<QMenuBar *>(widget->parentWidget()))
            controls << widget;
    return controls;
}

QString describe(const QWidget *widget)
{
    QString text;
    if (auto *button = qobject_cast<const QAbstractButton *>(widget))
        text = button->text();
    return QStringLiteral("%1 %2 \"%3\"")
        .arg(QString::fromLatin1(widget->metaObject()->className()), widget->objectName(), text);
}

// The letter after a single '&', lower case; none for "&&" or no '&'.
QChar mnemonic(const QString &text)
{
    for (qsizetype at = 0; at + 1 < text.size(); ++at) {
        if (text.at(at) != QLatin1Char('&'))
            continue;
        if (text.at(at + 1) == QLatin1Char('&')) {
            ++at;
            continue;
        }
        return text.at(at + 1).toLower();
    }
    return {};
}

// Every Alt+letter of a window, with what it belongs to: buttons, labels,
// group boxes, tabs and the menu bar's menus share the one keyboard.
QMultiMap<QChar, QString> mnemonics(const QWidget *window)
{
    QMultiMap<QChar, QString> letters;
    const auto add = [&letters](const QString &text) {
        if (const QChar letter = mnemonic(text); !letter.isNull())
            letters.insert(letter, text);
    };
    for (const QWidget *widget : window->findChildren<QWidget *>()) {
        if (!widget->isVisibleTo(window))
            continue;
        if (auto *button = qobject_cast<const QAbstractButton *>(widget))
            add(button->text());
        else if (auto *label = qobject_cast<const QLabel *>(widget); label && label->buddy())
            add(label->text());
        else if (auto *group = qobject_cast<const QGroupBox *>(widget))
            add(group->title());
        else if (auto *tabs = qobject_cast<const QTabBar *>(widget))
            for (int index = 0; index < tabs->count(); ++index)
                add(tabs->tabText(index));
        else if (auto *bar = qobject_cast<const QMenuBar *>(widget))
            for (const QAction *menu : bar->actions())
                add(menu->text());
    }
    return letters;
}

QStringList clashes(const QMultiMap<QChar, QString> &letters)
{
    QStringList found;
    for (const QChar &letter : letters.uniqueKeys())
        if (letters.count(letter) > 1)
            found << QStringLiteral("%1: %2").arg(letter, letters.values(letter).join(QStringLiteral(", ")));
    return found;
}

// The controls that Tab and Shift+Tab visit, starting where the focus is.
QSet<QWidget *> tabVisits(QWidget *window, int presses)
{
    QSet<QWidget *> visited;
    for (int press = 0; press < presses; ++press) {
        QWidget *focus = QApplication::focusWidget();
        if (!focus)
            break;
        visited << focus;
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    return visited;
}

// A radio button of an exclusive group is reached through the group: Tab
// stops at its checked button, the arrow keys move between them.
bool reachedThroughItsGroup(QWidget *control, const QSet<QWidget *> &visited)
{
    auto *radio = qobject_cast<QRadioButton *>(control);
    if (!radio || !radio->group())
        return false;
    for (QAbstractButton *sibling : radio->group()->buttons())
        if (visited.contains(sibling))
            return true;
    return false;
}

// Controls whose text or picture is cut because their window gives them less
// than they need.
QStringList clippedControls(const QWidget *window)
{
    QStringList clipped;
    for (QWidget *widget : usableControls(window)) {
        const QSize need = widget->minimumSizeHint();
        if (qobject_cast<QAbstractButton *>(widget) && widget->width() < widget->sizeHint().width())
            clipped << describe(widget) + QStringLiteral(" is narrower than its text");
        else if (need.isValid() && (widget->width() < need.width() || widget->height() < need.height()))
            clipped << describe(widget) + QStringLiteral(" is smaller than its minimum");
    }
    return clipped;
}

// With KESTRIN_SCREENSHOTS naming a folder, the pictures of the windows go
// there (scripts/screenshots runs this under Xvfb); under a real display the
// whole screen too, which shows a sheet over its window.
void keepPicture(QWidget *widget, const QString &name)
{
    const QString folder = qEnvironmentVariable("KESTRIN_SCREENSHOTS");
    if (folder.isEmpty())
        return;
    const QString prefix = folder + QLatin1Char('/') + name;
    QVERIFY(widget->grab().save(prefix + QStringLiteral(".png")));
    if (QGuiApplication::platformName() == QLatin1String("offscreen"))
        return;
    QVERIFY(QTest::qWaitForWindowExposed(widget->window()));
    QTest::qWait(300); // the window manager's and the painting's turn
    QVERIFY(widget->screen()->grabWindow(0).save(prefix + QStringLiteral("-screen.png")));
}

} // namespace

// The windows as a person who uses the keyboard meets them: every control
// can be reached, no two controls of a window answer the same Alt+letter,
// the settings explain themselves, and nothing is cut at 1280×800.
class TestWindowKeys : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestProject> mProject;
    std::unique_ptr<KestrinApp> mApp;

    void openProject()
    {
        mApp->settings->setProjectFolder(mProject->folder());
        mApp->mediaTree->loadFromFile(mProject->file(QStringLiteral("Kestrin.tree")));
        mApp->preferences->projectSettingsLoad(mProject->folder());
    }

    void showActive(QWidget *window)
    {
        window->show();
        QApplication::setActiveWindow(window);
        QTRY_COMPARE(QApplication::activeWindow(), window);
    }

    void everyControlIsReachedWithTab(QWidget *window)
    {
        const QList<QWidget *> controls = usableControls(window);
        controls.first()->setFocus(Qt::TabFocusReason);
        const QSet<QWidget *> visited = tabVisits(window, 3 * int(controls.size()));
        QStringList missed;
        for (QWidget *control : controls)
            if (!visited.contains(control) && !reachedThroughItsGroup(control, visited))
                missed << describe(control);
        QVERIFY2(missed.isEmpty(), qPrintable(missed.join(QLatin1Char('\n'))));
    }

private slots:
    void init()
    {
        mProject = std::make_unique<TestProject>(TestProject::group(QStringLiteral("Disc"), {}));
        mProject->saveSettings();
        mApp = std::make_unique<KestrinApp>();
        openProject();
        mApp->window->resize(1280, 770); // 1280×800 less a title bar
        showActive(mApp->window.get());
    }

    void cleanup()
    {
        mApp.reset();
        mProject.reset();
    }

    void mainWindowIsReachedWithTab() { everyControlIsReachedWithTab(mApp->window.get()); }

    void preferencesAreReachedWithTab()
    {
        PreferencesWindow *preferences = mApp->controller->preferencesWindow();
        mApp->window->mPreferencesAction->trigger();
        showActive(preferences);
        everyControlIsReachedWithTab(preferences);
    }

    void noTwoControlsShareAnAltLetter_data()
    {
        QTest::addColumn<QString>("window");
        QTest::newRow("main window, No Menu tab") << QStringLiteral("main");
        QTest::newRow("main window, Menu tab") << QStringLiteral("menu");
        QTest::newRow("preferences") << QStringLiteral("preferences");
    }

    void noTwoControlsShareAnAltLetter()
    {
        QFETCH(QString, window);
        QWidget *shown = mApp->window.get();
        if (window == QLatin1String("menu"))
            mApp->window->mMenuTabView->setCurrentIndex(1);
        if (window == QLatin1String("preferences")) {
            mApp->window->mPreferencesAction->trigger();
            shown = mApp->controller->preferencesWindow();
        }
        const QStringList found = clashes(mnemonics(shown));
        QVERIFY2(found.isEmpty(), qPrintable(found.join(QLatin1Char('\n'))));
    }

    void noTwoCommandsShareAShortcut()
    {
        QMultiMap<QString, QString> owners;
        for (const QAction *action : mApp->window->findChildren<QAction *>())
            for (const QKeySequence &key : action->shortcuts())
                owners.insert(key.toString(), action->text());
        QStringList found;
        for (const QString &key : owners.uniqueKeys())
            if (owners.count(key) > 1)
                found << QStringLiteral("%1: %2").arg(key, owners.values(key).join(QStringLiteral(", ")));
        QVERIFY2(found.isEmpty(), qPrintable(found.join(QLatin1Char('\n'))));
    }

    void everySettingExplainsItself()
    {
        QStringList silent;
        for (QWidget *control : usableControls(mApp->window->mSettingsPanel))
            if (control->toolTip().isEmpty())
                silent << describe(control);
        QVERIFY2(silent.isEmpty(), qPrintable(silent.join(QLatin1Char('\n'))));
    }

    void nothingIsCutAt1280x800()
    {
        QWidget *window = mApp->window.get();
        QVERIFY(window->minimumSizeHint().width() <= 1280);
        QVERIFY(window->minimumSizeHint().height() <= 770);
        mApp->window->mMenuTabView->setCurrentIndex(1);
        QApplication::processEvents();
        QCOMPARE(window->size(), QSize(1280, 770));
        const QStringList clipped = clippedControls(window);
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(QLatin1Char('\n'))));
    }

    // The conversion's sheet over the window while it works, then Stop.
    void progressSheetFitsAndStops()
    {
        const QString movie = Fixtures::pal25Mp4(20);
        QVERIFY(!movie.isEmpty());
        QVariantMap tree = TestProject::group(QStringLiteral("Disc"),
            { Fixtures::h264AacMp4(), Fixtures::mpeg1Mp2Mpg(),
                TestProject::group(QStringLiteral("Extras"), { movie, Fixtures::noSoundMp4() }) });
        QVERIFY(PropertyList::writeXmlFile(mProject->file(QStringLiteral("Kestrin.tree")), tree));
        openProject();
        mApp->window->mMediaTreeView->expandAll();
        keepPicture(mApp->window.get(), QStringLiteral("main-window"));
        keepPicture(mApp->window->mSettingsDrawer, QStringLiteral("settings-panel"));
        mApp->window->mMenuTabView->setCurrentIndex(1);
        keepPicture(mApp->window->mMenuTabView, QStringLiteral("menu-tab"));
        mApp->window->mMenuTabView->setCurrentIndex(0);

        mApp->window->mConvertAction->trigger();
        ConversionProgressSheet *sheet = mApp->buildMPEG->progressSheet();
        QVERIFY(sheet && sheet->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(sheet->mConvertVideoProgress->value() > 0, 60000);
        QVERIFY(sheet->width() <= mApp->window->width());
        const QStringList clipped = clippedControls(sheet);
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(QLatin1Char('\n'))));
        keepPicture(sheet, QStringLiteral("progress-sheet"));

        QTest::mouseClick(sheet->mStopButton, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!mApp->buildMPEG->isConverting(), 60000);
    }

    // The panels a new user meets first: the choice of a project, and the
    // choice of the recorder before Convert, Build Image and Burn.
    void firstPanelsFit()
    {
        mApp->controller->applicationDidFinishLaunching();
        QTRY_VERIFY(mApp->controller->selectProjectPanel() && mApp->controller->selectProjectPanel()->isVisible());
        QWidget *choice = mApp->controller->selectProjectPanel();
        QStringList clipped = clippedControls(choice);
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(QLatin1Char('\n'))));
        keepPicture(choice, QStringLiteral("select-project"));
        static_cast<QDialog *>(choice)->done(SelectProjectPanel::Open);
        QTRY_VERIFY(mApp->controller->openPanel() && mApp->controller->openPanel()->isVisible());
        mApp->controller->openPanel()->selectFile(mProject->folder());
        static_cast<QDialog *>(mApp->controller->openPanel())->done(QDialog::Accepted);
        QTRY_COMPARE(mApp->settings->projectFolder(), mProject->folder());

        mApp->window->mConvertImageBurnAction->trigger();
        DRBurnSetupPanel *setup = mApp->buildMPEG->burnSetupPanel();
        QVERIFY(setup && setup->isVisible());
        QTRY_VERIFY(!setup->isScanning());
        clipped = clippedControls(setup);
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(QLatin1Char('\n'))));
        keepPicture(setup, QStringLiteral("burn-setup"));
        setup->reject();
    }

    void preferencesFitTheirWindow()
    {
        PreferencesWindow *preferences = mApp->controller->preferencesWindow();
        mApp->window->mPreferencesAction->trigger();
        QVERIFY(preferences->isVisible());
        const QStringList clipped = clippedControls(preferences);
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(QLatin1Char('\n'))));
        keepPicture(preferences, QStringLiteral("preferences"));
    }
};

QTEST_MAIN(TestWindowKeys)
#include "tst_windowkeys.moc"
