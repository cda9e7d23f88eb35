#include "capture/camera_dialog.h"

#include "capture/capture_texts.h"
#include "capture/new_picture_file.h"
#include "dialogs/prompter.h"
#include "fs/new_picture_name.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>

#ifdef TUVO_HAVE_MULTIMEDIA
#include <QCamera>
#include <QMediaCaptureSession>
#include <QMediaDevices>
#include <QVideoFrame>
#include <QVideoSink>
#include <QVideoWidget>
#endif

namespace {
constexpr QSize kViewSize(480, 360);
}

QString saveCameraStill(const QImage &still, const QString &userDir, const QDateTime &when, QString *error)
{
    return writeNewBitmap(
        still, userDir, timeStampedStem(QStringLiteral("Cap"), when, QStringLiteral("ddHHmmss")), error);
}

#ifdef TUVO_HAVE_MULTIMEDIA
struct CameraDialog::Live {
    QMediaCaptureSession session;
    std::unique_ptr<QCamera> camera;
    QVideoWidget *view = nullptr;
    QVideoFrame lastFrame;
};
#else
struct CameraDialog::Live {
    QWidget *view = nullptr;
};
#endif

CameraDialog::CameraDialog(const QString &userDir, Prompter &prompter, QWidget *parent)
    : QDialog(parent)
    , userDir_(userDir)
    , prompter_(prompter)
    , clock_([] { return QDateTime::currentDateTime(); })
    , live_(std::make_unique<Live>())
{
    setObjectName(QStringLiteral("frmCap"));
    setWindowTitle(captureTexts::cameraTitle());

    views_ = new QStackedWidget(this);
    views_->setFixedSize(kViewSize);
#ifdef TUVO_HAVE_MULTIMEDIA
    live_->view = new QVideoWidget(views_);
#else
    live_->view = new QWidget(views_);
#endif
    live_->view->setObjectName(QStringLiteral("Picture2"));
    stillView_ = new QLabel(views_);
    stillView_->setObjectName(QStringLiteral("Picture1"));
    stillView_->setAlignment(Qt::AlignCenter);
    views_->addWidget(live_->view);
    views_->addWidget(stillView_);

    cmdShoot_ = new QPushButton(captureTexts::shoot(), this);
    cmdShoot_->setObjectName(QStringLiteral("cmdShoot"));
    cmdReshoot_ = new QPushButton(captureTexts::reshoot(), this);
    cmdReshoot_->setObjectName(QStringLiteral("cmdReshoot"));
    cmdOk_ = new QPushButton(captureTexts::ok(), this);
    cmdOk_->setObjectName(QStringLiteral("cmdOk"));
    auto *cmdCancel = new QPushButton(captureTexts::cancel(), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    connect(cmdShoot_, &QPushButton::clicked, this, &CameraDialog::shoot);
    connect(cmdReshoot_, &QPushButton::clicked, this, &CameraDialog::reshoot);
    connect(cmdOk_, &QPushButton::clicked, this, &CameraDialog::keep);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdShoot_);
    buttons->addWidget(cmdReshoot_);
    buttons->addStretch();
    buttons->addWidget(cmdOk_);
    buttons->addWidget(cmdCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(views_);
    layout->addLayout(buttons);
    showStill(false);
}

CameraDialog::~CameraDialog() = default;

bool CameraDialog::isLive() const
{
#ifdef TUVO_HAVE_MULTIMEDIA
    return live_->camera && live_->camera->isActive() && !failed_;
#else
    return false;
#endif
}

void CameraDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!started_) {
        started_ = true;
        // Once the window is on screen, so that the error box has it as parent.
        QTimer::singleShot(0, this, &CameraDialog::startCamera);
    }
}

void CameraDialog::startCamera()
{
#ifdef TUVO_HAVE_MULTIMEDIA
    const QList<QCameraDevice> inputs = QMediaDevices::videoInputs();
    if (inputs.isEmpty()) {
        cameraFailed();
        return;
    }
    live_->camera = std::make_unique<QCamera>(inputs.first());
    connect(live_->camera.get(), &QCamera::errorOccurred, this, [this](QCamera::Error e) {
        if (e != QCamera::NoError)
            cameraFailed();
    });
    connect(live_->view->videoSink(), &QVideoSink::videoFrameChanged, this,
        [this](const QVideoFrame &frame) { live_->lastFrame = frame; });
    live_->session.setCamera(live_->camera.get());
    live_->session.setVideoOutput(live_->view);
    live_->camera->start();
#else
    cameraFailed();
#endif
}

void CameraDialog::cameraFailed()
{
    if (failed_)
        return;
    failed_ = true;
    cmdShoot_->setEnabled(false);
    prompter_.message(this, captureTexts::boxTitle(), captureTexts::noCamera(), Prompter::Icon::Error);
}

void CameraDialog::showStill(bool frozen)
{
    views_->setCurrentIndex(frozen ? 1 : 0);
    cmdShoot_->setEnabled(!frozen && !failed_);
    cmdReshoot_->setEnabled(frozen);
    // Nothing to keep until a frame is frozen: no file name without a file.
    cmdOk_->setEnabled(frozen && !still_.isNull());
}

void CameraDialog::shoot()
{
#ifdef TUVO_HAVE_MULTIMEDIA
    if (live_->lastFrame.isValid())
        still_ = live_->lastFrame.toImage().convertToFormat(QImage::Format_RGB32);
#endif
    if (still_.isNull())
        return;
    stillView_->setPixmap(
        QPixmap::fromImage(still_.scaled(kViewSize, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    showStill(true);
}

void CameraDialog::reshoot()
{
    still_ = QImage();
    stillView_->clear();
    showStill(false);
}

void CameraDialog::keep()
{
    if (still_.isNull())
        return;
    QString error;
    savedPath_ = saveCameraStill(still_, userDir_, clock_(), &error);
    if (savedPath_.isEmpty()) {
        prompter_.message(
            this, captureTexts::boxTitle(), captureTexts::saveFailed(userDir_, error), Prompter::Icon::Error);
        return;
    }
    accept();
}

void CameraDialog::done(int result)
{
    // Closing by any means lets go of the camera.
#ifdef TUVO_HAVE_MULTIMEDIA
    if (live_->camera)
        live_->camera->stop();
    live_->session.setCamera(nullptr);
#endif
    QDialog::done(result);
}
