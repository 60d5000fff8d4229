#include "authoring/ImageJob.h"
#include "burning/BurnJob.h"
#include "common/Fixtures.h"
#include "common/TestProject.h"
#include "common/VcdInfo.h"
#include "conversion/ConversionJob.h"
#include "conversion/ConversionSettings.h"
#include "conversion/MovieSelection.h"
#include "platform/DRBurn.h"
#include "platform/DRDevice.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

// The whole road from a movie to a disc: convert, build the image, burn it
// to the disc image recorder, and read the burned disc back with vcd-info.
class TestBurnChain : public QObject
{
    Q_OBJECT

private slots:
    void convertImageBurnToDiscImageFile();
};

void TestBurnChain::convertImageBurnToDiscImageFile()
{
    const QString movie = Fixtures::h264AacMov();
    QVERIFY(!movie.isEmpty());
    TestProject project(TestProject::group(QStringLiteral("Movies"), { movie }));
    QVERIFY(project.isValid());
    project.setFormatVCD(true);

    const QStringList mediaList = ImageJob::mediaList(project.tree());
    ConversionJob conversion(project.folder(), ConversionSettings::fromModel(project.settings()));
    const ConversionReport converted = conversion.run(MovieSelection::select(mediaList, project.folder()).workList);
    QVERIFY2(converted.succeeded(), qPrintable(converted.failureText()));

    ImageJob image(project.tree(), project.settings());
    const ImageReport imaged = image.run(mediaList);
    QVERIFY2(imaged.succeeded(), qPrintable(imaged.failureText()));
    QVERIFY(BurnJob::projectHasDiscImage(project.folder()));

    QTemporaryDir output;
    auto burn = std::make_shared<DRBurn>(DRDevice::discImageFileDevice());
    burn->setImageFile(output.filePath(QStringLiteral("disc.bin")));
    BurnJob job(project.folder(), burn, false);
    const DiscJobResult burned = job.run();
    QVERIFY2(burned.succeeded(), qPrintable(burned.message));

    const VcdInfo disc = VcdInfo::readCueImage(output.filePath(QStringLiteral("disc.cue")));
    QVERIFY2(disc.read, qPrintable(disc.output));
    QCOMPARE(disc.id, QStringLiteral("VIDEO_CD"));
    QCOMPARE(disc.playLists, 1);
}

QTEST_MAIN(TestBurnChain)
#include "tst_burnchain.moc"
