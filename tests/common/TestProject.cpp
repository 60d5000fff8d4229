#include "common/TestProject.h"

#include "platform/PropertyList.h"

#include <QFile>

QVariantMap TestProject::group(const QString &name, const QVariantList &entries)
{
    return { { QStringLiteral("Group"), name }, { QStringLiteral("Entries"), entries } };
}

TestProject::TestProject(const QVariantMap &tree)
    : mPreferences(&mSettings)
    , mTree(&mSettings)
{
    const QString treeFile = file(QString::fromLatin1(MediaTree::kTreeFileName));
    PropertyList::writeXmlFile(treeFile, tree);
    mSettings.setProjectFolder(folder());
    mTree.loadFromFile(treeFile);
    mPreferences.projectSettingsLoad(folder());
}

void TestProject::setFormatVCD(bool vcd)
{
    mSettings.setValue(QStringLiteral("FormatVCD"), qlonglong(vcd ? 1 : 0));
    mSettings.setValue(QStringLiteral("FormatSVCD"), qlonglong(vcd ? 0 : 1));
}

bool TestProject::addFile(const QString &mpegFile, const QString &name)
{
    QFile::remove(file(name));
    return !mpegFile.isEmpty() && QFile::copy(mpegFile, file(name));
}
