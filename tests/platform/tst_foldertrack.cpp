#include "common/IsoInfo.h"
#include "platform/BurnSession.h"
#include "platform/DRBurn.h"
#include "platform/DRDevice.h"
#include "platform/DRFile.h"
#include "platform/DRFolder.h"
#include "platform/DRTrack.h"
#include "platform/LibburnDevice.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QString kVolumeName = QStringLiteral("Sonabel CD 2024123235959");

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

}

// A compilation as the data disc makes it: the volume folder holding the
// root group, with movies and a sub-group.
class TestFolderTrack : public QObject {
    Q_OBJECT

    QTemporaryDir mDir;
    QMap<QString, QByteArray> mContents; // disc path -> bytes

    std::shared_ptr<DRFolder> makeTree()
    {
        const QByteArray big(3 * 1024 * 1024 + 17, 'm');
        writeFile(mDir.filePath(QStringLiteral("A long movie name, café.mov")), big);
        writeFile(mDir.filePath(QStringLiteral("short.mpg")), "tiny");
        QDir(mDir.path()).mkdir(QStringLiteral("other"));
        writeFile(mDir.filePath(QStringLiteral("other/short.mpg")), "another tiny");

        auto root = DRFolder::virtualFolderWithName(kVolumeName);
        auto group = DRFolder::virtualFolderWithName(QStringLiteral("My Movies"));
        auto holiday = DRFolder::virtualFolderWithName(QStringLiteral("Holiday in Ålesund 2023"));
        root->addChild(group);
        group->addChild(DRFile::fileWithPath(mDir.filePath(QStringLiteral("A long movie name, café.mov"))));
        group->addChild(holiday);
        holiday->addChild(DRFile::fileWithPath(mDir.filePath(QStringLiteral("short.mpg"))));
        holiday->addChild(DRFile::fileWithPath(mDir.filePath(QStringLiteral("other/short.mpg"))));
        mContents = { { QStringLiteral("/My Movies/A long movie name, café.mov"), big },
            { QStringLiteral("/My Movies/Holiday in Ålesund 2023/short.mpg"), "tiny" },
            { QStringLiteral("/My Movies/Holiday in Ålesund 2023/short (2).mpg"), "another tiny" } };
        return root;
    }

    DiscJobResult burn(const std::shared_ptr<DRDevice>& device, const std::shared_ptr<DRFolder>& root,
        const QString& imageFile = QString())
    {
        auto burnObject = std::make_shared<DRBurn>(device);
        burnObject->setImageFile(imageFile);
        BurnSession session(burnObject, { DRTrack::trackForRootFolder(root) });
        return session.run();
    }

    void verifyJolietImage(const QString& iso)
    {
        const QString description = IsoInfo::description(iso);
        QVERIFY2(description.contains(QStringLiteral("Joliet with UCS")), qPrintable(description));
        // ISO 9660 allows capitals, digits and underscores only.
        QVERIFY2(description.contains(QStringLiteral("Volume id: SONABEL_CD_2024123235959")), qPrintable(description));
        const QString listing = IsoInfo::jolietListing(iso);
        for (auto entry = mContents.cbegin(); entry != mContents.cend(); ++entry) {
            QVERIFY2(listing.split(QLatin1Char('\n')).contains(entry.key()), qPrintable(listing));
            QVERIFY2(IsoInfo::extract(iso, entry.key()) == entry.value(), qPrintable(entry.key()));
        }
    }

private slots:
    void initTestCase()
    {
        QVERIFY(mDir.isValid());
        QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("isoinfo")).isEmpty(),
            "isoinfo (Debian package genisoimage) is needed to read the images back");
    }

    void aJolietFolderTrackHoldsTheFilesUnderTheirNames()
    {
        auto root = makeTree();
        root->setExplicitFilesystemMask(DRFSObject::Joliet);
        const QString iso = mDir.filePath(QStringLiteral("compilation.iso"));
        const DiscJobResult result = burn(DRDevice::discImageFileDevice(), root, iso);
        QVERIFY2(result.succeeded(), qPrintable(result.message));
        verifyJolietImage(iso);
        QVERIFY(!QFile::exists(mDir.filePath(QStringLiteral("compilation.cue"))));
    }

    void withoutTheJolietMaskTheImageHasRockRidgeNamesOnly()
    {
        auto root = makeTree();
        const QString iso = mDir.filePath(QStringLiteral("plain.iso"));
        const DiscJobResult result = burn(DRDevice::discImageFileDevice(), root, iso);
        QVERIFY2(result.succeeded(), qPrintable(result.message));
        QVERIFY(!IsoInfo::description(iso).contains(QStringLiteral("Joliet with UCS")));
        const QString listing = IsoInfo::run({ QStringLiteral("-R"), QStringLiteral("-f"), QStringLiteral("-i"), iso });
        QVERIFY2(listing.contains(QStringLiteral("/My Movies/A long movie name, café.mov")), qPrintable(listing));
    }

    void aMissingFileFailsTheBurnNamingIt()
    {
        auto root = DRFolder::virtualFolderWithName(kVolumeName);
        const QString gone = mDir.filePath(QStringLiteral("gone.mov"));
        root->addChild(DRFile::fileWithPath(gone));
        const QString iso = mDir.filePath(QStringLiteral("never.iso"));
        const DiscJobResult result = burn(DRDevice::discImageFileDevice(), root, iso);
        QCOMPARE(result.outcome, DiscJobResult::Outcome::Failed);
        QVERIFY2(result.message.contains(gone), qPrintable(result.message));
        QVERIFY(!QFile::exists(iso));
    }

    void libburnWritesTheFolderTrackToAPseudoDrive()
    {
        // libburn's pseudo-drive on a file stands in for a physical recorder,
        // which these machines lack; the writing path is libburn's own.
        auto root = makeTree();
        root->setExplicitFilesystemMask(DRFSObject::Joliet);
        const QString iso = mDir.filePath(QStringLiteral("libburn.iso"));
        auto device = std::make_shared<LibburnDevice>(
            QStringLiteral("stdio:") + iso, QStringLiteral("libburn"), QStringLiteral("pseudo-drive"));
        QVERIFY(device->mediaSpaceFree().totalFrames() > 0);
        const DiscJobResult result = burn(device, root);
        QVERIFY2(result.succeeded(), qPrintable(result.message));
        verifyJolietImage(iso);
    }
};

QTEST_GUILESS_MAIN(TestFolderTrack)
#include "tst_foldertrack.moc"
