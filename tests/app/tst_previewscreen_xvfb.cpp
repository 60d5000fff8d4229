// Runs on a real X server (Xvfb): the preview draws in a native video window
// that only a screen grab sees, never QWidget::grab or the offscreen platform.
#include "app/KestrinApp.h"
#include "app/MainWindow.h"
#include "app/MoviePreview.h"
#include "app/MyController.h"
#include "app/PreviewPane.h"
#include "common/Fixtures.h"
#include "settings/SettingsModel.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QVideoWidget>

class TestPreviewScreen : public QObject
{
    Q_OBJECT

    std::unique_ptr<KestrinApp> mApp;
    QTemporaryDir mProject;

    QWidget *movieView() const { return mApp->window->mPreviewPane->movieView; }

    QImage grabMovieView() const
    {
        const QRect area(movieView()->mapToGlobal(QPoint(0, 0)), movieView()->size());
        return QGuiApplication::primaryScreen()
            ->grabWindow(0, area.x(), area.y(), area.width(), area.height())
            .toImage();
    }

    // Screenshots go where a person can look at them after the run.
    static void keep(const QImage &image, const QString &name)
    {
        const QString folder
            = qEnvironmentVariable("KESTRIN_SCREENSHOT_DIR", QStringLiteral(KESTRIN_BIN_DIR "/../screenshots"));
        QDir().mkpath(folder);
        image.save(QDir(folder).filePath(name));
    }

    static bool near(QRgb seen, QRgb wanted)
    {
        const int tolerance = 40; // YUV round trip and scaling
        return qAbs(qRed(seen) - qRed(wanted)) < tolerance && qAbs(qGreen(seen) - qGreen(wanted)) < tolerance
            && qAbs(qBlue(seen) - qBlue(wanted)) < tolerance;
    }

    // Distinct colours at every eighth pixel, to a sixteenth of each channel.
    static int colourCount(const QImage &image)
    {
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); y += 8)
            for (int x = 0; x < image.width(); x += 8)
                colours.insert(image.pixel(x, y) & 0xF0F0F0);
        return int(colours.size());
    }

    void play(const QString &movie)
    {
        MoviePreview *preview = mApp->controller->preview();
        preview->setRepeat(true);
        preview->playThisSong(movie);
        QTRY_VERIFY_WITH_TIMEOUT(preview->isPlaying(), 10000);
    }

private slots:
    void initTestCase()
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("needs an X server: run under xvfb-run");
        mApp = std::make_unique<KestrinApp>();
        mApp->settings->setProjectFolder(mProject.path());
        mApp->window->resize(1280, 800);
        mApp->window->show();
        QVERIFY(QTest::qWaitForWindowExposed(mApp->window.get()));
    }

    void cleanupTestCase() { mApp.reset(); }

    void playingMovieShowsItsPicture()
    {
        play(Fixtures::plainColourMp4(QStringLiteral("magenta")));
        QImage image;
        // The first frames take a moment to reach the screen.
        QTRY_VERIFY_WITH_TIMEOUT(
            (image = grabMovieView(), near(image.pixel(image.rect().center()), qRgb(255, 0, 255))), 10000);
        keep(image, QStringLiteral("preview-magenta.png"));
    }

    void windowWhilePlayingATestPicture()
    {
        play(Fixtures::h264AacMp4());
        // A test picture is many colours; a black or blank view is one.
        int colours = 0;
        QTRY_VERIFY2_WITH_TIMEOUT((colours = colourCount(grabMovieView())) > 8,
            qPrintable(QStringLiteral("only %1 colours on screen").arg(colours)), 10000);
        keep(QGuiApplication::primaryScreen()->grabWindow(0).toImage(), QStringLiteral("preview-window.png"));
    }
};

QTEST_MAIN(TestPreviewScreen)
#include "tst_previewscreen_xvfb.moc"
