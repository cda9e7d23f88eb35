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
    QObject::connect(
        &window, &MainWindow::wordImportRequested, &window, [&window] { importFromWordDocument(window); });
    QObject::connect(&window, &MainWindow::cameraRequested, &window, [&window] { takeCameraStill(window); });
    QObject::connect(
        &window, &MainWindow::screenCaptureRequested, &window, [&window] { startScreenCapture(window); });
}

void importFromWordDocument(MainWindow &window)
{
    const QString path = Prompter::instance().chooseOpenFile(
        &window, captureTexts::wordDialogTitle(), window.paths().dataDir(), captureTexts::wordDialogFilter());
    if (path.isEmpty())
        return;

    QApplication::setOverrideCursor(Qt::WaitCursor);
    window.paths().ensureWritableFolders();
    const WordImportResult result = importWordPictures(path, window.paths().userDir());
    QApplication::restoreOverrideCursor();

    if (!result.pictures.isEmpty()) {
        window.appendPictures(result.pictures);
        window.showStatus(captureTexts::wordImported(int(result.pictures.size())));
    }
    // After the count, so that the last failure stays readable in the status line.
    for (const QString &line : result.errorLines)
        window.showStatus(line);
    if (!result.message.isEmpty()) {
        Prompter::instance().message(&window, captureTexts::boxTitle(), result.message,
            result.messageIsError ? Prompter::Icon::Error : Prompter::Icon::Information);
    }
}

void takeCameraStill(MainWindow &window)
{
    window.showStatus(captureTexts::cameraHint());
    window.paths().ensureWritableFolders();
    CameraDialog dialog(window.paths().userDir(), Prompter::instance(), &window);
    if (Prompter::instance().exec(&dialog) == QDialog::Accepted && !dialog.savedPath().isEmpty()) {
        window.appendPictures({dialog.savedPath()});
        window.showStatus(captureTexts::cameraStillKept(dialog.savedPath()));
    }
}

void startScreenCapture(MainWindow &window)
{
    window.paths().ensureWritableFolders();
    auto *capture = new ScreenCaptureWindow(window.paths().userDir());
    capture->setAttribute(Qt::WA_DeleteOnClose);
    QPointer<MainWindow> main = &window;
    capture->setMainWindowShown([main](bool shown) {
        if (!main)
            return;
        if (!shown)
            main->hide();
        else if (main->isHidden())
            main->show();
    });
    QObject::connect(capture, &ScreenCaptureWindow::pictureKept, &window,
        [main](const QString &path) { main->appendPictures({path}); });
    QObject::connect(capture, &ScreenCaptureWindow::statusLine, &window,
        [main](const QString &text) { main->showStatus(text); });
    capture->start(window.screen());
}
