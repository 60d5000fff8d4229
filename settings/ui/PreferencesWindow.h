#pragma once

#include <QDialog>

class Preferences;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class QSpinBox;

// The preferences window: what a new project starts with and which engine
// burns. Save stores, Revert puts the stored values back, Defaults resets
// and stores at once; closing the window forgets unsaved edits.
class PreferencesWindow : public QDialog
{
    Q_OBJECT

public:
    explicit PreferencesWindow(Preferences *preferences, QWidget *parent = nullptr);

    void prefsOpen();
    void prefsSave();
    void prefsRevert();
    void prefsDefaults();

    QRadioButton *prefsDefaultNTSCFormatRadio;
    QRadioButton *prefsDefaultPALFormatRadio;
    QRadioButton *prefsDefaultVCDRadio;
    QRadioButton *prefsDefaultSVCDRadio;
    QLineEdit *prefsDefaultVCDAuthorField;
    QLineEdit *prefsDefaultVCDTitleField;
    QSlider *prefsDefaultQualitySlider;
    QSlider *prefsDefaultLightnessSlider;
    QCheckBox *prefsDefaultTVSafeCheckbox;
    QCheckBox *prefsDefaultKioskCheckbox;
    QRadioButton *prefsDefaultAppleDRButton;
    QRadioButton *prefsDefaultCdrdaoButton;
    QCheckBox *prefsWarnSpaceCheckbox;
    QSpinBox *prefsWarnSpaceCombo;
    QCheckBox *prefsWarnMoreCheckbox;
    QSpinBox *prefsWarnMoreCombo;
    QCheckBox *prefsIncludeJolietCheckbox;
    QPushButton *prefsSaveButton;
    QPushButton *prefsRevertButton;
    QPushButton *prefsDefaultsButton;

protected:
    void done(int result) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QWidget *makeNewProjectGroup();
    QWidget *makeBurningGroup();
    QWidget *makeDataDiscGroup();
    QLayout *makeButtons();
    void prefsRead();
    void prefsChanged();
    void watchForEdits();

    Preferences *mPreferences;
};
