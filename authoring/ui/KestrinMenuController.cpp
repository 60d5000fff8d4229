#include "authoring/ui/KestrinMenuController.h"

#include "authoring/KestrinMenu.h"
#include "authoring/ui/MenuPanel.h"
#include "media/MediaTree.h"
#include "media/SimpleTreeNode.h"
#include "platform/PathNames.h"
#include "settings/SettingsModel.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>

KestrinMenuController::KestrinMenuController(
    KestrinMenu *menus, MenuPanel *panel, SettingsModel *settings, QObject *parent)
    : QObject(parent)
    , mMenus(menus)
    , mPanel(panel)
    , mSettings(settings)
{
    connect(mPanel->KestrinMenuButton, &QPushButton::clicked, this, &KestrinMenuController::newKestrinMenu);
    connect(mPanel->mStepperButton, &QSpinBox::valueChanged, this, &KestrinMenuController::stepperAction);
    connect(mPanel->mStepperCountButton, &QSpinBox::valueChanged, this, &KestrinMenuController::countStepperAction);
    connect(mPanel->mTimeoutEnabledButton, &QCheckBox::clicked, this, &KestrinMenuController::timeoutEnabledAction);
    for (QCheckBox *box : mPanel->remoteControlButtons())
        connect(box, &QCheckBox::clicked, this, [this, box](bool on) { remoteControlAction(box, on); });
    // The menus always belong to the project that the window shows.
    connect(mSettings, &SettingsModel::projectFolderChanged, this, &KestrinMenuController::setupMenus);
    setupMenus();
}

void KestrinMenuController::setupMenus()
{
    mMenus->setupMenus(mSettings->projectFolder());
    clearMessage();
    updateUI();
}

void KestrinMenuController::updateUI()
{
    const KestrinMenu::Menu menu = mMenus->currentMenu();
    const QString title = menu.value(KestrinMenu::kTitleKey).toString();
    const QString buttonTitle = title.isEmpty() ? tr("No Menu") : PathNames::lastPathComponent(title);
    mPanel->KestrinMenuButton->setChecked(!title.isEmpty());
    mPanel->KestrinMenuButton->setText(buttonTitle);
    mPanel->KestrinMenuButton->setToolTip(buttonTitle);
    {
        const QSignalBlocker timeoutBlocker(mPanel->mStepperButton);
        const QSignalBlocker loopBlocker(mPanel->mStepperCountButton);
        mPanel->mStepperButton->setValue(
            int(menu.value(KestrinMenu::kTimeoutKey).toDouble()) / KestrinMenu::kTimeoutUnitsPerSecond);
        mPanel->mStepperCountButton->setValue(int(menu.value(KestrinMenu::kLoopKey).toDouble()));
    }
    showKey(mPanel->mTimeoutEnabledButton, KestrinMenu::kEnableTimeoutKey);
    for (QCheckBox *box : mPanel->remoteControlButtons())
        showKey(box, box->text());
}

void KestrinMenuController::showKey(QAbstractButton *box, const QString &key)
{
    const QString path = mMenus->currentMenu().value(key).toString();
    box->setChecked(!path.isEmpty());
    box->setToolTip(path.isEmpty() ? QString() : PathNames::lastPathComponent(path));
}

void KestrinMenuController::fixMenu(const QString &oldPath, const QString &newPath)
{
    mMenus->fixMenu(oldPath, newPath);
    updateUI();
}

void KestrinMenuController::newKestrinMenu()
{
    clearMessage();
    if (mMenus->count() > 0) {
        mMenus->removeAllMenus();
        setupMenus();
        return;
    }
    const TreeNode *node = firstSelectedNode();
    if (mSettings->projectFolder().isEmpty())
        refuse(tr("Open a project first."));
    else if (!node)
        refuse(tr("Select the movie that the menu plays in the media tree first."));
    else if (!SimpleTreeNode::isLeafNode(node))
        refuse(tr("A menu plays a movie: select a movie, not a group."));
    else
        mMenus->newKestrinMenu(SimpleTreeNode::nameOf(node));
    updateUI();
}

void KestrinMenuController::stepperAction(int seconds)
{
    setStepperValue(KestrinMenu::kTimeoutKey, double(seconds) * KestrinMenu::kTimeoutUnitsPerSecond);
}

void KestrinMenuController::countStepperAction(int count)
{
    setStepperValue(KestrinMenu::kLoopKey, double(count));
}

void KestrinMenuController::setStepperValue(const QString &key, double value)
{
    clearMessage();
    if (!mMenus->setCurrentMenuValue(key, value)) {
        refuse(tr("Make a menu first."));
        updateUI();
    }
}

void KestrinMenuController::timeoutEnabledAction(bool on)
{
    bindKey(mPanel->mTimeoutEnabledButton, KestrinMenu::kEnableTimeoutKey, on);
}

void KestrinMenuController::remoteControlAction(QCheckBox *sender, bool on)
{
    bindKey(sender, sender->text(), on);
}

void KestrinMenuController::bindKey(QAbstractButton *box, const QString &key, bool on)
{
    clearMessage();
    const TreeNode *node = firstSelectedNode();
    if (!mMenus->hasCurrentMenu())
        refuse(tr("Make a menu first."));
    else if (on && !node)
        refuse(tr("Select the movie or group in the media tree that the key plays first."));
    else if (on)
        mMenus->setCurrentMenuValue(key, MediaTree::fullPathToNode(node));
    else
        mMenus->removeCurrentMenuValue(key);
    showKey(box, key);
}

TreeNode *KestrinMenuController::firstSelectedNode() const
{
    return mSelectedNodes ? mSelectedNodes().value(0) : nullptr;
}

void KestrinMenuController::refuse(const QString &why)
{
    QApplication::beep();
    mPanel->mMenuMessage->setText(why);
    emit refused(why);
}

void KestrinMenuController::clearMessage()
{
    mPanel->mMenuMessage->clear();
}
