#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

class DiscMenus;
class MediaTree;
class SettingsModel;
class TreeNode;

// The disc description "Kestrin.xml" that vcdxbuild reads: the disc's name,
// every converted movie as a sequence item, and the playback control (one
// chain of playlists per group of the media tree, and either a plain start
// selection or the project's menus).
//
// vcdxbuild sees the movies only through links media_0, media_1, ... in a
// folder of Kestrin's private temporary folder, cleared before each
// description. Runs on the image worker while nothing edits the tree, the
// menus or the settings.
class DiscDescription
{
public:
    static constexpr const char *kFileName = "Kestrin.xml";

    // Without `menus` the disc has none.
    DiscDescription(const MediaTree &tree, const SettingsModel &settings, const DiscMenus *menus = nullptr);

    // Makes the links and writes projectFolder/Kestrin.xml for the movies
    // of `mediaList` (the media files of the whole tree, in tree order).
    // False, with the reason in `error`, when a link or the file could not
    // be written, or a menu cannot be on the disc.
    bool makeXMLFile(const QStringList &mediaList, QString *error = nullptr);
    // The document without writing it; the links are made all the same.
    QString makeXMLText(const QStringList &mediaList, QString *error = nullptr);

    // Appends one playlist per item of every group and, without menus, the
    // end list.
    void makeXMLPlayLists(QString &text);

    // Movie path → "media_N" (the last position of a movie listed twice).
    const QHash<QString, QString> &getXMLMediaDictioary() const { return mXMLMediaDictionary; }
    // Group path → "playlist_G_0"; group path + item name → "playlist_G_J".
    const QHash<QString, QString> &getXMLPlaylistDictionary() const { return mXMLPlaylistDictionary; }
    int menuCount() const { return mMenuCount; }

    // The folder of the sequence-item links, and the links' removal at the
    // end of an image build.
    static QString linkFolder();
    // linkFolder()/media_N.
    static QString linkPath(qsizetype mediaNumber);
    static void removeLinks();
    // The converted program stream of a movie: projectFolder/base.mpg.
    static QString mpgPathOf(const QString &moviePath, const QString &projectFolder);

private:
    void appendHeader(QString &text) const;
    void appendInfo(QString &text) const;
    bool appendSequenceItems(QString &text, const QStringList &mediaList, QString *error);
    void appendStartSelection(QString &text) const;
    void appendPlaylist(QString &text, int group, int item, int itemCount, const QString &movie) const;
    static QString playlistId(int group, int item);

    const MediaTree &mTree;
    const SettingsModel &mSettings;
    const DiscMenus *mMenus;
    QHash<QString, QString> mXMLMediaDictionary;
    QHash<QString, QString> mXMLPlaylistDictionary;
    int mMenuCount = 0;
};
