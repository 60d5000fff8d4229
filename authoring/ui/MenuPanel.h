#pragma once

#include <QList>
#include <QWidget>

class QCheckBox;
class QLabel;
class QPushButton;
class QSpinBox;

// The controls of the menu tab: the menu button, the remote-control keys,
// the timeout and the loop count. It only lays them out; the menu
// controller gives them their work.
class MenuPanel : public QWidget {
    Q_OBJECT

public:
    explicit MenuPanel(QWidget* parent = nullptr);

    // On while the project has a menu; its title names the menu's movie.
    QPushButton* KestrinMenuButton;
    // The wait before the timeout, in seconds.
    QSpinBox* mStepperButton;
    // How many times the menu's movie plays.
    QSpinBox* mStepperCountButton;
    QCheckBox* mTimeoutEnabledButton;
    QCheckBox* mRC1Button;
    QCheckBox* mRC2Button;
    QCheckBox* mRC3Button;
    QCheckBox* mRC4Button;
    QCheckBox* mRC5Button;
    QCheckBox* mRC6Button;
    QCheckBox* mRC7Button;
    QCheckBox* mRC8Button;
    QCheckBox* mRC9Button;
    QCheckBox* mRC0Button;
    QCheckBox* mRCPrevButton;
    QCheckBox* mRCPlayButton;
    QCheckBox* mRCNextButton;
    // Why the last action was refused; empty otherwise.
    QLabel* mMenuMessage;

    // The remote-control boxes, titled by their keys: the digits 1 to 9 and
    // 0, then previous, play and next.
    QList<QCheckBox*> remoteControlButtons() const;

private:
    QWidget* makeMenuRow();
    QWidget* makeKeysGroup();
    QWidget* makeTimeoutGroup();
};
