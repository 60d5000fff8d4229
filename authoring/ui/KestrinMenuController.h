#pragma once

#include <QList>
#include <QObject>
#include <QString>

#include <functional>

class KestrinMenu;
class MenuPanel;
class QAbstractButton;
class QCheckBox;
class SettingsModel;
class TreeNode;

// Designs the project's menu with the controls of the menu tab: the menu
// button makes a menu from the movie selected in the media tree (or removes
// the menu), the remote-control boxes and the timeout box bind their key to
// the selected node, the steppers set the wait and the loop count. What a
// person is refused beeps and says why beside the menu button.
class KestrinMenuController : public QObject {
    Q_OBJECT

public:
    using SelectedNodes = std::function<QList<TreeNode*>()>;

    KestrinMenuController(KestrinMenu* menus, MenuPanel* panel, SettingsModel* settings, QObject* parent = nullptr);

    // Where the media tree's selection comes from; without it nothing is
    // selected.
    void setSelectedNodes(SelectedNodes selectedNodes) { mSelectedNodes = std::move(selectedNodes); }

    // Reloads the open project's menus and shows the first.
    void setupMenus();
    void updateUI();
    // A node's full path changed, or the node went (`newPath` empty).
    void fixMenu(const QString& oldPath, const QString& newPath);

    void newKestrinMenu();
    void stepperAction(int seconds);
    void countStepperAction(int count);
    void timeoutEnabledAction(bool on);
    void remoteControlAction(QCheckBox* sender, bool on);

signals:
    // An action was refused: the system beeped, and `why` is shown.
    void refused(const QString& why);

private:
    void bindKey(QAbstractButton* box, const QString& key, bool on);
    void showKey(QAbstractButton* box, const QString& key);
    void setStepperValue(const QString& key, double value);
    void refuse(const QString& why);
    void clearMessage();
    TreeNode* firstSelectedNode() const;

    KestrinMenu* mMenus;
    MenuPanel* mPanel;
    SettingsModel* mSettings;
    SelectedNodes mSelectedNodes;
};
