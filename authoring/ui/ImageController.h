#pragma once

#include "authoring/ImageReport.h"

#include <QObject>
#include <QPointer>

#include <memory>

class DiscMenus;
class ImageJob;
class ImageProgressSheet;
class MediaTree;
class QMessageBox;
class QWidget;
class SettingsModel;

// The Build Image command in the window: checks that the movies have been
// converted, shows the image sheet while an ImageJob builds the image, lets
// the user stop it, and tells what went wrong when it failed. In the
// convert-image-burn chain it runs after the conversion and hands on to the
// burn when the image is there.
class ImageController : public QObject
{
    Q_OBJECT

public:
    ImageController(QWidget *window, MediaTree *tree, SettingsModel *settings, QObject *parent = nullptr);
    ~ImageController() override;

    // The project's menus, once there are any; without them the disc has none.
    void setMenus(const DiscMenus *menus) { mMenus = menus; }

    // The Build Image command: the image alone, no burn after it.
    void startImage();
    // The chain's image step, after the conversion: the burn follows when
    // the image was built.
    void startImageInChain();
    void startImage1(bool showSheets);
    // The argument has no effect; the can't-image sheet is shown when fewer
    // MPEG files than movies are in the project folder.
    bool readyToImage(bool showSheets);
    void startImage2();

    void imagePanelStop();

    bool isImaging() const { return mJob != nullptr; }
    // The sheets while they are up (for whoever drives the window).
    ImageProgressSheet *imageProgressSheet() const;
    QMessageBox *messageSheet() const;

signals:
    // The chain's image is built: burn it now.
    void burnRequested();
    // Every image build's end, stopped and failed ones included.
    void imageFinished(const ImageReport &report);

private slots:
    void imagePanelDone(const ImageReport &report);
    void imagePanelDidEnd(int returnCode);
    void errorPanelDidEnd(int returnCode);

private:
    void showMessageSheet(
        const QString &name, const QString &text, const QString &informative, const QString &details = {});
    void showFailure(const ImageReport &report);

    QWidget *mKestrinWindow;
    MediaTree *mTree;
    SettingsModel *mSettings;
    const DiscMenus *mMenus = nullptr;
    std::unique_ptr<ImageJob> mJob;
    ImageReport mReport;
    QPointer<ImageProgressSheet> mImageProgressSheet;
    QPointer<QMessageBox> mMessageSheet;
    bool mUserDidCancelImaging = false;
    bool mConvertImageBurn = false;
};
