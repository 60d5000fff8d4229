#pragma once

#include "authoring/DiscMenus.h"
#include "media/UnreadFile.h"

#include <QCoreApplication>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantMap>

// The project's playback-control menus and their file "Kestrin.menu", without
// any widget. A menu is a dictionary: "Title" (the absolute path of the movie
// that plays as the menu's picture), "Timeout" and "Loop" (reals),
// "EnableTimeout" (where the timeout leads) and one entry per bound remote
// key ("1" ... "9", "0", "|<<", ">", ">>|"). Every target is the full path of
// a node of the media tree; an absent key is an unbound one.
//
// Every change is written to the file at once, whole and atomically. The
// list holds one menu in practice, and the controls edit the first.
//
// Main thread, except makeXMLSelections, which the image worker calls while
// nothing edits the menus.
class KestrinMenu : public DiscMenus
{
    Q_DECLARE_TR_FUNCTIONS(KestrinMenu)

public:
    using Menu = QVariantMap;

    static constexpr const char *kFileName = "Kestrin.menu";
    // "Timeout" counts 75ths of a second; a player waits whole seconds.
    static constexpr int kTimeoutUnitsPerSecond = 75;
    static const QString kTitleKey;
    static const QString kTimeoutKey;
    static const QString kLoopKey;
    static const QString kEnableTimeoutKey;
    static const QString kPrevKey;
    static const QString kPlayKey;
    static const QString kNextKey;
    // "1" ... "9" then "0": the keys of the digit boxes.
    static QStringList digitKeys();
    // The digits, then "|<<", ">", ">>|".
    static QStringList remoteControlKeys();
    // Every key whose value is a node's full path.
    static QStringList pathKeys();

    // Reloads the list from the folder's menu file (an empty list without a
    // folder or a readable file); the current menu becomes the first.
    void setupMenus(const QString &projectFolder);
    QString projectFolder() const;

    // False when the file is there but could not be read whole; what could
    // be read is kept, and the file is kept aside before it is overwritten.
    bool readFromFile(const QString &path);
    bool writeToFile(const QString &path);

    int count() const override;
    QList<Menu> menuList() const;
    bool hasCurrentMenu() const;
    // Empty without a current menu.
    Menu currentMenu() const;
    int currentMenuIndex() const;

    // A new menu playing `title`, appended and made current.
    void newKestrinMenu(const QString &title);
    void removeAllMenus();
    // Set or remove a key of the current menu; false without one.
    bool setCurrentMenuValue(const QString &key, const QVariant &value);
    bool removeCurrentMenuValue(const QString &key);

    // A node's full path changed from `oldPath` to `newPath`, or the node
    // went (`newPath` empty): every target at or beneath it follows.
    void fixMenu(const QString &oldPath, const QString &newPath);
    // The stored path `value` after that change; empty when it goes.
    // Answers `value` itself when it is not at or beneath `oldPath`.
    static QString movedPath(const QString &value, const QString &oldPath, const QString &newPath);

    // Appends one selection element per menu, linking to the disc
    // description's movies ("media_N", by movie path) and playlists
    // ("playlist_G_J", by group path or group path + item name). False, with
    // the reason in `error`, when a menu's own movie is not on the disc.
    bool makeXMLSelections(QString &text, const QHash<QString, QString> &mediaDictionary,
        const QHash<QString, QString> &playlistDictionary, QString *error = nullptr) const;
    // The same with the identifiers of `description`.
    bool makeXMLSelections(QString &text, const DiscDescription &description, QString *error) const override;

private:
    void write();
    static QString resolve(const QString &path, const QHash<QString, QString> &mediaDictionary,
        const QHash<QString, QString> &playlistDictionary);
    static bool appendSelection(QString &text, int number, const Menu &menu,
        const QHash<QString, QString> &mediaDictionary, const QHash<QString, QString> &playlistDictionary,
        QString *error);
    static void appendTimeout(QString &text, const Menu &menu, const QHash<QString, QString> &mediaDictionary,
        const QHash<QString, QString> &playlistDictionary);
    static QString menuName(int number, const Menu &menu);

    QString mCurrentProjectFolder;
    QList<Menu> mMenuList;
    int mCurrentMenuIndex = -1;
    // A menu file that was not read whole, until it has been kept aside.
    UnreadFile mUnreadFile;
};
