#include "authoring/ui/MenuPanel.h"

#include "authoring/KestrinMenu.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

template <typename Widget> Widget* named(Widget* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// The remote-control boxes in the order of their keys.
struct KeyBox {
    QCheckBox* MenuPanel::*member;
    const char* name;
};
const KeyBox kKeyBoxes[] = { { &MenuPanel::mRC1Button, "mRC1Button" }, { &MenuPanel::mRC2Button, "mRC2Button" },
    { &MenuPanel::mRC3Button, "mRC3Button" }, { &MenuPanel::mRC4Button, "mRC4Button" },
    { &MenuPanel::mRC5Button, "mRC5Button" }, { &MenuPanel::mRC6Button, "mRC6Button" },
    { &MenuPanel::mRC7Button, "mRC7Button" }, { &MenuPanel::mRC8Button, "mRC8Button" },
    { &MenuPanel::mRC9Button, "mRC9Button" }, { &MenuPanel::mRC0Button, "mRC0Button" },
    { &MenuPanel::mRCPrevButton, "mRCPrevButton" }, { &MenuPanel::mRCPlayButton, "mRCPlayButton" },
    { &MenuPanel::mRCNextButton, "mRCNextButton" } };

// A remote-control box's title is its key, so it carries no shortcut.
QCheckBox* makeKeyBox(const QString& key, const char* name)
{
    return named(new QCheckBox(key), name);
}

QSpinBox* makeStepper(const char* name, int maximum, const QString& tip)
{
    auto* stepper = named(new QSpinBox, name);
    stepper->setRange(0, maximum);
    stepper->setKeyboardTracking(false);
    stepper->setToolTip(tip);
    return stepper;
}

} // namespace

MenuPanel::MenuPanel(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("mMenuPanel"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(makeMenuRow());
    layout->addWidget(makeKeysGroup());
    layout->addWidget(makeTimeoutGroup());
    layout->addStretch();
}

QWidget* MenuPanel::makeMenuRow()
{
    auto* row = new QWidget;
    auto* line = new QHBoxLayout(row);
    line->setContentsMargins(0, 0, 0, 0);
    KestrinMenuButton = named(new QPushButton(tr("No Menu")), "KestrinMenuButton");
    KestrinMenuButton->setCheckable(true);
    KestrinMenuButton->setToolTip(tr("No Menu"));
    mMenuMessage = named(new QLabel, "mMenuMessage");
    mMenuMessage->setWordWrap(true);
    auto* label = new QLabel(tr("Men&u movie:"));
    label->setBuddy(KestrinMenuButton);
    line->addWidget(label);
    line->addWidget(KestrinMenuButton);
    line->addWidget(mMenuMessage, 1);
    row->setWhatsThis(tr("Select a movie in the media tree and press the button: that movie plays as the menu. "
                         "Press it again to remove the menu."));
    return row;
}

QWidget* MenuPanel::makeKeysGroup()
{
    auto* group = new QGroupBox(tr("Remote-control keys (each plays the node selected in the media tree)"));
    const QStringList keys = KestrinMenu::remoteControlKeys();
    for (int index = 0; index < keys.size(); ++index)
        this->*kKeyBoxes[index].member = makeKeyBox(keys.at(index), kKeyBoxes[index].name);

    auto* grid = new QGridLayout(group);
    const QList<QCheckBox*> buttons = remoteControlButtons();
    for (int index = 0; index < 10; ++index)
        grid->addWidget(buttons.at(index), index / 5, index % 5);
    for (int index = 10; index < buttons.size(); ++index)
        grid->addWidget(buttons.at(index), 2, index - 10);
    grid->setColumnStretch(5, 1);
    return group;
}

QWidget* MenuPanel::makeTimeoutGroup()
{
    auto* group = new QGroupBox(tr("Timeout"));
    mTimeoutEnabledButton = named(
        new QCheckBox(tr("After waiting, g&o to the node selected in the media tree")), "mTimeoutEnabledButton");
    mStepperButton = makeStepper("mStepperButton", 600, tr("How long the menu waits for a key"));
    mStepperButton->setSuffix(tr(" s"));
    mStepperCountButton
        = makeStepper("mStepperCountButton", 127, tr("How many times the menu's movie plays while the menu waits"));

    auto* grid = new QGridLayout(group);
    auto* wait = new QLabel(tr("&Wait:"));
    wait->setBuddy(mStepperButton);
    auto* plays = new QLabel(tr("Pla&ys:"));
    plays->setBuddy(mStepperCountButton);
    grid->addWidget(wait, 0, 0);
    grid->addWidget(mStepperButton, 0, 1);
    grid->addWidget(plays, 0, 2);
    grid->addWidget(mStepperCountButton, 0, 3);
    grid->addWidget(mTimeoutEnabledButton, 1, 0, 1, 4);
    grid->setColumnStretch(4, 1);
    return group;
}

QList<QCheckBox*> MenuPanel::remoteControlButtons() const
{
    QList<QCheckBox*> boxes;
    for (const KeyBox& box : kKeyBoxes)
        boxes.append(this->*box.member);
    return boxes;
}
