#pragma once

// The camera window (frmCap): live picture of the first camera, "拍照" freezes a
// frame, "重拍" goes back to the live picture, "确定" keeps the frozen frame as
// "Cap" + ddHHmmss + ".bmp" in the user folder, "取消" closes. Without a camera,
// or when the camera fails, the box "没有摄像头或发生错误！请检查。" is shown and
// the window stays open without a live picture.
//
// How the main window uses it (menu item "摄像头拍照...", mCap):
//   showStatus(captureTexts::cameraHint());
//   CameraDialog dialog(paths().userDir(), Prompter::instance(), this);
//   if (Prompter::instance().exec(&dialog) == QDialog::Accepted)
//       appendPictures({dialog.savedPath()});
// Built without Qt Multimedia (TUVO_HAVE_MULTIMEDIA undefined) the window always
// reports that there is no camera.

#include <QDateTime>
#include <QDialog>
#include <QImage>

#include <functional>
#include <memory>

class Prompter;
class QLabel;
class QPushButton;
class QStackedWidget;

// Writes a kept still as userDir/Cap + ddHHmmss + ".bmp" (or _2, _3, ... when the
// name is taken); "" and *error on failure.
QString saveCameraStill(const QImage &still, const QString &userDir, const QDateTime &when, QString *error);

class CameraDialog : public QDialog {
    Q_OBJECT
public:
    CameraDialog(const QString &userDir, Prompter &prompter, QWidget *parent = nullptr);
    ~CameraDialog() override;

    void setClock(std::function<QDateTime()> clock) { clock_ = std::move(clock); }

    bool isLive() const; // a camera is running
    QImage still() const { return still_; }
    QString savedPath() const { return savedPath_; }

    // The buttons.
    void shoot(); // 拍照
    void reshoot(); // 重拍
    void keep(); // 确定

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;

private:
    void startCamera();
    void cameraFailed();
    void showStill(bool frozen);

    struct Live;
    QString userDir_;
    Prompter &prompter_;
    std::function<QDateTime()> clock_;
    std::unique_ptr<Live> live_;
    QStackedWidget *views_;
    QLabel *stillView_;
    QPushButton *cmdShoot_;
    QPushButton *cmdReshoot_;
    QPushButton *cmdOk_;
    QImage still_;
    QString savedPath_;
    bool started_ = false;
    bool failed_ = false;
};
