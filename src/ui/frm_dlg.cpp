#include "ui/frm_dlg.h"

#include "batch/picture_files.h"
#include "settings/display_texts.h"
#include "settings/job_restore.h"
#include "settings/settings_store.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImageReader>
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
#include <QVBoxLayout>

namespace {
const QString kDefaultFilter = QStringLiteral("*.jpg;*.gif;*.png;*.bmp;*.heic;*.heif;*.avif");
bool alphaFieldClickedOnce = false; // the first click after start selects the whole field
} // namespace

FrmDlg::FrmDlg(QSettings *settings, QWidget *parent)
    : QDialog(parent)
    , settings_(settings)
{
    setObjectName(QStringLiteral("frmDlg"));
    setWindowTitle(QCoreApplication::translate("tuvo", "文件夹/文件选择对话框"));
    buildUi();
    setFileFilter(kDefaultFilter);
    setMode(NoActionMode);
    setCurrentFolder(QDir::homePath());
    label1_->setText(QCoreApplication::translate("tuvo", "请选择目录或文件。"));
}

void FrmDlg::buildUi()
{
    label1_ = new QLabel(this);
    label1_->setObjectName(QStringLiteral("Label1"));
    label1_->setWordWrap(true);
    label1_->setMinimumHeight(label1_->fontMetrics().height() * 2 + 4);

    drive1_ = new QComboBox(this);
    drive1_->setObjectName(QStringLiteral("Drive1"));
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
        drive1_->addItem(style()->standardIcon(QStyle::SP_DriveHDIcon), r, r);
    connect(drive1_, &QComboBox::activated, this, &FrmDlg::driveChanged);

    dirModel_ = new QFileSystemModel(this);
    dirModel_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    dirModel_->setRootPath(QStringLiteral("/"));
    dir1_ = new QTreeView(this);
    dir1_->setObjectName(QStringLiteral("Dir1"));
    dir1_->setModel(dirModel_);
    for (int c = 1; c < dirModel_->columnCount(); ++c)
        dir1_->hideColumn(c);
    dir1_->setHeaderHidden(true);
    dir1_->setSortingEnabled(true);
    dir1_->sortByColumn(0, Qt::AscendingOrder);
    dir1_->setRootIndex(dirModel_->index(QStringLiteral("/")));
    dir1_->setMinimumWidth(220);
    connect(dir1_, &QTreeView::clicked, this,
        [this](const QModelIndex &i) { folderClicked(dirModel_->filePath(i)); });
    // The model reads folders in the background: every folder on the way to the
    // current one that arrives moves the rows, so the current folder is brought
    // back into view. Folders the user opens elsewhere do not move the view.
    connect(dirModel_, &QFileSystemModel::directoryLoaded, this, [this](const QString &loaded) {
        const QString on = loaded.endsWith(QLatin1Char('/')) ? loaded : loaded + QLatin1Char('/');
        if (folder_ == loaded || folder_.startsWith(on))
            scrollToCurrentFolder();
    });

    file1_ = new QListWidget(this);
    file1_->setObjectName(QStringLiteral("File1"));
    file1_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    file1_->setMinimumWidth(180);
    connect(file1_, &QListWidget::itemClicked, this, &FrmDlg::fileClicked);
    connect(file1_, &QListWidget::itemDoubleClicked, this, [this] { cmdOK_Click(); });

    previewFrame_ = new QGroupBox(QCoreApplication::translate("tuvo", "图片预览"), this);
    previewFrame_->setObjectName(QStringLiteral("frmPreview"));
    preview_ = new QLabel(previewFrame_);
    preview_->setAlignment(Qt::AlignCenter);
    preview_->setFixedSize(180, 150);
    auto *pl = new QVBoxLayout(previewFrame_);
    pl->addWidget(preview_);

    chkSelAll_ = new QCheckBox(QCoreApplication::translate("tuvo", "包含子文件夹内图片。"), this);
    chkSelAll_->setObjectName(QStringLiteral("chkSelAll"));

    frmSY_ = new QGroupBox(QCoreApplication::translate("tuvo", "透明度"), this);
    frmSY_->setObjectName(QStringLiteral("frmSY"));
    hScroll1_ = new QSlider(Qt::Horizontal, frmSY_);
    hScroll1_->setObjectName(QStringLiteral("HScroll1"));
    hScroll1_->setRange(0, 100);
    hScroll1_->setSingleStep(1);
    hScroll1_->setPageStep(10);
    hScroll1_->setValue(80);
    txtSYAlpha_ = new QLineEdit(QStringLiteral("80"), frmSY_);
    txtSYAlpha_->setObjectName(QStringLiteral("txtSYAlpha"));
    txtSYAlpha_->setMaximumWidth(56);
    txtSYAlpha_->installEventFilter(this);
    auto *label2 = new QLabel(QCoreApplication::translate("tuvo", "0-完全透明 100-不透明"), frmSY_);
    label2->setObjectName(QStringLiteral("Label2"));
    auto *sy = new QGridLayout(frmSY_);
    sy->addWidget(hScroll1_, 0, 0);
    sy->addWidget(txtSYAlpha_, 0, 1);
    sy->addWidget(label2, 1, 0, 1, 2);
    connect(hScroll1_, &QSlider::valueChanged, this, [this](int v) {
        if (txtSYAlpha_->text() != QString::number(v))
            txtSYAlpha_->setText(QString::number(v));
    });
    connect(txtSYAlpha_, &QLineEdit::textEdited, this, &FrmDlg::alphaTextEdited);

    auto *cmdDir0 = new QPushButton(
        style()->standardIcon(QStyle::SP_DesktopIcon), QCoreApplication::translate("tuvo", "桌面"), this);
    cmdDir0->setObjectName(QStringLiteral("cmdDir0"));
    auto *cmdDir1 = new QPushButton(
        style()->standardIcon(QStyle::SP_DirHomeIcon), QCoreApplication::translate("tuvo", "我的文档"), this);
    cmdDir1->setObjectName(QStringLiteral("cmdDir1"));
    auto *cmdDirNew = new QPushButton(style()->standardIcon(QStyle::SP_FileDialogNewFolder),
        QCoreApplication::translate("tuvo", "新建"), this);
    cmdDirNew->setObjectName(QStringLiteral("cmdDirNew"));
    const auto jump = [this](QStandardPaths::StandardLocation where) {
        const QString path = QStandardPaths::writableLocation(where);
        if (setCurrentFolder(path))
            folderClicked(path);
    };
    connect(cmdDir0, &QPushButton::clicked, this, [jump] { jump(QStandardPaths::DesktopLocation); });
    connect(cmdDir1, &QPushButton::clicked, this, [jump] { jump(QStandardPaths::DocumentsLocation); });
    connect(cmdDirNew, &QPushButton::clicked, this, [this] { cmdDirNew_Click(); });

    cmdOK_ = new QPushButton(QCoreApplication::translate("tuvo", "确定"), this);
    cmdOK_->setObjectName(QStringLiteral("cmdOK"));
    cmdOK_->setDefault(true);
    cmdCancel_ = new QPushButton(QCoreApplication::translate("tuvo", "取消"), this);
    cmdCancel_->setObjectName(QStringLiteral("cmdCancel"));
    connect(cmdOK_, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel_, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });

    // Layout: prompt on top; drive + tree | files | preview and options; buttons below.
    auto *left = new QVBoxLayout;
    left->addWidget(drive1_);
    left->addWidget(dir1_, 1);
    auto *right = new QVBoxLayout;
    right->addWidget(previewFrame_);
    right->addWidget(frmSY_);
    right->addStretch(1);
    auto *middle = new QHBoxLayout;
    middle->addLayout(left, 3);
    middle->addWidget(file1_, 2);
    middle->addLayout(right, 0);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdDir0);
    buttons->addWidget(cmdDir1);
    buttons->addWidget(cmdDirNew);
    buttons->addSpacing(12);
    buttons->addWidget(chkSelAll_);
    buttons->addStretch(1);
    buttons->addWidget(cmdOK_);
    buttons->addWidget(cmdCancel_);

    auto *top = new QVBoxLayout(this);
    top->addWidget(label1_);
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
    label1_->setText(prompt);
}

QString FrmDlg::prompt() const
{
    return label1_->text();
}

void FrmDlg::setFileFilter(const QString &filter)
{
    patterns_ = filter.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    fillFiles();
}

void FrmDlg::setFilesVisible(bool visible)
{
    file1_->setVisible(visible);
    previewFrame_->setVisible(visible);
}

void FrmDlg::setSubFolderOptionVisible(bool visible)
{
    chkSelAll_->setVisible(visible);
}

void FrmDlg::setOpacityVisible(bool visible)
{
    frmSY_->setVisible(visible);
}

void FrmDlg::setStartAlpha(int alpha)
{
    if (alpha >= 1 && alpha <= 100) {
        hScroll1_->setValue(alpha);
        txtSYAlpha_->setText(QString::number(alpha));
    }
}

bool FrmDlg::setCurrentFolder(const QString &folder)
{
    const QFileInfo info(folder);
    if (folder.isEmpty() || !info.isDir())
        return false;
    folder_ = QDir::cleanPath(info.absoluteFilePath());
    const QModelIndex index = dirModel_->index(folder_);
    if (index.isValid()) {
        dir1_->setCurrentIndex(index);
        dir1_->expand(index);
        scrollToCurrentFolder();
    }
    for (int i = drive1_->count() - 1; i >= 0; --i) {
        const QString root = drive1_->itemData(i).toString();
        if (folder_ == root
            || folder_.startsWith(root.endsWith(QLatin1Char('/')) ? root : root + QLatin1Char('/'))) {
            drive1_->setCurrentIndex(i);
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
        dir1_->scrollTo(index, QAbstractItemView::PositionAtCenter);
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
    const QString root = drive1_->itemData(index).toString();
    if (setCurrentFolder(root))
        folderClicked(root);
}

void FrmDlg::folderClicked(const QString &folder)
{
    setCurrentFolder(folder);
    label1_->setText(QCoreApplication::translate("tuvo", "您选择的是\"") + currentFolder()
        + QCoreApplication::translate("tuvo", "\"文件夹。"));
}

void FrmDlg::fillFiles()
{
    file1_->clear();
    if (folder_.isEmpty())
        return;
    QDir dir(folder_);
    QStringList names = dir.entryList(patterns_, QDir::Files | QDir::Readable, QDir::Name | QDir::IgnoreCase);
    for (const QString &n : names)
        file1_->addItem(n);
    preview_->clear();
}

void FrmDlg::fileClicked()
{
    QListWidgetItem *item = file1_->currentItem();
    if (!item)
        return;
    showPreview(QDir(folder_).filePath(item->text()));
    label1_->setText(QCoreApplication::translate("tuvo", "您选择的是\"")
        + QDir::toNativeSeparators(QDir(folder_).filePath(item->text()))
        + QCoreApplication::translate("tuvo", "\"等共") + QString::number(file1_->selectedItems().size())
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
    file1_->clearSelection();
    for (int i = 0; i < file1_->count(); ++i) {
        QListWidgetItem *item = file1_->item(i);
        if (names.contains(item->text())) {
            item->setSelected(true);
            file1_->setCurrentItem(item, QItemSelectionModel::Select);
        }
    }
}

QStringList FrmDlg::fileNames() const
{
    QStringList out;
    for (int i = 0; i < file1_->count(); ++i)
        out << file1_->item(i)->text();
    return out;
}

QStringList FrmDlg::selectedFilePaths() const
{
    QStringList out;
    const QDir dir(folder_);
    for (int i = 0; i < file1_->count(); ++i) {
        if (file1_->item(i)->isSelected())
            out << QDir::toNativeSeparators(dir.filePath(file1_->item(i)->text()));
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
    return txtSYAlpha_->text();
}

int FrmDlg::opacity() const
{
    return leadingNumber(txtSYAlpha_->text());
}

void FrmDlg::setOpacityText(const QString &text)
{
    txtSYAlpha_->setText(text);
    alphaTextEdited(text);
}

void FrmDlg::alphaTextEdited(const QString &text)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    // Anything but a whole number 0..100 leaves the slider where it is.
    if (ok && v >= 0 && v <= 100)
        hScroll1_->setValue(v);
}

bool FrmDlg::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txtSYAlpha_ && event->type() == QEvent::MouseButtonRelease && !alphaFieldClickedOnce) {
        alphaFieldClickedOnce = true;
        txtSYAlpha_->selectAll();
    }
    return QDialog::eventFilter(watched, event);
}

void FrmDlg::cmdOK_Click()
{
    // A watermark or a skin needs a file; without one the dialog stays open.
    if ((mode_ == WatermarkMode || mode_ == SkinMode) && selectedFilePaths().isEmpty()) {
        label1_->setText(mode_ == WatermarkMode
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
