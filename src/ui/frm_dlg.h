#pragma once

#include <QDialog>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QFileSystemModel;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSettings;
class QSlider;
class QTreeView;

// frmDlg "文件夹/文件选择对话框": the program's own chooser of folders and files.
// The opener sets the mode, prompt, start folder and filter, runs it modally
// through the Prompter and then reads the choice. OK writes the current folder to
// the settings store (sODIR) in every mode.
class FrmDlg : public QDialog {
    Q_OBJECT
public:
    enum Mode { FolderMode = 0, AddFilesMode = 1, WatermarkMode = 2, NoActionMode = 3, SkinMode = 4 };

    explicit FrmDlg(QSettings *settings, QWidget *parent = nullptr);

    void setMode(int mode); // DlgMode; shows or hides the parts each mode needs
    int mode() const { return mode_; }
    void setPrompt(const QString &prompt);
    QString prompt() const;
    void setFileFilter(const QString &filter); // "*.png" or "*.jpg;*.gif"
    void setFilesVisible(bool visible); // the file list and the preview frame
    void setSubFolderOptionVisible(bool visible);
    void setOpacityVisible(bool visible);
    // The opening rule: iuSYAlpha in 1..100 moves slider and field, else they keep a fresh job's.
    void setStartAlpha(int alpha);

    // Moves the folder tree (and the file list) to folder; false when it is not a folder.
    bool setCurrentFolder(const QString &folder);
    QString currentFolder() const;
    // Selects the named files of the file list (test and opener convenience).
    void selectFiles(const QStringList &names);
    QStringList fileNames() const; // all entries of the file list, in list order
    // Full paths of the selected entries of the file list, in list order.
    QStringList selectedFilePaths() const;
    bool includeSubFolders() const;
    void setIncludeSubFolders(bool on);
    QString opacityText() const;
    int opacity() const;
    void setOpacityText(const QString &text);
    // True when the dialog ended through the "取消" button (not through Esc).
    bool cancelledByButton() const { return cancelledByButton_; }

    // cmdOK, cmdCancel, cmdDirNew: the buttons' actions.
    void cmdOK_Click();
    void cmdCancel_Click();
    QString cmdDirNew_Click();

private:
    void buildUi();
    void folderClicked(const QString &folder);
    // Takes folder as the current one without moving the tree (it is already there).
    bool showFolder(const QString &folder);
    void showFolderPrompt();
    void fileClicked();
    void fillFiles();
    void showPreview(const QString &path);
    void driveChanged(int index);
    void alphaTextEdited(const QString &text);
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    // Brings the current folder into the tree's view.
    void scrollToCurrentFolder();
    // Goes to the folder or file typed in the path box; false when there is none.
    bool goToTypedPath();

    QSettings *settings_;
    int mode_ = NoActionMode;
    QString folder_;
    QStringList patterns_;
    bool cancelledByButton_ = false;

    QLabel *promptLabel_;
    QLineEdit *pathBox_;
    QComboBox *driveBox_;
    QTreeView *folderTree_;
    QFileSystemModel *dirModel_;
    QListWidget *fileList_;
    QGroupBox *previewFrame_;
    QLabel *preview_;
    QCheckBox *chkSelAll_;
    QGroupBox *opacityFrame_;
    QSlider *opacitySlider_;
    QLineEdit *opacityBox_;
    QPushButton *cmdOK_;
    QPushButton *cmdCancel_;
};
