#include "settings/ui/SettingsPanel.h"

#include "settings/SettingsModel.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

namespace {

template <typename Widget> Widget *named(Widget *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QSlider *makeSlider(const char *name, int maximum, const QString &tip)
{
    auto *slider = named(new QSlider(Qt::Horizontal), name);
    slider->setRange(0, maximum);
    slider->setToolTip(tip);
    return slider;
}

} // namespace

SettingsPanel::SettingsPanel(SettingsModel *settings, QWidget *parent)
    : QWidget(parent)
    , mSettings(settings)
{
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(makeDiscGroup());
    layout->addWidget(makeEncodingGroup());
    layout->addWidget(makePictureGroup());
    layout->addStretch();

    for (const QString &key : mSettings->values().keys())
        showValue(key);
    updateFrameSizeFields();
    connect(mSettings, &SettingsModel::valueChanged, this, [this](const QString &key) { showValue(key); });
}

QWidget *SettingsPanel::makeDiscGroup()
{
    auto *group = new QGroupBox(tr("Disc"));
    mVCDFormatRadio = named(new QRadioButton(tr("&VCD")), "mVCDFormatRadio");
    mVCDFormatRadio->setToolTip(tr("Video CD: MPEG-1 video at 352×240 (NTSC) or 352×288 (PAL)"));
    mSVCDFormatRadio = named(new QRadioButton(tr("SV&CD")), "mSVCDFormatRadio");
    mSVCDFormatRadio->setToolTip(tr("Super Video CD: MPEG-2 video at 480×480 (NTSC) or 480×576 (PAL)"));
    mNTSCFormatRadio = named(new QRadioButton(tr("&NTSC")), "mNTSCFormatRadio");
    mNTSCFormatRadio->setToolTip(tr("Television system of North America and Japan: 29.97 frames per second"));
    mPALFormatRadio = named(new QRadioButton(tr("&PAL")), "mPALFormatRadio");
    mPALFormatRadio->setToolTip(tr("Television system of most of Europe: 25 frames per second"));
    mVCDTitleField = named(new QLineEdit, "mVCDTitleField");
    mVCDTitleField->setToolTip(tr("The disc's title, which players show as its album name"));
    mVCDAuthorField = named(new QLineEdit, "mVCDAuthorField");
    mVCDAuthorField->setToolTip(tr("Who made the disc"));

    // Each pair is exclusive on its own.
    auto *formats = new QButtonGroup(group);
    formats->addButton(mVCDFormatRadio);
    formats->addButton(mSVCDFormatRadio);
    auto *systems = new QButtonGroup(group);
    systems->addButton(mNTSCFormatRadio);
    systems->addButton(mPALFormatRadio);

    auto *formatRow = new QHBoxLayout;
    formatRow->addWidget(mVCDFormatRadio);
    formatRow->addWidget(mSVCDFormatRadio);
    formatRow->addStretch();
    auto *systemRow = new QHBoxLayout;
    systemRow->addWidget(mNTSCFormatRadio);
    systemRow->addWidget(mPALFormatRadio);
    systemRow->addStretch();

    auto *form = new QFormLayout(group);
    form->addRow(tr("Format:"), formatRow);
    form->addRow(tr("TV system:"), systemRow);
    form->addRow(tr("&Title:"), mVCDTitleField);
    form->addRow(tr("&Author:"), mVCDAuthorField);

    reportButton(mVCDFormatRadio, QStringLiteral("FormatVCD"));
    reportButton(mSVCDFormatRadio, QStringLiteral("FormatSVCD"));
    reportButton(mNTSCFormatRadio, QStringLiteral("FormatNTSC"));
    reportButton(mPALFormatRadio, QStringLiteral("FormatPAL"));
    reportField(mVCDTitleField, QStringLiteral("Title"), false);
    reportField(mVCDAuthorField, QStringLiteral("Author"), false);
    return group;
}

QWidget *SettingsPanel::makeEncodingGroup()
{
    auto *group = new QGroupBox(tr("Encoding"));
    mBitRateField = named(new QLineEdit, "mBitRateField");
    mBitRateField->setValidator(new QIntValidator(0, 99999, mBitRateField));
    mBitRateField->setToolTip(tr("Video bit rate in kbit/s. A VCD player expects 1152; SVCD allows up to 2600."));
    mQualitySlider = makeSlider(
        "mQualitySlider", 100, tr("Encoding quality: higher searches motion more thoroughly and takes longer"));
    mInterlacedCheckbox = named(new QCheckBox(tr("&Interlaced")), "mInterlacedCheckbox");
    mInterlacedCheckbox->setToolTip(tr("Encode the picture as interlaced fields, for interlaced sources"));
    mGenericCheckbox = named(new QCheckBox(tr("&Generic MPEG stream")), "mGenericCheckbox");
    mGenericCheckbox->setToolTip(tr("Multiplex as a generic MPEG file instead of a disc stream"));

    auto *form = new QFormLayout(group);
    form->addRow(tr("&Bit rate:"), mBitRateField);
    form->addRow(tr("&Quality:"), mQualitySlider);
    form->addRow(mInterlacedCheckbox);
    form->addRow(mGenericCheckbox);

    reportField(mBitRateField, QStringLiteral("BitRate"), true);
    reportSlider(mQualitySlider, QStringLiteral("Quality"));
    reportButton(mInterlacedCheckbox, QStringLiteral("Interlaced"));
    reportButton(mGenericCheckbox, QStringLiteral("GenericMPEG"));
    return group;
}

QWidget *SettingsPanel::makePictureGroup()
{
    auto *group = new QGroupBox(tr("Picture"));
    mFramesizeCheckbox = named(new QCheckBox(tr("Own frame si&ze")), "mFramesizeCheckbox");
    mFramesizeCheckbox->setToolTip(tr("Encode at the width and height below instead of the disc's own size"));
    mFramesizeWField = named(new QLineEdit, "mFramesizeWField");
    mFramesizeHField = named(new QLineEdit, "mFramesizeHField");
    const QString sizeTip = tr("In pixels; 0 keeps the disc's size. A width that is not a multiple of 4 or an "
                               "odd height is rounded down, and nothing goes below 16 × 16.");
    for (QLineEdit *field : { mFramesizeWField, mFramesizeHField }) {
        field->setValidator(new QIntValidator(0, 4096, field));
        field->setToolTip(sizeTip);
    }
    mLightnessSlider = makeSlider("mLightnessSlider", 255, tr("Lightens the picture; 0 and 1 leave it as it is"));
    mTVSafeCheckbox = named(new QCheckBox(tr("Fit into the TV-&safe area")), "mTVSafeCheckbox");
    mTVSafeCheckbox->setToolTip(tr("Shrink the picture so no part of it is hidden under a television's frame"));
    mKioskCheckbox = named(new QCheckBox(tr("&Kiosk mode")), "mKioskCheckbox");
    mKioskCheckbox->setToolTip(tr("After a movie, the player returns to the menu instead of stopping"));

    auto *sizeRow = new QHBoxLayout;
    sizeRow->addWidget(mFramesizeWField);
    sizeRow->addWidget(new QLabel(QStringLiteral("×")));
    sizeRow->addWidget(mFramesizeHField);

    auto *form = new QFormLayout(group);
    form->addRow(mFramesizeCheckbox);
    form->addRow(tr("Size:"), sizeRow);
    form->addRow(tr("&Lightness:"), mLightnessSlider);
    form->addRow(mTVSafeCheckbox);
    form->addRow(mKioskCheckbox);

    reportButton(mFramesizeCheckbox, QStringLiteral("Framesize"));
    reportField(mFramesizeWField, QStringLiteral("FramesizeW"), true);
    reportField(mFramesizeHField, QStringLiteral("FramesizeH"), true);
    reportSlider(mLightnessSlider, QStringLiteral("Lightness"));
    reportButton(mTVSafeCheckbox, QStringLiteral("TVSafe"));
    reportButton(mKioskCheckbox, QStringLiteral("Kiosk"));
    return group;
}

void SettingsPanel::reportButton(QAbstractButton *button, const QString &key)
{
    connect(button, &QAbstractButton::clicked, this,
        [this, button, key] { emit edited(key, qlonglong(button->isChecked() ? 1 : 0)); });
}

void SettingsPanel::reportField(QLineEdit *field, const QString &key, bool integer)
{
    connect(field, &QLineEdit::editingFinished, this, [this, field, key, integer] {
        if (!field->isModified())
            return;
        field->setModified(false);
        emit edited(key, integer ? QVariant(field->text().toLongLong()) : QVariant(field->text()));
    });
}

void SettingsPanel::reportSlider(QSlider *slider, const QString &key)
{
    // One report per deliberate change: at the release of a drag, or for a
    // step taken with the keyboard or a click on the groove.
    connect(slider, &QSlider::sliderReleased, this, [this, slider, key] { emit edited(key, double(slider->value())); });
    connect(slider, &QSlider::valueChanged, this, [this, slider, key](int value) {
        if (!slider->isSliderDown())
            emit edited(key, double(value));
    });
}

void SettingsPanel::showValue(const QString &key)
{
    const QVariant value = mSettings->value(key);
    auto setChecked = [&](QAbstractButton *button) {
        const QSignalBlocker block(button);
        button->setChecked(value.toLongLong() != 0);
    };
    auto setText = [&](QLineEdit *field) {
        const QSignalBlocker block(field);
        field->setText(value.toString());
        field->setModified(false);
    };
    auto setSlider = [&](QSlider *slider) {
        const QSignalBlocker block(slider);
        slider->setValue(int(value.toDouble()));
    };
    const QHash<QString, std::function<void()>> shows {
        { QStringLiteral("FormatVCD"), [&] { setChecked(mVCDFormatRadio); } },
        { QStringLiteral("FormatSVCD"), [&] { setChecked(mSVCDFormatRadio); } },
        { QStringLiteral("FormatNTSC"), [&] { setChecked(mNTSCFormatRadio); } },
        { QStringLiteral("FormatPAL"), [&] { setChecked(mPALFormatRadio); } },
        { QStringLiteral("Title"), [&] { setText(mVCDTitleField); } },
        { QStringLiteral("Author"), [&] { setText(mVCDAuthorField); } },
        { QStringLiteral("BitRate"), [&] { setText(mBitRateField); } },
        { QStringLiteral("Quality"), [&] { setSlider(mQualitySlider); } },
        { QStringLiteral("Interlaced"), [&] { setChecked(mInterlacedCheckbox); } },
        { QStringLiteral("GenericMPEG"), [&] { setChecked(mGenericCheckbox); } },
        { QStringLiteral("Framesize"),
            [&] {
                setChecked(mFramesizeCheckbox);
                updateFrameSizeFields();
            } },
        { QStringLiteral("FramesizeW"), [&] { setText(mFramesizeWField); } },
        { QStringLiteral("FramesizeH"), [&] { setText(mFramesizeHField); } },
        { QStringLiteral("Lightness"), [&] { setSlider(mLightnessSlider); } },
        { QStringLiteral("TVSafe"), [&] { setChecked(mTVSafeCheckbox); } },
        { QStringLiteral("Kiosk"), [&] { setChecked(mKioskCheckbox); } },
    };
    if (auto show = shows.find(key); show != shows.end())
        show.value()();
}

void SettingsPanel::updateFrameSizeFields()
{
    const bool on = mFramesizeCheckbox->isChecked();
    mFramesizeWField->setEnabled(on);
    mFramesizeHField->setEnabled(on);
}
