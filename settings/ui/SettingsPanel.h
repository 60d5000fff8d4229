#pragma once

#include <QWidget>

class QAbstractButton;
class QCheckBox;
class QLineEdit;
class QRadioButton;
class QSlider;
class SettingsModel;

// The project settings controls (the settings "drawer"). It mirrors the
// SettingsModel: the model's values are shown, and each deliberate change a
// person makes (a click, finished editing, a released slider) is reported
// once through `edited`, whose receiver decides whether it takes effect.
class SettingsPanel : public QWidget
{
    Q_OBJECT

public:
    explicit SettingsPanel(SettingsModel *settings, QWidget *parent = nullptr);

    QRadioButton *mVCDFormatRadio;
    QRadioButton *mSVCDFormatRadio;
    QRadioButton *mNTSCFormatRadio;
    QRadioButton *mPALFormatRadio;
    QLineEdit *mVCDTitleField;
    QLineEdit *mVCDAuthorField;
    QLineEdit *mBitRateField;
    QSlider *mQualitySlider;
    QCheckBox *mGenericCheckbox;
    QCheckBox *mInterlacedCheckbox;
    QCheckBox *mFramesizeCheckbox;
    QLineEdit *mFramesizeWField;
    QLineEdit *mFramesizeHField;
    QSlider *mLightnessSlider;
    QCheckBox *mTVSafeCheckbox;
    QCheckBox *mKioskCheckbox;

    // Shows the model's value of `key` in its control.
    void showValue(const QString &key);

signals:
    void edited(const QString &key, const QVariant &value);

private:
    QWidget *makeDiscGroup();
    QWidget *makeEncodingGroup();
    QWidget *makePictureGroup();
    void reportButton(QAbstractButton *button, const QString &key);
    void reportField(QLineEdit *field, const QString &key, bool integer);
    void reportSlider(QSlider *slider, const QString &key);
    void updateFrameSizeFields();

    SettingsModel *mSettings;
};
