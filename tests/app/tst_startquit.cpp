#include "common/TestProject.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace {

// Seconds are generous: saving waits for the disk, which a busy machine
// makes slow.
constexpr int kTimeoutMs = 90000;

// Lines that platform pieces print on a machine without a desktop, not
// Kestrin or its use of Qt: the offscreen platform plugin, no sound server,
// no graphics processor, no VDPAU driver.
bool isPlatformLine(const QString &line)
{
    static const QRegularExpression platform(
        QStringLiteral("^(This plugin does not support |PulseAudioService: pa_context_connect\\(\\) failed|"
                       "QRhi\\* initializeRHI\\(QRhi\\*\\) : No RHI backend|Failed to open VDPAU)"));
    return line.trimmed().isEmpty() || platform.match(line).hasMatch();
}

} // namespace

// Starts the real kestrin program and ends it from outside, as a session
// that logs out does: it must quit as its Quit command does, leaving no
// temporary folder, no lock file and no warning behind.
class TestStartQuit : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> mTemp;
    std::unique_ptr<QProcess> mKestrin;

    QStringList kestrinTempFolders() const
    {
        return QDir(mTemp->path()).entryList({ QStringLiteral("kestrin-*") }, QDir::Dirs | QDir::Hidden);
    }

    // Files the running program holds open, as /proc names them.
    QStringList openFiles() const
    {
        QStringList targets;
        const QDir fds(QStringLiteral("/proc/%1/fd").arg(mKestrin->processId()));
        for (const QString &fd : fds.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot))
            targets << QFile::symLinkTarget(fds.filePath(fd));
        return targets;
    }

    void start(const QStringList &arguments)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("TMPDIR"), mTemp->path());
        mKestrin->setProcessEnvironment(environment);
        mKestrin->start(QStringLiteral(KESTRIN_BIN_DIR "/kestrin"), arguments);
        QVERIFY2(mKestrin->waitForStarted(), qPrintable(mKestrin->errorString()));
        // Made at start-up, before the program listens for signals to stop.
        QTRY_COMPARE_WITH_TIMEOUT(kestrinTempFolders().size(), 1, kTimeoutMs);
        const QFileInfo folder(mTemp->filePath(kestrinTempFolders().first()));
        const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther
            | QFile::WriteOther | QFile::ExeOther;
        QVERIFY(!(folder.permissions() & others));
    }

    void stopAndCheckItEndedCleanly()
    {
        QCOMPARE(::kill(mKestrin->processId(), SIGTERM), 0);
        QVERIFY(mKestrin->waitForFinished(kTimeoutMs));
        const QStringList lines = QString::fromUtf8(mKestrin->readAllStandardError()).split(QLatin1Char('\n'));
        QStringList warnings;
        for (const QString &line : lines)
            if (!isPlatformLine(line))
                warnings << line;
        QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join(QLatin1Char('\n'))));
        QVERIFY2(mKestrin->exitStatus() == QProcess::NormalExit && mKestrin->exitCode() == 0,
            qPrintable(QStringLiteral("status %1, code %2").arg(mKestrin->exitStatus()).arg(mKestrin->exitCode())));
        QVERIFY2(kestrinTempFolders().isEmpty(), qPrintable(kestrinTempFolders().join(QLatin1Char(' '))));
    }

private slots:
    void init()
    {
        mTemp = std::make_unique<QTemporaryDir>();
        mKestrin = std::make_unique<QProcess>();
    }

    void cleanup()
    {
        if (mKestrin->state() != QProcess::NotRunning) {
            mKestrin->kill();
            mKestrin->waitForFinished();
        }
        mKestrin.reset();
        mTemp.reset();
    }

    void stoppedWithAProjectOpenItSavesAndLetsGo()
    {
        TestProject project(TestProject::group(QStringLiteral("Disc"), {}));
        project.saveSettings();
        const QString tree = project.file(QStringLiteral("Kestrin.tree"));
        const QString lock = project.file(QStringLiteral("Kestrin.lock"));
        start({ project.folder() });
        // The project is open when its lock is held: a removed file kept open.
        QTRY_VERIFY2_WITH_TIMEOUT(openFiles().contains(lock + QStringLiteral(" (deleted)")),
            qPrintable(openFiles().join(QLatin1Char('\n')) + QString::fromUtf8(mKestrin->readAllStandardError())),
            kTimeoutMs);
        QVERIFY(!QFile::exists(lock));

        // Only a quit through the program writes the tree back.
        QVERIFY(QFile::remove(tree));
        stopAndCheckItEndedCleanly();
        QVERIFY(QFile::exists(tree));
        QVERIFY(QFile::exists(project.file(QStringLiteral("Kestrin.settings"))));
        QVERIFY(!QFile::exists(lock));
    }

    void stoppedWhileChoosingAProject()
    {
        start({});
        stopAndCheckItEndedCleanly();
    }
};

QTEST_GUILESS_MAIN(TestStartQuit)
#include "tst_startquit.moc"
