#include "authoring/DiscDescription.h"

#include "authoring/DiscMenus.h"
#include "media/MediaTree.h"
#include "platform/PrivateTempDir.h"
#include "settings/SettingsModel.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

// Title and author go into element text: what XML reserves is escaped, and
// the document is UTF-8 (its declaration names no other encoding).
QString elementText(const QString &text)
{
    return text.toUpper().toHtmlEscaped();
}

QString tr(const char *text)
{
    return QCoreApplication::translate("DiscDescription", text);
}

} // namespace

DiscDescription::DiscDescription(const MediaTree &tree, const SettingsModel &settings, const DiscMenus *menus)
    : mTree(tree)
    , mSettings(settings)
    , mMenus(menus)
{ }

QString DiscDescription::linkFolder()
{
    return PrivateTempDir::filePath(QStringLiteral("Kestrin"));
}

QString DiscDescription::linkPath(qsizetype mediaNumber)
{
    return QDir(linkFolder()).filePath(QStringLiteral("media_%1").arg(mediaNumber));
}

void DiscDescription::removeLinks()
{
    const QString folder = linkFolder();
    if (!folder.isEmpty())
        QDir(folder).removeRecursively();
}

QString DiscDescription::mpgPathOf(const QString &moviePath, const QString &projectFolder)
{
    return QDir(projectFolder).filePath(QFileInfo(moviePath).completeBaseName() + QStringLiteral(".mpg"));
}

QString DiscDescription::playlistId(int group, int item)
{
    return QStringLiteral("playlist_%1_%2").arg(group).arg(item);
}

bool DiscDescription::makeXMLFile(const QStringList &mediaList, QString *error)
{
    const QString text = makeXMLText(mediaList, error);
    if (text.isEmpty())
        return false;
    QSaveFile file(mSettings.projectFile(QString::fromLatin1(kFileName)));
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0 || !file.commit()) {
        if (error)
            *error = tr("The disc description %1 could not be written: %2").arg(file.fileName(), file.errorString());
        return false;
    }
    return true;
}

QString DiscDescription::makeXMLText(const QStringList &mediaList, QString *error)
{
    mXMLMediaDictionary.clear();
    mXMLPlaylistDictionary.clear();

    QString text;
    appendHeader(text);
    appendInfo(text);
    if (!appendSequenceItems(text, mediaList, error))
        return {};
    text += QStringLiteral("\t<pbc>\n");
    mMenuCount = mMenus && mSettings.menuTab() != 0 ? mMenus->count() : 0;
    if (mMenuCount == 0)
        appendStartSelection(text);
    QString playlists;
    makeXMLPlayLists(playlists);
    // With menus, the selections need the playlists' identifiers, yet come
    // before them in the document.
    if (mMenuCount > 0 && !mMenus->makeXMLSelections(text, *this, error))
        return {};
    text += playlists;
    text += QStringLiteral("\t</pbc>\n</videocd>");
    return text;
}

void DiscDescription::appendHeader(QString &text) const
{
    const bool vcd = mSettings.formatVCD();
    text += QStringLiteral("<?xml version=\"1.0\"?>\n"
                           "<!DOCTYPE videocd PUBLIC \"-//GNU//DTD VideoCD//EN\" "
                           "\"http://www.gnu.org/software/vcdimager/videocd.dtd\">\n\n");
    text += QStringLiteral(
        "<videocd xmlns=\"http://www.gnu.org/software/vcdimager/1.0/\" class=\"%1\" version=\"%2\">\n")
                .arg(vcd ? QStringLiteral("vcd") : QStringLiteral("svcd"),
                    vcd ? QStringLiteral("2.0") : QStringLiteral("1.0"));
    text += QStringLiteral("\t<option name=\"track pregap\" value=\"152\"/>\n\t\n");
}

void DiscDescription::appendInfo(QString &text) const
{
    const QString title = elementText(mSettings.title());
    text += QStringLiteral("\t<info>\n");
    text += QStringLiteral("\t\t<album-id>%1</album-id>\n").arg(title);
    text += QStringLiteral("\t\t<volume-count>1</volume-count>\n"
                           "\t\t<volume-number>1</volume-number>\n"
                           "\t\t<restriction>0</restriction>\n"
                           "\t</info>\n\t\n");
    text += QStringLiteral("\t<pvd>\n");
    text += QStringLiteral("\t\t<volume-id>%1</volume-id>\n").arg(title);
    text += QStringLiteral("\t\t<system-id>CD-RTOS CD-BRIDGE</system-id>\n"
                           "\t\t<preparer-id/>\n");
    text += QStringLiteral("\t\t<publisher-id>%1</publisher-id>\n").arg(elementText(mSettings.author()));
    text += QStringLiteral("\t</pvd>\n\t\n");
}

// Links of an earlier build are cleared first, so a link can never point
// to another project's movie.
bool DiscDescription::appendSequenceItems(QString &text, const QStringList &mediaList, QString *error)
{
    const QString folder = linkFolder();
    removeLinks();
    if (folder.isEmpty() || !QDir().mkpath(folder)) {
        if (error)
            *error = tr("Kestrin's temporary folder could not be made.");
        return false;
    }
    const QString projectFolder = mSettings.projectFolder();
    text += QStringLiteral("\t<sequence-items>\n");
    for (qsizetype i = 0; i < mediaList.size(); ++i) {
        const QString id = QStringLiteral("media_%1").arg(i);
        const QString link = linkPath(i);
        const QString target = mpgPathOf(mediaList.at(i), projectFolder);
        if (!QFile::link(target, link)) {
            if (error)
                *error = tr("The link %1 to %2 could not be made.").arg(link, target);
            return false;
        }
        text += QStringLiteral("\t\t<sequence-item src=\"%1\" id=\"%2\"/>\n").arg(link.toHtmlEscaped(), id);
        mXMLMediaDictionary.insert(mediaList.at(i), id);
    }
    text += QStringLiteral("\t</sequence-items>\n\n");
    return true;
}

void DiscDescription::appendStartSelection(QString &text) const
{
    text += QStringLiteral("\t\t<selection id=\"selection_0\">\n"
                           "\t\t\t<default ref=\"playlist_0_0\"/>\n"
                           "\t\t\t<play-item/>\n"
                           "\t\t\t<select ref=\"playlist_0_0\"/>\n"
                           "\t\t</selection>\n");
}

void DiscDescription::makeXMLPlayLists(QString &text)
{
    QList<TreeNode *> groups;
    mTree.getMediaNodes(nullptr, groups);
    for (int g = 0; g < groups.size(); ++g) {
        const QString groupPath = MediaTree::fullPathToNode(groups.at(g));
        QStringList items;
        mTree.getMediaFiles(groups.at(g), items);
        mXMLPlaylistDictionary.insert(groupPath, playlistId(g, 0));
        for (int j = 0; j < items.size(); ++j) {
            mXMLPlaylistDictionary.insert(groupPath + items.at(j), playlistId(g, j));
            appendPlaylist(text, g, j, int(items.size()), items.at(j));
        }
    }
    if (mMenuCount == 0)
        text += QStringLiteral("\t\t<endlist id=\"endlist_0\">\n\t\t</endlist>\n");
}

void DiscDescription::appendPlaylist(QString &text, int group, int item, int itemCount, const QString &movie) const
{
    const bool menus = mMenuCount > 0;
    text += QStringLiteral("\t\t<playlist id=\"%1\">\n").arg(playlistId(group, item));
    if (item > 0)
        text += QStringLiteral("\t\t\t<prev    ref=\"%1\"/>\n").arg(playlistId(group, item - 1));
    else if (menus)
        text += QStringLiteral("\t\t\t<prev    ref=\"selection_0\"/>\n");
    if (item < itemCount - 1)
        text += QStringLiteral("\t\t\t<next    ref=\"%1\"/>\n").arg(playlistId(group, item + 1));
    else if (menus || mSettings.kiosk())
        text += QStringLiteral("\t\t\t<next    ref=\"selection_0\"/>\n");
    else
        text += QStringLiteral("\t\t\t<next    ref=\"endlist_0\"/>\n");
    text += QStringLiteral("\t\t\t<return  ref=\"selection_0\"/>\n");
    text += QStringLiteral("\t\t\t<wait>0</wait>\n");
    text += QStringLiteral("\t\t\t<play-item ref=\"%1\"/>\n").arg(mXMLMediaDictionary.value(movie));
    text += QStringLiteral("\t\t</playlist>\n");
}
