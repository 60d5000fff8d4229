#include "settings/ui/PreferencesWindow.h"

#include "settings/Preferences.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

QHBoxLayout *row(QWidget *a, QWidget *b)
{
    auto *layout = new QHBoxLayout;
    layout->addWidget(a);
    layout->addWidget(b);
    layout->addStretch();
    return layout;
}

QSpinBox *megabytesBox()
{
    auto *box = new QSpinBox;
    box->setRange(0, 99999);
    box->setSuffix(QStringLiteral(" MB"));
    return box;
}

void exclusive(QObject *owner, QAbstractButton *a, QAbstractButton *b)
{
    auto *group = new QButtonGroup(owner);
    group->addButton(a);
    group->addButton(b);
}

} // namespace

PreferencesWindow::PreferencesWindow(Preferences *preferences, QWidget *parent)
    : QDialog(parent)
    , mPreferences(preferences)
{
    setObjectName(QStringLiteral("prefsWindow"));
    setWindowTitle(tr("Kestrin Preferences"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(makeNewProjectGroup());
    layout->addWidget(makeBurningGroup());
    layout->addWidget(makeDataDiscGroup());
    layout->addLayout(makeButtons());
    // Room for a title and an author of a usual length.
    setMinimumWidth(420);
    watchForEdits();
    connect(mPreferences, &Preferences::preferencesChanged, this, &PreferencesWindow::prefsRevert);
    prefsRevert();
}

QWidget *PreferencesWindow::makeNewProjectGroup()
{
    auto *group = new QGroupBox(tr("New projects start with"));
    prefsDefaultVCDRadio = new QRadioButton(tr("&VCD"));
    prefsDefaultSVCDRadio = new QRadioButton(tr("SV&CD"));
    prefsDefaultNTSCFormatRadio = new QRadioButton(tr("&NTSC"));
    prefsDefaultPALFormatRadio = new QRadioButton(tr("&PAL"));
    exclusive(group, prefsDefaultVCDRadio, prefsDefaultSVCDRadio);
    exclusive(group, prefsDefaultNTSCFormatRadio, prefsDefaultPALFormatRadio);
    prefsDefaultVCDTitleField = new QLineEdit;
    prefsDefaultVCDAuthorField = new QLineEdit;
    prefsDefaultQualitySlider = new QSlider(Qt::Horizontal);
    prefsDefaultQualitySlider->setRange(0, 100);
    prefsDefaultQualitySlider->setToolTip(tr("Encoding quality: higher takes longer"));
    prefsDefaultLightnessSlider = new QSlider(Qt::Horizontal);
    prefsDefaultLightnessSlider->setRange(0, 255);
    prefsDefaultLightnessSlider->setToolTip(tr("Lightens the picture; 0 and 1 leave it as it is"));
    prefsDefaultTVSafeCheckbox = new QCheckBox(tr("Fit into the TV-&safe area"));
    prefsDefaultKioskCheckbox = new QCheckBox(tr("&Kiosk mode"));

    auto *form = new QFormLayout(group);
    form->addRow(tr("Format:"), row(prefsDefaultVCDRadio, prefsDefaultSVCDRadio));
    form->addRow(tr("TV system:"), row(prefsDefaultNTSCFormatRadio, prefsDefaultPALFormatRadio));
    form->addRow(tr("&Title:"), prefsDefaultVCDTitleField);
    form->addRow(tr("&Author:"), prefsDefaultVCDAuthorField);
    form->addRow(tr("&Quality:"), prefsDefaultQualitySlider);
    form->addRow(tr("&Lightness:"), prefsDefaultLightnessSlider);
    form->addRow(prefsDefaultTVSafeCheckbox);
    form->addRow(prefsDefaultKioskCheckbox);
    return group;
}

QWidget *PreferencesWindow::makeBurningGroup()
{
    auto *group = new QGroupBox(tr("Burn discs with"));
    prefsDefaultAppleDRButton = new QRadioButton(tr("Kestrin's &disc recording"));
    prefsDefaultAppleDRButton->setToolTip(tr("Kestrin writes the disc itself, or a disc image file"));
    prefsDefaultCdrdaoButton = new QRadioButton(tr("cdrda&o"));
    prefsDefaultCdrdaoButton->setToolTip(tr("The cdrdao program writes the disc"));
    exclusive(group, prefsDefaultAppleDRButton, prefsDefaultCdrdaoButton);
    auto *column = new QVBoxLayout(group);
    column->addWidget(prefsDefaultAppleDRButton);
    column->addWidget(prefsDefaultCdrdaoButton);
    return group;
}

QWidget *PreferencesWindow::makeDataDiscGroup()
{
    auto *group = new QGroupBox(tr("Data discs"));
    prefsWarnSpaceCheckbox = new QCheckBox(tr("Warn when the files fill less than"));
    prefsWarnSpaceCombo = megabytesBox();
    prefsWarnMoreCheckbox = new QCheckBox(tr("Warn when the files need more than"));
    prefsWarnMoreCombo = megabytesBox();
    prefsIncludeJolietCheckbox = new QCheckBox(tr("Include &Joliet names (the disc cannot be added to later)"));
    prefsIncludeJolietCheckbox->setToolTip(tr("Long file names for Windows; the disc is closed after the burn"));
    auto *column = new QVBoxLayout(group);
    column->addLayout(row(prefsWarnSpaceCheckbox, prefsWarnSpaceCombo));
    column->addLayout(row(prefsWarnMoreCheckbox, prefsWarnMoreCombo));
    column->addWidget(prefsIncludeJolietCheckbox);
    return group;
}

QLayout *PreferencesWindow::makeButtons()
{
    prefsDefaultsButton = new QPushButton(tr("De&faults"));
    prefsRevertButton = new QPushButton(tr("&Revert"));
    prefsSaveButton = new QPushButton(tr("Sav&e"));
    prefsSaveButton->setDefault(true);
    connect(prefsDefaultsButton, &QPushButton::clicked, this, &PreferencesWindow::prefsDefaults);
    connect(prefsRevertButton, &QPushButton::clicked, this, &PreferencesWindow::prefsRevert);
    connect(prefsSaveButton, &QPushButton::clicked, this, &PreferencesWindow::prefsSave);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(prefsDefaultsButton);
    buttons->addStretch();
    buttons->addWidget(prefsRevertButton);
    buttons->addWidget(prefsSaveButton);
    return buttons;
}

void PreferencesWindow::watchForEdits()
{
    const QList<QAbstractButton *> buttons { prefsDefaultVCDRadio, prefsDefaultSVCDRadio, prefsDefaultNTSCFormatRadio,
        prefsDefaultPALFormatRadio, prefsDefaultTVSafeCheckbox, prefsDefaultKioskCheckbox, prefsDefaultAppleDRButton,
        prefsDefaultCdrdaoButton, prefsWarnSpaceCheckbox, prefsWarnMoreCheckbox, prefsIncludeJolietCheckbox };
    for (QAbstractButton *button : buttons)
        connect(button, &QAbstractButton::toggled, this, &PreferencesWindow::prefsChanged);
    for (QLineEdit *field : { prefsDefaultVCDAuthorField, prefsDefaultVCDTitleField })
        connect(field, &QLineEdit::textEdited, this, &PreferencesWindow::prefsChanged);
    for (QSlider *slider : { prefsDefaultQualitySlider, prefsDefaultLightnessSlider })
        connect(slider, &QSlider::valueChanged, this, &PreferencesWindow::prefsChanged);
    for (QSpinBox *box : { prefsWarnSpaceCombo, prefsWarnMoreCombo })
        connect(box, &QSpinBox::valueChanged, this, &PreferencesWindow::prefsChanged);
}

void PreferencesWindow::prefsChanged()
{
    prefsRevertButton->setEnabled(true);
}

void PreferencesWindow::prefsOpen()
{
    prefsRevertButton->setEnabled(false);
    // Its size is known only once laid out, and centring needs it.
    adjustSize();
    if (QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    raise();
    activateWindow();
}

void PreferencesWindow::prefsRevert()
{
    const QList<QWidget *> controls = findChildren<QWidget *>();
    QList<QSharedPointer<QSignalBlocker>> blocks;
    for (QWidget *control : controls)
        blocks.append(QSharedPointer<QSignalBlocker>::create(control));
    const Preferences &p = *mPreferences;
    prefsDefaultNTSCFormatRadio->setChecked(p.prefsNTSCFormatStored != 0);
    prefsDefaultPALFormatRadio->setChecked(p.prefsPALFormatStored != 0);
    prefsDefaultVCDRadio->setChecked(p.prefsVCDStored != 0);
    prefsDefaultSVCDRadio->setChecked(p.prefsSVCDStored != 0);
    prefsDefaultVCDAuthorField->setText(p.prefsVCDAuthorStored);
    prefsDefaultVCDTitleField->setText(p.prefsVCDTitleStored);
    prefsDefaultQualitySlider->setValue(int(p.prefsQualityStored));
    prefsDefaultLightnessSlider->setValue(int(p.prefsLightnessStored));
    prefsDefaultTVSafeCheckbox->setChecked(p.prefsTVSafeStored != 0);
    prefsDefaultKioskCheckbox->setChecked(p.prefsKioskStored != 0);
    prefsDefaultAppleDRButton->setChecked(p.prefsAppleDRStored != 0);
    prefsDefaultCdrdaoButton->setChecked(p.prefsCdrdaoStored != 0);
    prefsWarnSpaceCheckbox->setChecked(p.prefsWarnSpaceCheckStored != 0);
    prefsWarnSpaceCombo->setValue(p.prefsWarnSpaceComboStored);
    prefsWarnMoreCheckbox->setChecked(p.prefsWarnMoreCheckStored != 0);
    prefsWarnMoreCombo->setValue(p.prefsWarnMoreComboStored);
    prefsIncludeJolietCheckbox->setChecked(p.prefsIncludeJolietStored != 0);
    prefsRevertButton->setEnabled(false);
}

void PreferencesWindow::prefsRead()
{
    Preferences &p = *mPreferences;
    p.prefsNTSCFormatStored = prefsDefaultNTSCFormatRadio->isChecked();
    p.prefsPALFormatStored = prefsDefaultPALFormatRadio->isChecked();
    p.prefsVCDStored = prefsDefaultVCDRadio->isChecked();
    p.prefsSVCDStored = prefsDefaultSVCDRadio->isChecked();
    p.prefsVCDAuthorStored = prefsDefaultVCDAuthorField->text();
    p.prefsVCDTitleStored = prefsDefaultVCDTitleField->text();
    p.prefsQualityStored = prefsDefaultQualitySlider->value();
    p.prefsLightnessStored = prefsDefaultLightnessSlider->value();
    p.prefsTVSafeStored = prefsDefaultTVSafeCheckbox->isChecked();
    p.prefsKioskStored = prefsDefaultKioskCheckbox->isChecked();
    p.prefsAppleDRStored = prefsDefaultAppleDRButton->isChecked();
    p.prefsCdrdaoStored = prefsDefaultCdrdaoButton->isChecked();
    p.prefsWarnSpaceCheckStored = prefsWarnSpaceCheckbox->isChecked();
    p.prefsWarnSpaceComboStored = prefsWarnSpaceCombo->value();
    p.prefsWarnMoreCheckStored = prefsWarnMoreCheckbox->isChecked();
    p.prefsWarnMoreComboStored = prefsWarnMoreCombo->value();
    p.prefsIncludeJolietStored = prefsIncludeJolietCheckbox->isChecked();
    p.prefsBitRateStored = 2500;
}

void PreferencesWindow::prefsSave()
{
    prefsRead();
    mPreferences->prefsSave();
    prefsRevertButton->setEnabled(false);
}

void PreferencesWindow::prefsDefaults()
{
    mPreferences->prefsDefaults(true);
}

void PreferencesWindow::done(int result)
{
    prefsRevert();
    QDialog::done(result);
}

void PreferencesWindow::closeEvent(QCloseEvent *event)
{
    prefsRevert();
    QDialog::closeEvent(event);
}
