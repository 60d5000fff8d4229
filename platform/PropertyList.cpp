#include "platform/PropertyList.h"

#include "platform/TextPropertyListReader.h"

#include <QDateTime>
#include <QFile>
#include <QSaveFile>
#include <QTimeZone>

#include <plist/plist.h>

#include <memory>

namespace {

// libplist counts dates in seconds from 2001-01-01 UTC.
const QDateTime kPlistEpoch(QDate(2001, 1, 1), QTime(0, 0), QTimeZone::utc());

struct PlistDeleter
{
    void operator()(void *node) const { plist_free(static_cast<plist_t>(node)); }
};
using PlistHandle = std::unique_ptr<void, PlistDeleter>;

QVariant fromPlist(plist_t node);

QVariant fromDictionary(plist_t node)
{
    QVariantMap map;
    plist_dict_iter it = nullptr;
    plist_dict_new_iter(node, &it);
    for (;;) {
        char *key = nullptr;
        plist_t value = nullptr;
        plist_dict_next_item(node, it, &key, &value);
        if (!key)
            break;
        map.insert(QString::fromUtf8(key), fromPlist(value));
        free(key);
    }
    free(it);
    return map;
}

QVariant fromArray(plist_t node)
{
    QVariantList list;
    const uint32_t count = plist_array_get_size(node);
    list.reserve(count);
    for (uint32_t i = 0; i < count; ++i)
        list.append(fromPlist(plist_array_get_item(node, i)));
    return list;
}

QVariant fromPlist(plist_t node)
{
    switch (plist_get_node_type(node)) {
    case PLIST_DICT:
        return fromDictionary(node);
    case PLIST_ARRAY:
        return fromArray(node);
    case PLIST_STRING: {
        char *text = nullptr;
        plist_get_string_val(node, &text);
        QString value = QString::fromUtf8(text);
        free(text);
        return value;
    }
    case PLIST_UINT: {
        // libplist 2.2 keeps every integer as 64 bits; the XML writer prints
        // them signed, so read them back signed.
        uint64_t value = 0;
        plist_get_uint_val(node, &value);
        return QVariant::fromValue(static_cast<qlonglong>(value));
    }
    case PLIST_REAL: {
        double value = 0;
        plist_get_real_val(node, &value);
        return value;
    }
    case PLIST_BOOLEAN: {
        uint8_t value = 0;
        plist_get_bool_val(node, &value);
        return bool(value);
    }
    case PLIST_DATA: {
        char *bytes = nullptr;
        uint64_t length = 0;
        plist_get_data_val(node, &bytes, &length);
        QByteArray value(bytes, qsizetype(length));
        free(bytes);
        return value;
    }
    case PLIST_DATE: {
        int32_t seconds = 0, microseconds = 0;
        plist_get_date_val(node, &seconds, &microseconds);
        return kPlistEpoch.addMSecs(qint64(seconds) * 1000 + microseconds / 1000);
    }
    default:
        return QString(); // keys and UIDs do not occur in our files
    }
}

plist_t toPlist(const QVariant &value, QString *error)
{
    switch (value.typeId()) {
    case QMetaType::QVariantMap: {
        plist_t dict = plist_new_dict();
        const QVariantMap map = value.toMap();
        for (auto it = map.cbegin(); it != map.cend(); ++it) {
            plist_t item = toPlist(it.value(), error);
            if (!item) {
                plist_free(dict);
                return nullptr;
            }
            plist_dict_set_item(dict, it.key().toUtf8().constData(), item);
        }
        return dict;
    }
    case QMetaType::QVariantList:
    case QMetaType::QStringList: {
        plist_t array = plist_new_array();
        for (const QVariant &element : value.toList()) {
            plist_t item = toPlist(element, error);
            if (!item) {
                plist_free(array);
                return nullptr;
            }
            plist_array_append_item(array, item);
        }
        return array;
    }
    case QMetaType::QString:
        return plist_new_string(value.toString().toUtf8().constData());
    case QMetaType::Bool:
        return plist_new_bool(value.toBool());
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::Short:
        return plist_new_uint(static_cast<uint64_t>(value.toLongLong()));
    case QMetaType::Double:
    case QMetaType::Float:
        return plist_new_real(value.toDouble());
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        return plist_new_data(bytes.constData(), uint64_t(bytes.size()));
    }
    case QMetaType::QDateTime: {
        const qint64 ms = kPlistEpoch.msecsTo(value.toDateTime());
        return plist_new_date(int32_t(ms / 1000), int32_t((ms % 1000) * 1000));
    }
    default:
        if (error)
            *error = QStringLiteral("a value of type %1 has no property-list form")
                         .arg(QString::fromLatin1(value.typeName() ? value.typeName() : "invalid"));
        return nullptr;
    }
}

bool looksLikeXml(const QByteArray &bytes)
{
    const QByteArray start = bytes.left(64).trimmed();
    return start.startsWith("<?xml") || start.startsWith("<plist") || start.startsWith("<!DOCTYPE");
}

} // namespace

PropertyList::ReadResult PropertyList::parse(const QByteArray &bytes)
{
    ReadResult result;
    if (bytes.trimmed().isEmpty()) {
        result.error = QStringLiteral("the file is empty");
        return result;
    }
    if (bytes.startsWith("bplist00") || looksLikeXml(bytes)) {
        plist_t root = nullptr;
        if (bytes.startsWith("bplist00"))
            plist_from_bin(bytes.constData(), uint32_t(bytes.size()), &root);
        else
            plist_from_xml(bytes.constData(), uint32_t(bytes.size()), &root);
        if (!root) {
            result.error = QStringLiteral("not a readable property list");
            return result;
        }
        PlistHandle handle(root);
        result.value = fromPlist(root);
        return result;
    }
    TextPropertyListReader reader(bytes);
    result.value = reader.read();
    if (!result.ok())
        result.error = reader.error();
    return result;
}

PropertyList::ReadResult PropertyList::readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ReadResult result;
        result.error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return result;
    }
    return parse(file.readAll());
}

QByteArray PropertyList::toXml(const QVariant &value, QString *error)
{
    plist_t root = toPlist(value, error);
    if (!root)
        return {};
    PlistHandle handle(root);
    char *xml = nullptr;
    uint32_t length = 0;
    plist_to_xml(root, &xml, &length);
    QByteArray bytes(xml, qsizetype(length));
    free(xml);
    return bytes;
}

bool PropertyList::writeXmlFile(const QString &path, const QVariant &value, QString *error)
{
    const QByteArray xml = toXml(value, error);
    if (xml.isEmpty())
        return false;
    return writeFileAtomically(path, xml, error);
}

bool PropertyList::writeFileAtomically(const QString &path, const QByteArray &bytes, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}
