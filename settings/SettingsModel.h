#pragma once

#include <QMutex>
#include <QObject>
#include <QString>
#include <QVariantMap>

// The live values of the open project's settings: what the settings panel
// shows and the user last set. Conversion and authoring read these at the
// moment they run, from any thread; the panel mirrors them. Keys are those of
// the settings file ("FormatVCD", "BitRate", "Quality", ...).
class SettingsModel : public QObject
{
    Q_OBJECT

public:
    explicit SettingsModel(QObject *parent = nullptr);

    // Thread-safe; an absent key reads as an invalid QVariant.
    QVariant value(const QString &key) const;
    QVariantMap values() const;

    // Main thread only. Emits valueChanged when the value really changes.
    void setValue(const QString &key, const QVariant &value);

    // Typed readers for the keys every part uses (absent keys read as 0 or "").
    QString author() const { return value(QStringLiteral("Author")).toString(); }
    QString title() const { return value(QStringLiteral("Title")).toString(); }
    bool formatVCD() const { return intValue(QStringLiteral("FormatVCD")) != 0; }
    bool formatSVCD() const { return intValue(QStringLiteral("FormatSVCD")) != 0; }
    bool formatPAL() const { return intValue(QStringLiteral("FormatPAL")) != 0; }
    bool formatNTSC() const { return intValue(QStringLiteral("FormatNTSC")) != 0; }
    int bitRate() const { return intValue(QStringLiteral("BitRate")); }
    double quality() const { return value(QStringLiteral("Quality")).toDouble(); }
    bool genericMPEG() const { return intValue(QStringLiteral("GenericMPEG")) != 0; }
    bool framesize() const { return intValue(QStringLiteral("Framesize")) != 0; }
    int framesizeW() const { return intValue(QStringLiteral("FramesizeW")); }
    int framesizeH() const { return intValue(QStringLiteral("FramesizeH")); }
    double lightness() const { return value(QStringLiteral("Lightness")).toDouble(); }
    bool tvSafe() const { return intValue(QStringLiteral("TVSafe")) != 0; }
    bool kiosk() const { return intValue(QStringLiteral("Kiosk")) != 0; }
    bool interlaced() const { return intValue(QStringLiteral("Interlaced")) != 0; }
    int menuTab() const { return intValue(QStringLiteral("MenuTab")); }

    int intValue(const QString &key) const { return int(value(key).toLongLong()); }

    // The open project's folder; empty while none is open. Thread-safe.
    QString projectFolder() const;
    void setProjectFolder(const QString &folder);
    // projectFolder()/name.
    QString projectFile(const QString &name) const;

signals:
    void valueChanged(const QString &key, const QVariant &value);
    void projectFolderChanged(const QString &folder);

private:
    mutable QMutex mLock;
    QVariantMap mValues;
    QString mProjectFolder;
};
