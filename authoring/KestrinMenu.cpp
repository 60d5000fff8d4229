#include "authoring/KestrinMenu.h"

#include "authoring/DiscDescription.h"
#include "platform/PropertyList.h"

#include <QDir>
#include <QFileInfo>

const QString KestrinMenu::kTitleKey = QStringLiteral("Title");
const QString KestrinMenu::kTimeoutKey = QStringLiteral("Timeout");
const QString KestrinMenu::kLoopKey = QStringLiteral("Loop");
const QString KestrinMenu::kEnableTimeoutKey = QStringLiteral("EnableTimeout");
const QString KestrinMenu::kPrevKey = QStringLiteral("|<<");
const QString KestrinMenu::kPlayKey = QStringLiteral(">");
const QString KestrinMenu::kNextKey = QStringLiteral(">>|");

namespace {

QString joinPath(const QString &left, const QString &right)
{
    if (left.isEmpty())
        return right;
    if (left.endsWith(QLatin1Char('/')) || right.startsWith(QLatin1Char('/')))
        return left + right;
    return left + QLatin1Char('/') + right;
}

QString selectionId(int number)
{
    return QStringLiteral("selection_%1").arg(number);
}

} // namespace

QStringList KestrinMenu::digitKeys()
{
    return { QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4"), QStringLiteral("5"),
        QStringLiteral("6"), QStringLiteral("7"), QStringLiteral("8"), QStringLiteral("9"), QStringLiteral("0") };
}

QStringList KestrinMenu::remoteControlKeys()
{
    return digitKeys() + QStringList { kPrevKey, kPlayKey, kNextKey };
}

QStringList KestrinMenu::pathKeys()
{
    return QStringList { kTitleKey, kEnableTimeoutKey } + remoteControlKeys();
}

void KestrinMenu::setupMenus(const QString &projectFolder)
{
    mCurrentProjectFolder = projectFolder;
    if (projectFolder.isEmpty()) {
        mMenuList.clear();
        mUnreadFile.forget();
    } else {
        readFromFile(QDir(projectFolder).filePath(QString::fromLatin1(kFileName)));
    }
    mCurrentMenuIndex = mMenuList.isEmpty() ? -1 : 0;
}

QString KestrinMenu::projectFolder() const
{
    return mCurrentProjectFolder;
}

bool KestrinMenu::readFromFile(const QString &path)
{
    mMenuList.clear();
    mUnreadFile.forget();
    if (!QFileInfo::exists(path))
        return true;
    const PropertyList::ReadResult plist = PropertyList::readFile(path);
    QStringList problems;
    if (!plist.ok())
        problems.append(plist.error.isEmpty() ? QStringLiteral("no property list") : plist.error);
    else if (plist.value.typeId() != QMetaType::QVariantList)
        problems.append(QStringLiteral("the root is no array but %1").arg(QLatin1String(plist.value.typeName())));
    for (const QVariant &entry : plist.value.toList()) {
        if (entry.typeId() == QMetaType::QVariantMap)
            mMenuList.append(entry.toMap());
        else
            problems.append(QStringLiteral("a menu that is no dictionary (%1)").arg(QLatin1String(entry.typeName())));
    }
    if (problems.isEmpty())
        return true;
    qWarning("readFromFile: %s: %s", qPrintable(path), qPrintable(problems.join(u"; ")));
    mUnreadFile.remember(path);
    return false;
}

bool KestrinMenu::writeToFile(const QString &path)
{
    if (!mUnreadFile.keepAsideBefore(path, "writeToFile"))
        return false;
    QVariantList menus;
    for (const Menu &menu : std::as_const(mMenuList))
        menus.append(menu);
    QString error;
    if (!PropertyList::writeXmlFile(path, menus, &error)) {
        qWarning("writeToFile: %s: %s", qPrintable(path), qPrintable(error));
        return false;
    }
    return true;
}

// Without a project there is no file to keep the menus in.
void KestrinMenu::write()
{
    if (!mCurrentProjectFolder.isEmpty())
        writeToFile(QDir(mCurrentProjectFolder).filePath(QString::fromLatin1(kFileName)));
}

int KestrinMenu::count() const
{
    return int(mMenuList.size());
}

QList<KestrinMenu::Menu> KestrinMenu::menuList() const
{
    return mMenuList;
}

bool KestrinMenu::hasCurrentMenu() const
{
    return mCurrentMenuIndex >= 0 && mCurrentMenuIndex < mMenuList.size();
}

KestrinMenu::Menu KestrinMenu::currentMenu() const
{
    return hasCurrentMenu() ? mMenuList.at(mCurrentMenuIndex) : Menu();
}

int KestrinMenu::currentMenuIndex() const
{
    return mCurrentMenuIndex;
}

void KestrinMenu::newKestrinMenu(const QString &title)
{
    mMenuList.append(Menu { { kTitleKey, title } });
    mCurrentMenuIndex = int(mMenuList.size()) - 1;
    write();
}

void KestrinMenu::removeAllMenus()
{
    mMenuList.clear();
    mCurrentMenuIndex = -1;
    write();
}

bool KestrinMenu::setCurrentMenuValue(const QString &key, const QVariant &value)
{
    if (!hasCurrentMenu())
        return false;
    mMenuList[mCurrentMenuIndex].insert(key, value);
    write();
    return true;
}

bool KestrinMenu::removeCurrentMenuValue(const QString &key)
{
    if (!hasCurrentMenu())
        return false;
    mMenuList[mCurrentMenuIndex].remove(key);
    write();
    return true;
}

QString KestrinMenu::movedPath(const QString &value, const QString &oldPath, const QString &newPath)
{
    if (oldPath.isEmpty())
        return value;
    if (value == oldPath)
        return newPath;
    const QString beneath = oldPath.endsWith(QLatin1Char('/')) ? oldPath : oldPath + QLatin1Char('/');
    if (!value.startsWith(beneath))
        return value;
    return newPath.isEmpty() ? QString() : joinPath(newPath, value.mid(oldPath.size()));
}

void KestrinMenu::fixMenu(const QString &oldPath, const QString &newPath)
{
    // The file is what counts: the change is made to the menus as stored.
    setupMenus(mCurrentProjectFolder);
    bool changed = false;
    for (Menu &menu : mMenuList) {
        for (const QString &key : pathKeys()) {
            const auto found = menu.find(key);
            if (found == menu.end())
                continue;
            const QString value = found->toString();
            const QString moved = movedPath(value, oldPath, newPath);
            if (moved == value)
                continue;
            changed = true;
            if (moved.isEmpty())
                menu.erase(found);
            else
                *found = moved;
        }
    }
    if (changed)
        write();
}

QString KestrinMenu::resolve(const QString &path, const QHash<QString, QString> &mediaDictionary,
    const QHash<QString, QString> &playlistDictionary)
{
    if (path.isEmpty())
        return {};
    return mediaDictionary.value(path, playlistDictionary.value(path));
}

bool KestrinMenu::makeXMLSelections(QString &text, const QHash<QString, QString> &mediaDictionary,
    const QHash<QString, QString> &playlistDictionary, QString *error) const
{
    QString selections;
    for (int number = 0; number < mMenuList.size(); ++number) {
        if (!appendSelection(selections, number, mMenuList.at(number), mediaDictionary, playlistDictionary, error))
            return false;
    }
    text += selections;
    return true;
}

bool KestrinMenu::makeXMLSelections(QString &text, const DiscDescription &description, QString *error) const
{
    return makeXMLSelections(text, description.getXMLMediaDictioary(), description.getXMLPlaylistDictionary(), error);
}

bool KestrinMenu::appendSelection(QString &text, int number, const Menu &menu,
    const QHash<QString, QString> &mediaDictionary, const QHash<QString, QString> &playlistDictionary, QString *error)
{
    const QString playItem = mediaDictionary.value(menu.value(kTitleKey).toString());
    if (playItem.isEmpty()) {
        if (error)
            *error = tr("The menu “%1” plays a movie that is not on the disc. Make the menu again from a movie "
                        "of the media tree, or choose “No Menu”.")
                         .arg(menuName(number, menu));
        return false;
    }
    text += QStringLiteral("\t\t<selection id=\"%1\">\n").arg(selectionId(number));
    text += QStringLiteral("\t\t<bsn>1</bsn>\n");
    const auto appendLink = [&](const char *element, const QString &key) {
        const QString id = resolve(menu.value(key).toString(), mediaDictionary, playlistDictionary);
        if (!id.isEmpty())
            text += QStringLiteral("\t\t<%1 ref=\"%2\"/>\n").arg(QLatin1String(element), id);
    };
    appendLink("prev", kPrevKey);
    appendLink("next", kNextKey);
    appendLink("default", kPlayKey);
    appendTimeout(text, menu, mediaDictionary, playlistDictionary);
    text += QStringLiteral("\t\t<play-item ref=\"%1\"/>\n").arg(playItem);
    // An unbound digit, or one whose target has gone, stays in this menu.
    for (const QString &digit : digitKeys().mid(0, 9)) {
        const QString id = playlistDictionary.value(menu.value(digit).toString());
        text += QStringLiteral("\t\t<select ref=\"%1\"/>\n").arg(id.isEmpty() ? selectionId(number) : id);
    }
    text += QStringLiteral("\t\t</selection>\n");
    return true;
}

void KestrinMenu::appendTimeout(QString &text, const Menu &menu, const QHash<QString, QString> &mediaDictionary,
    const QHash<QString, QString> &playlistDictionary)
{
    if (!menu.contains(kEnableTimeoutKey)) {
        // No target: the menu waits for a key for ever.
        text += QStringLiteral("\t\t<timeout ref=\"playlist_0_0\"/>\n"
                               "\t\t<wait>-1</wait>\n"
                               "\t\t<loop jump-timing=\"immediate\">1</loop>\n");
        return;
    }
    const QString target = resolve(menu.value(kEnableTimeoutKey).toString(), mediaDictionary, playlistDictionary);
    if (!target.isEmpty())
        text += QStringLiteral("\t\t<timeout ref=\"%1\"/>\n").arg(target);
    const int timeout = int(menu.value(kTimeoutKey).toDouble());
    text += QStringLiteral("\t\t<wait>%1</wait>\n").arg(timeout / kTimeoutUnitsPerSecond);
    text += QStringLiteral("\t\t<loop jump-timing=\"immediate\">%1</loop>\n").arg(int(menu.value(kLoopKey).toDouble()));
}

QString KestrinMenu::menuName(int number, const Menu &menu)
{
    const QString title = menu.value(kTitleKey).toString();
    if (title.isEmpty())
        return tr("menu %1").arg(number + 1);
    return QFileInfo(title).fileName();
}
