#include "ui/frm_dlg.h"

#include "imaging/picture_files.h"
#include "imaging/raw_decoder.h"
#include "job/job_restore.h"
#include "job/settings_store.h"
#include "settings/display_texts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QSlider>
#include <QSplitter>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QTimer>
#include <QTreeView>
#include <QUrl>
#include <QVBoxLayout>

namespace {
QString defaultFilter()
{
    QString filter = QStringLiteral("*.jpg;*.gif;*.png;*.bmp;*.heic;*.heif;*.avif");
    for (const QString &extension : rawExtensions())
        filter += QStringLiteral(";*.") + extension;
    return filter;
}
bool alphaFieldClickedOnce = false; // the first click after start selects the whole field
} // namespace

FrmDlg::FrmDlg(QSettings *settings, QWidget *parent)
    : QDialog(parent)
    , settings_(settings)
{
    setObjectName(QStringLiteral("frmDlg"));
    setWindowTitle(QCoreApplication::translate("tuvo", "文件夹/文件选择对话框"));
    buildUi();
    setFileFilter(defaultFilter());
    setMode(NoActionMode);
    setCurrentFolder(QDir::homePath());
    promptLabel_->setText(QCoreApplication::translate("tuvo", "请选择目录或文件。"));
}

void FrmDlg::buildUi()
{
    promptLabel_ = new QLabel(this);
    promptLabel_->setObjectName(QStringLiteral("Label1"));
    promptLabel_->setWordWrap(true);
    promptLabel_->setMinimumHeight(promptLabel_->fontMetrics().height() * 2 + 4);

    pathBox_ = new QLineEdit(this);
    pathBox_->setObjectName(QStringLiteral("txtPath"));
    pathBox_->setPlaceholderText(QCoreApplication::translate("tuvo", "输入或粘贴路径,按回车转到"));
    pathBox_->setClearButtonEnabled(true);
    pathBox_->installEventFilter(this);

    driveBox_ = new QComboBox(this);
    driveBox_->setObjectName(QStringLiteral("Drive1"));
    QStringList roots;
    for (const QStorageInfo &v : QStorageInfo::mountedVolumes()) {
        // Containers mount single files too; only folders make drives.
        if (v.isValid() && v.isReady() && !roots.contains(v.rootPath()) && QFileInfo(v.rootPath()).isDir()
            && !v.rootPath().startsWith(QLatin1String("/proc"))
            && !v.rootPath().startsWith(QLatin1String("/sys"))
            && !v.rootPath().startsWith(QLatin1String("/dev"))
            && !v.rootPath().startsWith(QLatin1String("/run")))
            roots << v.rootPath();
    }
    if (!roots.contains(QStringLiteral("/")))
        roots.prepend(QStringLiteral("/"));
    std::sort(roots.begin(), roots.end());
    for (const QString &r : roots)
        driveBox_->addItem(style()->standardIcon(QStyle::SP_DriveHDIcon), r, r);
    connect(driveBox_, &QComboBox::activated, this, &FrmDlg::driveChanged);

    dirModel_ = new QFileSystemModel(this);
    dirModel_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    dirModel_->setRootPath(QStringLiteral("/"));
    folderTree_ = new QTreeView(this);
    folderTree_->setObjectName(QStringLiteral("Dir1"));
    folderTree_->setModel(dirModel_);
    for (int c = 1; c < dirModel_->columnCount(); ++c)
        folderTree_->hideColumn(c);
    folderTree_->setHeaderHidden(true);
    folderTree_->setSortingEnabled(true);
    folderTree_->sortByColumn(0, Qt::AscendingOrder);
    folderTree_->setRootIndex(dirModel_->index(QStringLiteral("/")));
    folderTree_->setMinimumWidth(220);
    connect(folderTree_, &QTreeView::clicked, this,
        [this](const QModelIndex &i) { folderClicked(dirModel_->filePath(i)); });
    // Arrow keys and type-ahead move the current folder without a click; the
    // tree is left as the user arranged it.
    connect(folderTree_->selectionModel(), &QItemSelectionModel::currentChanged, this,
        [this](const QModelIndex &i) {
            const QString path = QDir::cleanPath(dirModel_->filePath(i));
            if (i.isValid() && path != folder_ && showFolder(path))
                showFolderPrompt();
        });
    pathBox_->setCompleter(new QCompleter(dirModel_, pathBox_));
    // The model reads folders in the background: every folder on the way to the
    // current one that arrives moves the rows, so the current folder is brought
    // back into view. Folders the user opens elsewhere do not move the view.
    connect(dirModel_, &QFileSystemModel::directoryLoaded, this, [this](const QString &loaded) {
        const QString on = loaded.endsWith(QLatin1Char('/')) ? loaded : loaded + QLatin1Char('/');
        if (folder_ == loaded || folder_.startsWith(on))
            scrollToCurrentFolder();
    });

    fileList_ = new QListWidget(this);
    fileList_->setObjectName(QStringLiteral("File1"));
    fileList_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    fileList_->setMinimumWidth(180);
    // Clicks and keys alike.
    connect(fileList_, &QListWidget::itemSelectionChanged, this, &FrmDlg::fileClicked);
    connect(fileList_, &QListWidget::itemDoubleClicked, this, [this] { cmdOK_Click(); });

    previewFrame_ = new QGroupBox(QCoreApplication::translate("tuvo", "图片预览"), this);
    previewFrame_->setObjectName(QStringLiteral("frmPreview"));
    preview_ = new QLabel(previewFrame_);
    preview_->setAlignment(Qt::AlignCenter);
    preview_->setFixedSize(180, 150);
    auto *pl = new QVBoxLayout(previewFrame_);
    pl->addWidget(preview_);

    chkSelAll_ = new QCheckBox(QCoreApplication::translate("tuvo", "包含子文件夹内图片。"), this);
    chkSelAll_->setObjectName(QStringLiteral("chkSelAll"));

    opacityFrame_ = new QGroupBox(QCoreApplication::translate("tuvo", "透明度"), this);
    opacityFrame_->setObjectName(QStringLiteral("frmSY"));
    opacitySlider_ = new QSlider(Qt::Horizontal, opacityFrame_);
    opacitySlider_->setObjectName(QStringLiteral("HScroll1"));
    opacitySlider_->setRange(0, 100);
    opacitySlider_->setSingleStep(1);
    opacitySlider_->setPageStep(10);
    const int startAlpha = JobSettings().iuSYAlpha;
    opacitySlider_->setValue(startAlpha);
    opacityBox_ = new QLineEdit(QString::number(startAlpha), opacityFrame_);
    opacityBox_->setObjectName(QStringLiteral("txtSYAlpha"));
    opacityBox_->setMaximumWidth(56);
    opacityBox_->installEventFilter(this);
    auto *opacityHint
        = new QLabel(QCoreApplication::translate("tuvo", "0-完全透明 100-不透明"), opacityFrame_);
    opacityHint->setObjectName(QStringLiteral("Label2"));
    auto *sy = new QGridLayout(opacityFrame_);
    sy->addWidget(opacitySlider_, 0, 0);
    sy->addWidget(opacityBox_, 0, 1);
    sy->addWidget(opacityHint, 1, 0, 1, 2);
    connect(opacitySlider_, &QSlider::valueChanged, this, [this](int v) {
        if (opacityBox_->text() != QString::number(v))
            opacityBox_->setText(QString::number(v));
    });
    connect(opacityBox_, &QLineEdit::textEdited, this, &FrmDlg::alphaTextEdited);

    auto *desktopButton = new QPushButton(
        style()->standardIcon(QStyle::SP_DesktopIcon), QCoreApplication::translate("tuvo", "桌面"), this);
    desktopButton->setObjectName(QStringLiteral("cmdDir0"));
    auto *documentsButton = new QPushButton(
        style()->standardIcon(QStyle::SP_DirHomeIcon), QCoreApplication::translate("tuvo", "我的文档"), this);
    documentsButton->setObjectName(QStringLiteral("cmdDir1"));
    auto *newFolderButton = new QPushButton(style()->standardIcon(QStyle::SP_FileDialogNewFolder),
        QCoreApplication::translate("tuvo", "新建"), this);
    newFolderButton->setObjectName(QStringLiteral("cmdDirNew"));
    const auto jump = [this](QStandardPaths::StandardLocation where) {
        const QString path = QStandardPaths::writableLocation(where);
        if (setCurrentFolder(path))
            folderClicked(path);
    };
    connect(desktopButton, &QPushButton::clicked, this, [jump] { jump(QStandardPaths::DesktopLocation); });
    connect(
        documentsButton, &QPushButton::clicked, this, [jump] { jump(QStandardPaths::DocumentsLocation); });
    connect(newFolderButton, &QPushButton::clicked, this, [this] { cmdDirNew_Click(); });

    cmdOK_ = new QPushButton(QCoreApplication::translate("tuvo", "确定"), this);
    cmdOK_->setObjectName(QStringLiteral("cmdOK"));
    cmdOK_->setDefault(true);
    cmdCancel_ = new QPushButton(QCoreApplication::translate("tuvo", "取消"), this);
    cmdCancel_->setObjectName(QStringLiteral("cmdCancel"));
    connect(cmdOK_, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel_, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });

    // Layout: prompt on top; drive + tree | files | preview and options; buttons below.
    auto *left = new QVBoxLayout;
    left->addWidget(driveBox_);
    left->addWidget(folderTree_, 1);
    auto *right = new QVBoxLayout;
    right->addWidget(previewFrame_);
    right->addWidget(opacityFrame_);
    right->addStretch(1);
    auto *middle = new QHBoxLayout;
    middle->addLayout(left, 3);
    middle->addWidget(fileList_, 2);
    middle->addLayout(right, 0);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(desktopButton);
    buttons->addWidget(documentsButton);
    buttons->addWidget(newFolderButton);
    buttons->addSpacing(12);
    buttons->addWidget(chkSelAll_);
    buttons->addStretch(1);
    buttons->addWidget(cmdOK_);
    buttons->addWidget(cmdCancel_);

    auto *pathRow = new QHBoxLayout;
    pathRow->addWidget(new QLabel(QCoreApplication::translate("tuvo", "位置:"), this));
    pathRow->addWidget(pathBox_, 1);

    auto *top = new QVBoxLayout(this);
    top->addWidget(promptLabel_);
    top->addLayout(pathRow);
    top->addLayout(middle, 1);
    top->addLayout(buttons);
    resize(760, 460);
}

void FrmDlg::setMode(int mode)
{
    mode_ = mode;
    if (mode == SkinMode)
        setWindowTitle(QCoreApplication::translate("tuvo", "请选择皮肤文件"));
    setFilesVisible(mode != FolderMode);
    setSubFolderOptionVisible(false);
    setOpacityVisible(mode == WatermarkMode);
}

void FrmDlg::setPrompt(const QString &prompt)
{
    promptLabel_->setText(prompt);
}

QString FrmDlg::prompt() const
{
    return promptLabel_->text();
}

void FrmDlg::setFileFilter(const QString &filter)
{
    patterns_ = filter.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    fillFiles();
}

void FrmDlg::setFilesVisible(bool visible)
{
    fileList_->setVisible(visible);
    previewFrame_->setVisible(visible);
}

void FrmDlg::setSubFolderOptionVisible(bool visible)
{
    chkSelAll_->setVisible(visible);
}

void FrmDlg::setOpacityVisible(bool visible)
{
    opacityFrame_->setVisible(visible);
}

void FrmDlg::setStartAlpha(int alpha)
{
    if (alpha >= 1 && alpha <= 100) {
        opacitySlider_->setValue(alpha);
        opacityBox_->setText(QString::number(alpha));
    }
}

bool FrmDlg::setCurrentFolder(const QString &folder)
{
    if (!showFolder(folder))
        return false;
    const QModelIndex index = dirModel_->index(folder_);
    if (index.isValid()) {
        folderTree_->setCurrentIndex(index);
        folderTree_->expand(index);
        scrollToCurrentFolder();
    }
    return true;
}

bool FrmDlg::showFolder(const QString &folder)
{
    const QFileInfo info(folder);
    if (folder.isEmpty() || !info.isDir())
        return false;
    folder_ = QDir::cleanPath(info.absoluteFilePath());
    pathBox_->setText(currentFolder());
    for (int i = driveBox_->count() - 1; i >= 0; --i) {
        const QString root = driveBox_->itemData(i).toString();
        if (folder_ == root
            || folder_.startsWith(root.endsWith(QLatin1Char('/')) ? root : root + QLatin1Char('/'))) {
            driveBox_->setCurrentIndex(i);
            break;
        }
    }
    fillFiles();
    return true;
}

void FrmDlg::scrollToCurrentFolder()
{
    const QModelIndex index = dirModel_->index(folder_);
    if (index.isValid())
        folderTree_->scrollTo(index, QAbstractItemView::PositionAtCenter);
}

void FrmDlg::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Only a shown tree knows its height; scroll once it is laid out.
    QTimer::singleShot(0, this, &FrmDlg::scrollToCurrentFolder);
}

QString FrmDlg::currentFolder() const
{
    return QDir::toNativeSeparators(folder_);
}

void FrmDlg::driveChanged(int index)
{
    const QString root = driveBox_->itemData(index).toString();
    if (setCurrentFolder(root))
        folderClicked(root);
}

void FrmDlg::folderClicked(const QString &folder)
{
    setCurrentFolder(folder);
    showFolderPrompt();
}

void FrmDlg::showFolderPrompt()
{
    promptLabel_->setText(QCoreApplication::translate("tuvo", "您选择的是\"") + currentFolder()
        + QCoreApplication::translate("tuvo", "\"文件夹。"));
}

void FrmDlg::fillFiles()
{
    fileList_->clear();
    if (folder_.isEmpty())
        return;
    QDir dir(folder_);
    QStringList names = dir.entryList(patterns_, QDir::Files | QDir::Readable, QDir::Name | QDir::IgnoreCase);
    for (const QString &n : names)
        fileList_->addItem(n);
    preview_->clear();
}

void FrmDlg::fileClicked()
{
    QListWidgetItem *item = fileList_->currentItem();
    if (!item)
        return;
    showPreview(QDir(folder_).filePath(item->text()));
    promptLabel_->setText(QCoreApplication::translate("tuvo", "您选择的是\"")
        + QDir::toNativeSeparators(QDir(folder_).filePath(item->text()))
        + QCoreApplication::translate("tuvo", "\"等共") + QString::number(fileList_->selectedItems().size())
        + QCoreApplication::translate("tuvo", "个文件。"));
}

void FrmDlg::showPreview(const QString &path)
{
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QSize full = reader.size();
    if (full.isValid()) {
        const QSize fitted = full.scaled(preview_->size(), Qt::KeepAspectRatio);
        if (fitted.width() < full.width())
            reader.setScaledSize(fitted.expandedTo(QSize(1, 1)));
    }
    const QImage image = reader.read();
    if (image.isNull()) {
        preview_->setText(QCoreApplication::translate("tuvo", "无法预览"));
        return;
    }
    preview_->setPixmap(QPixmap::fromImage(image));
}

void FrmDlg::selectFiles(const QStringList &names)
{
    fileList_->clearSelection();
    for (int i = 0; i < fileList_->count(); ++i) {
        QListWidgetItem *item = fileList_->item(i);
        if (names.contains(item->text())) {
            item->setSelected(true);
            fileList_->setCurrentItem(item, QItemSelectionModel::Select);
        }
    }
}

QStringList FrmDlg::fileNames() const
{
    QStringList out;
    for (int i = 0; i < fileList_->count(); ++i)
        out << fileList_->item(i)->text();
    return out;
}

QStringList FrmDlg::selectedFilePaths() const
{
    QStringList out;
    const QDir dir(folder_);
    for (int i = 0; i < fileList_->count(); ++i) {
        if (fileList_->item(i)->isSelected())
            out << QDir::toNativeSeparators(dir.filePath(fileList_->item(i)->text()));
    }
    return out;
}

bool FrmDlg::includeSubFolders() const
{
    return chkSelAll_->isChecked();
}

void FrmDlg::setIncludeSubFolders(bool on)
{
    chkSelAll_->setChecked(on);
}

QString FrmDlg::opacityText() const
{
    return opacityBox_->text();
}

int FrmDlg::opacity() const
{
    return leadingNumber(opacityBox_->text());
}

void FrmDlg::setOpacityText(const QString &text)
{
    opacityBox_->setText(text);
    alphaTextEdited(text);
}

void FrmDlg::alphaTextEdited(const QString &text)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    // Anything but a whole number 0..100 leaves the slider where it is.
    if (ok && v >= 0 && v <= 100)
        opacitySlider_->setValue(v);
}

bool FrmDlg::goToTypedPath()
{
    QString typed = pathBox_->text().trimmed();
    if (typed.startsWith(QLatin1String("file://")))
        typed = QUrl(typed).toLocalFile(); // pasted from a file manager
    else if (typed == QLatin1String("~") || typed.startsWith(QLatin1String("~/")))
        typed = QDir::homePath() + typed.mid(1);
    const QFileInfo info(QDir(folder_).absoluteFilePath(typed));
    if (!typed.isEmpty() && info.isDir()) {
        folderClicked(info.absoluteFilePath());
        return true;
    }
    if (!typed.isEmpty() && info.isFile()) {
        folderClicked(info.absolutePath());
        selectFiles({info.fileName()});
        return true;
    }
    promptLabel_->setText(
        QCoreApplication::translate("tuvo", "找不到\"%1\"。").arg(pathBox_->text().trimmed()));
    return false;
}

bool FrmDlg::eventFilter(QObject *watched, QEvent *event)
{
    // Return in the path box goes there; once there, Return is the OK button's again.
    if (watched == pathBox_ && event->type() == QEvent::KeyPress && pathBox_->isModified()) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            goToTypedPath();
            return true;
        }
    }
    if (watched == opacityBox_ && event->type() == QEvent::MouseButtonRelease && !alphaFieldClickedOnce) {
        alphaFieldClickedOnce = true;
        opacityBox_->selectAll();
    }
    return QDialog::eventFilter(watched, event);
}

void FrmDlg::cmdOK_Click()
{
    // A path typed but not yet gone to is what the user means.
    if (pathBox_->isModified() && !goToTypedPath())
        return;
    // A watermark or a skin needs a file; without one the dialog stays open.
    if ((mode_ == WatermarkMode || mode_ == SkinMode) && selectedFilePaths().isEmpty()) {
        promptLabel_->setText(mode_ == WatermarkMode
                ? QCoreApplication::translate("tuvo", "请选择要添加的水印图片。")
                : QCoreApplication::translate("tuvo", "请选择皮肤文件。"));
        return;
    }
    if (settings_ && !folder_.isEmpty())
        storeRememberedFolder(*settings_, currentFolder());
    accept();
}

void FrmDlg::cmdCancel_Click()
{
    cancelledByButton_ = true;
    reject();
}

QString FrmDlg::cmdDirNew_Click()
{
    if (folder_.isEmpty())
        return QString();
    const QString path = newFolderPath(folder_);
    if (!QDir().mkdir(path))
        return QString();
    setCurrentFolder(path);
    folderClicked(path);
    return path;
}
