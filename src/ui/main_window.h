#pragma once

// frmMain, the main window. It shows and edits the session(): the job, the list
// and the run live there, beside the window. The editing, viewer and capture
// add-ons see the window as an AddOnHost: the session, the preview and the menus
// they draw into. They answer the window's request signals; the window runs
// without them (the commands then do nothing):
//  - textWatermarkRequested: mSetTxt, the canvas menu "设置文字水印" and ticking
//    chkInfoTxt with an empty sText (only once mainLoaded()). It edits the job.
//  - optionsRequested (menu mTOption "选项...") and pdfSettingsRequested (menu
//    mSPDFSet, button cmdPDFSet).
//  - viewerRequested: double-click, "全屏查看" and the browse menu; the viewer
//    appends crops with appendPictures().
//  - wordImportRequested / cameraRequested / screenCaptureRequested behind mWord,
//    mCap, mCopySrc2; they append with appendPictures().
// Every modal dialog and message box goes through Prompter::instance().

#include "fs/app_paths.h"
#include "job/frame_list.h"
#include "job/job_restore.h"
#include "job/job_settings.h"
#include "render/render_result.h"
#include "run/batch_host.h"
#include "run/job_session.h"
#include "ui/add_on_host.h"
#include "ui/viewer_command.h"
#include "ui/window_options.h"

#include <QHash>
#include <QMainWindow>
#include <QMetaMethod>
#include <QPointer>

#include <functional>

class BatchRun;
class FileList;
class FileListView;
class FrmDlg;
class FrmWait;
class PreviewCanvas;
class PreviewRenderer;
class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMimeData;
class QPushButton;
class QSettings;
class QSlider;

class SingleInstance;

// Drop-downs, spin boxes and sliders of the tool column: the wheel changes them
// only while they have the focus.
bool takesWheelOnlyFocused(const QObject *control);

class MainWindow : public QMainWindow, public BatchHost, public AddOnHost {
    Q_OBJECT
public:
    // settings may be null (nothing is read or stored then).
    MainWindow(const AppPaths &paths, QSettings *settings, QWidget *parent = nullptr);
    ~MainWindow() override;

    // The load steps: lists, restored settings, command-line pictures, folders, title.
    void load(const QStringList &commandLinePictures = {});
    bool mainLoaded() const { return bMainLoaded_ == 1; }

    // AddOnHost
    JobSession &session() override { return session_; }
    WindowOptions &options() override { return options_; }
    QWidget *widget() override { return this; }
    QMenu *menu(Menu which) const override;
    QComboBox *positionList(MarkHit which) const override;
    int currentRow() const override;
    void setCurrentRow(int row) override;
    void removeEntry(int row) override;

    JobSettings &job() { return job_; }
    RunState &runState() { return state_; }
    FileList &fileList() { return *files_; }
    const AppPaths &paths() const override { return paths_; }
    QSettings *settings() const override { return settings_; }
    // Opens a folder, web page or text file outside the program (tests record it).
    void setExternalOpener(std::function<void(const QString &path)> opener);
    PreviewCanvas *canvas() const override { return canvas_; }
    FileListView *listView() const { return lstFile_; }
    const MarkPlacement &lastMarks() const override { return lastMarks_; }
    QMenu *effectMenu() const { return effectMenu_; }
    QMenu *rotationMenu() const { return rotationMenu_; }
    QMenu *colourMenu() const { return colourMenu_; }
    QMenu *settingsMenu() const { return settingsMenu_; }
    // Shown in the preview's context menu after the watermark entries.
    void setCanvasEditActions(const QList<QAction *> &actions) override { canvasEditActions_ = actions; }
    QString statusText() const;
    void setRunJobs(int jobs) { runJobs_ = jobs; }

    // Appends pictures without the duplicate test (second instance, crops, captures)
    // and makes the last one current.
    void appendPictures(const QStringList &paths) override;
    // Pictures handed over by a second start are appended and the window comes forward.
    void listenTo(SingleInstance &instance);
    // Runs the pipeline for the current entry and shows the result when it arrives.
    void redrawPreview();
    // Blocks until the preview has caught up (tests).
    void waitForPreview();
    void setOffsets(float x, float y) override;
    // Re-reads every control from job() (after a dialog changed it).
    void syncControlsFromJob();

    // Commands, named after their controls.
    void cmdAdd_Click();
    void cmdAdds_Click();
    void cmdDel_Click();
    void undoRemoval();
    void cmdClr_Click();
    void cmdODir_Click();
    void cmdStart_Click();
    void cmdStop_Click();
    void mSetImg_Click();
    void mCopyFileName_Click();
    void mCopyPic_Click();
    void mExit_Click();
    // Saved jobs: the job menu's commands.
    void saveCurrentJob();
    bool loadJob(const QString &file);
    void manageJobs();
    // Scans folder and appends its pictures (the add-folder command after the dialog).
    void addFolder(const QString &folder, bool withSubFolders);
    void dropPictures(const QMimeData *data);

    // BatchHost
    void showStatus(const QString &text) override;
    void setStartCaption(const QString &caption) override;
    void setRunning(bool running) override;
    void showError(const QString &text) override;
    bool askYesNo(const QString &text) override;
    void startCheckFailed(StartCheck check) override;
    void minimise() override;
    bool isMinimised() const override;
    void maximise() override;
    void showWaitWindow(bool shown) override;
    void setPreviewChecked(bool checked) override;
    void openFolder(const QString &path) override;
    void openFile(const QString &path) override;
    void openTextFile(const QString &path) override;
    void showMessage(const QString &text) override;
    void pictureFinished(int position, const RenderResult &result) override;
    void pictureDone(const PictureReport &report) override;

signals:
    void textWatermarkRequested();
    void optionsRequested();
    void pdfSettingsRequested();
    void viewerRequested(ViewerCommand command);
    void wordImportRequested();
    void cameraRequested();
    void screenCaptureRequested();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    // main_window_layout.cpp
    void buildUi();
    void buildMenus();
    QWidget *buildPanels();
    void setHint(QWidget *w, const QString &hint);

    // main_window_saved_jobs.cpp
    void buildJobMenu(QMenu *menu);
    void fillSavedJobsMenu(QMenu *menu);

    // main_window_job.cpp
    void connectJobControls();
    void cmbSize_Click(int index);
    void cmbBk_Click(int index);
    void fillSizeList();
    void fillFrameList(int select);
    void syncSizeControls();
    void chkInfoTxt_Click(bool checked);
    void chkInfoImg_Click(bool checked);
    void updateTextMarkControls();
    void updatePictureMarkControls();
    void showPrefixMenu();
    void runWatermarkChooser();
    void chooseRotation(int mode);

    // main_window_files.cpp
    void connectFileList();
    void currentEntryChanged();
    void afterAdding();
    void updateRemovalControls();
    void stepEntry(int delta);
    void showListMenu(const QPoint &globalPos);
    void showCanvasMenu(const QPoint &globalPos);
    void previewRendered(const RenderResult &result, const QString &path);
    void showCaptionBox();
    QString runFolderDialog(FrmDlg &dlg, bool *accepted);
    void openExternal(const QString &path);
    // Whether an add-on answers the request signal.
    template<typename Signal> bool answered(Signal signal) const
    {
        return isSignalConnected(QMetaMethod::fromSignal(signal));
    }

    // main_window_run.cpp (BatchHost above)
    void runFinished();
    void folderScanned();
    void showPictureInfo(const QString &path, QSize outputSize);

    const AppPaths paths_;
    QSettings *settings_;
    JobSession session_;
    WindowOptions options_;
    JobSettings &job_ = session_.job();
    RunState state_; // the window's own: whether the preview is off
    FrameList frames_;
    RestoredSettings restored_;
    std::function<void(const QString &path)> openExternal_;
    MarkPlacement lastMarks_;
    int bMainLoaded_ = 0;
    bool syncing_ = false; // controls are being filled from job_: handlers stay quiet
    bool exitWithoutSave_ = false;
    bool closeAfterRun_ = false;
    int runJobs_ = 0; // 0: as many as the machine has cores
    int countBeforeScan_ = 0;
    // What the last run with a file-size target wrote of each source, shown under the preview.
    QHash<QString, PictureReport> writtenSizes_;
    bool runHasSizeTarget_ = false;
    QHash<QObject *, QString> hints_;

    FileList *files_;
    PreviewRenderer *renderer_;
    FrmWait *frmWait_;

    // Panel 1
    QPushButton *cmdAdd_;
    QPushButton *cmdAdds_;
    QPushButton *cmdDel_;
    QPushButton *cmdClr_;
    QLabel *fileCountLabel_;
    FileListView *lstFile_;
    // Panel 2
    QComboBox *cmbSize_;
    QLineEdit *txtWidth_;
    QLineEdit *txtHeight_;
    QLineEdit *txtLeft_;
    QLineEdit *txtTop_;
    // Panel 3
    QComboBox *cmbBk_;
    QCheckBox *chkInfoTxt_;
    QLabel *textMarkLabel_;
    QComboBox *cmbTxtPos_;
    QLineEdit *txtSize_;
    QCheckBox *chkInfoImg_;
    QLabel *pictureMarkLabel_;
    QComboBox *cmbImgPos_;
    QLineEdit *txtAlpha_;
    QSlider *sldMarkScale_;
    // Panel 4
    QComboBox *cmbFormat_;
    QCheckBox *chkRename_;
    QLineEdit *txtPrefix_;
    QLineEdit *txtDigits_;
    QPushButton *cmdODir_;
    QLabel *outputLabel_;
    // Panel 5
    QCheckBox *chkPDF_;
    QPushButton *cmdPDFSet_;
    QCheckBox *chkUpload_;
    QPushButton *cmdStart_;
    QPushButton *cmdStop_;
    // Preview side
    PreviewCanvas *canvas_;
    QLineEdit *txtCaption_;
    QLabel *pictureInfoLabel_;
    QLabel *statusLabel_;
    class QSplitter *splitter_ = nullptr;
    class QScrollArea *panelColumn_ = nullptr;
    QSize startSize_; // the size buildUi chose, until the first show fits it to the column
    // Menus
    QMenu *effectMenu_ = nullptr;
    QMenu *imageMenu_ = nullptr;
    QMenu *rotationMenu_ = nullptr;
    QMenu *colourMenu_ = nullptr;
    QMenu *settingsMenu_ = nullptr;
    QList<QAction *> canvasEditActions_;
    QAction *mSetTxt_ = nullptr;
    QAction *mPreview_ = nullptr;
    QAction *mDelFile_ = nullptr;
    QAction *mClear_ = nullptr;
    QAction *mUndoDel_ = nullptr;
    QAction *mUndoDelFile_ = nullptr;
    QAction *mCopyFileName_ = nullptr;
    QList<QAction *> rotationActions_;
};
