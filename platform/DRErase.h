#pragma once

#include <QString>
#include <QVariantMap>

#include <memory>

class DRDevice;

inline const QString DREraseTypeKey = QStringLiteral("DREraseTypeKey");
inline const QString DREraseTypeQuick = QStringLiteral("DREraseTypeQuick");
inline const QString DREraseTypeComplete = QStringLiteral("DREraseTypeComplete");

// One erase of a rewritable disc as set up by the user: the recorder and the
// kind of blanking (quick unless DREraseTypeKey says otherwise).
class DRErase {
public:
    explicit DRErase(std::shared_ptr<DRDevice> device);

    std::shared_ptr<DRDevice> device() const { return mDevice; }

    QVariantMap properties() const { return mProperties; }
    void setProperties(const QVariantMap& properties) { mProperties = properties; }

    bool isQuick() const { return mProperties.value(DREraseTypeKey, DREraseTypeQuick) == DREraseTypeQuick; }

private:
    std::shared_ptr<DRDevice> mDevice;
    QVariantMap mProperties;
};
