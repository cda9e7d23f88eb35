#include "ui/main_window_capture.h"

#include "capture/camera_dialog.h"
#include "capture/capture_texts.h"
#include "capture/screen_capture_window.h"
#include "capture/word_import.h"
#include "dialogs/prompter.h"
#include "ui/main_window.h"

#include <QApplication>
#include <QPointer>

void installCaptureCommands(MainWindow &window)
{
    AddOnHost &host = window;
    QObject::connect(
        &window, &MainWindow::wordImportRequested, &window, [&host] { importFromWordDocument(host); });
    QObject::connect(&window, &MainWindow::cameraRequested, &window, [&host] { takeCameraStill(host); });
    QObject::connect(
        &window, &MainWindow::screenCaptureRequested, &window, [&host] { startScreenCapture(host); });
}

void importFromWordDocument(AddOnHost &host)
{
    const QString path = Prompter::instance().chooseOpenFile(host.widget(), captureTexts::wordDialogTitle(),
        host.paths().dataDir(), captureTexts::wordDialogFilter());
    if (path.isEmpty())
        return;

    QApplication::setOverrideCursor(Qt::WaitCursor);
    host.paths().ensureWritableFolders();
    const WordImportResult result = importWordPictures(path, host.paths().userDir());
    QApplication::restoreOverrideCursor();

    if (!result.pictures.isEmpty()) {
        host.appendPictures(result.pictures);
        host.showStatus(captureTexts::wordImported(int(result.pictures.size())));
    }
    // After the count, so that the last failure stays readable in the status line.
    for (const QString &line : result.errorLines)
        host.showStatus(line);
    if (!result.message.isEmpty()) {
        Prompter::instance().message(host.widget(), captureTexts::boxTitle(), result.message,
            result.messageIsError ? Prompter::Icon::Error : Prompter::Icon::Information);
    }
}

void takeCameraStill(AddOnHost &host)
{
    host.showStatus(captureTexts::cameraHint());
    host.paths().ensureWritableFolders();
    CameraDialog dialog(host.paths().userDir(), Prompter::instance(), host.widget());
    if (Prompter::instance().exec(&dialog) == QDialog::Accepted && !dialog.savedPath().isEmpty()) {
        host.appendPictures({dialog.savedPath()});
        host.showStatus(captureTexts::cameraStillKept(dialog.savedPath()));
    }
}

void startScreenCapture(AddOnHost &host)
{
    host.paths().ensureWritableFolders();
    auto *capture = new ScreenCaptureWindow(host.paths().userDir());
    capture->setAttribute(Qt::WA_DeleteOnClose);
    // Connected with the main window as context: once it is gone, nothing reaches it.
    QWidget *window = host.widget();
    QPointer<QWidget> main = window;
    capture->setMainWindowShown([main](bool shown) {
        if (!main)
            return;
        if (!shown)
            main->hide();
        else if (main->isHidden())
            main->show();
    });
    QObject::connect(capture, &ScreenCaptureWindow::pictureKept, window,
        [&host](const QString &path) { host.appendPictures({path}); });
    QObject::connect(capture, &ScreenCaptureWindow::statusLine, window,
        [&host](const QString &text) { host.showStatus(text); });
    capture->start(window->screen());
}
