#pragma once

#include <QString>
#include <QVariantMap>

#include <memory>

class DRDevice;

// Burn property keys.
inline const QString DRBurnVerifyDiscKey = QStringLiteral("DRBurnVerifyDiscKey");
inline const QString DRBurnAppendableKey = QStringLiteral("DRBurnAppendableKey");
inline const QString DRBurnStrategyKey = QStringLiteral("DRBurnStrategyKey");
inline const QString DRBurnStrategyIsRequiredKey = QStringLiteral("DRBurnStrategyIsRequiredKey");
inline const QString DRBurnStrategyCDSAO = QStringLiteral("DRBurnStrategyCDSAO");
// Path of the file the "Disc Image File" recorder writes (a string).
inline const QString DRBurnImageFileKey = QStringLiteral("DRBurnImageFileKey");

// The user's defaults key under which the burn setup keeps whether burns
// leave the disc appendable.
inline const QString DRBurnOptionsAppendable = QStringLiteral("DRBurnOptionsAppendable");

// One burn as set up by the user: the recorder and the burn's properties.
// Made by the burn setup panel (or directly by a batch command or a test)
// and handed to a BurnSession or the burn progress panel, which read it once
// when the burn starts.
class DRBurn {
public:
    explicit DRBurn(std::shared_ptr<DRDevice> device);

    std::shared_ptr<DRDevice> device() const { return mDevice; }

    QVariantMap properties() const { return mProperties; }
    void setProperties(const QVariantMap& properties) { mProperties = properties; }

    bool appendable() const { return mProperties.value(DRBurnAppendableKey).toBool(); }
    void setAppendable(bool appendable) { mProperties.insert(DRBurnAppendableKey, appendable); }

    QString imageFile() const { return mProperties.value(DRBurnImageFileKey).toString(); }
    void setImageFile(const QString& path) { mProperties.insert(DRBurnImageFileKey, path); }

    // The user's stored choice for DRBurnOptionsAppendable (false when it was
    // never made), in the user's defaults.
    static bool storedAppendableOption();
    static void storeAppendableOption(bool appendable);

private:
    std::shared_ptr<DRDevice> mDevice;
    QVariantMap mProperties;
};
