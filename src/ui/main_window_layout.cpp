#include "run/file_list.h"
#include "ui/file_list_view.h"
#include "ui/help_pages.h"
#include "ui/main_window.h"
#include "ui/preview_canvas.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDate>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSlider>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QVBoxLayout>

#include <tuple>

namespace {

QPushButton *button(const QString &name, const QString &text, QWidget *parent,
    QStyle::StandardPixmap icon = {}, bool withIcon = false)
{
    auto *b = withIcon ? new QPushButton(parent->style()->standardIcon(icon), text, parent)
                       : new QPushButton(text, parent);
    b->setObjectName(name);
    return b;
}

QLineEdit *numberBox(const QString &name, QWidget *parent, int max = 99999)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setValidator(new QIntValidator(-max, max, e));
    e->setMaximumWidth(72);
    return e;
}

QGroupBox *panel(const QString &name, const QString &title, QWidget *parent)
{
    auto *g = new QGroupBox(title, parent);
    g->setObjectName(name);
    return g;
}

QAction *menuItem(QMenu *menu, const QString &name, const QString &text)
{
    QAction *a = menu->addAction(text);
    a->setObjectName(name);
    return a;
}

// Only the window's own shapes: colours, frames and grounds come from the skin,
// which a sheet set here would override.
const char *kStyle = R"(
QGroupBox { font-weight: bold; }
QGroupBox QWidget { font-weight: normal; }
QPushButton#cmdStart { font-weight: bold; color: white; background: #2f7d32; border: 1px solid #24632a;
                       border-radius: 4px; padding: 6px 14px; }
QPushButton#cmdStart:hover { background: #37913b; }
QPushButton#cmdStart:disabled { background: #8fb892; color: #f4f4f4; }
QPushButton#cmdStop { padding: 6px 14px; }
QLabel#lFile { font-weight: bold; padding: 2px 2px; }
QLabel#lPicInfo { padding: 0 4px; }
QStatusBar QLabel#lInfo { padding: 0 4px; }
)";

// The compiler's "Dec  8 2026" as 2026-12-08: no month names of one language
// inside a text of another.
QString buildDateText()
{
    const QString compiled = QString::fromLatin1(__DATE__).simplified();
    const QDate date = QLocale::c().toDate(compiled, QStringLiteral("MMM d yyyy"));
    return date.isValid() ? date.toString(Qt::ISODate) : compiled;
}

} // namespace

void MainWindow::setHint(QWidget *w, const QString &hint)
{
    hints_.insert(w, hint);
    w->installEventFilter(this);
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    // A narrow window stacks the list above the preview instead of beside it.
    const Qt::Orientation wanted = width() < 1100 ? Qt::Vertical : Qt::Horizontal;
    if (splitter_ && splitter_->orientation() != wanted)
        splitter_->setOrientation(wanted);
}

void MainWindow::buildUi()
{
    setObjectName(QStringLiteral("frmMain"));
    setStyleSheet(QString::fromLatin1(kStyle));
    setAcceptDrops(true);

    // Left column: the five numbered panels; they scroll when the window is short.
    auto *panels = new QScrollArea(this);
    panelColumn_ = panels;
    panels->setObjectName(QStringLiteral("panelColumn"));
    panels->setWidgetResizable(true);
    panels->setFrameShape(QFrame::NoFrame);
    panels->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    panels->setWidget(buildPanels());
    panels->setMinimumWidth(panels->widget()->sizeHint().width() + 16);
    panels->setMaximumWidth(panels->widget()->sizeHint().width() + 60);

    // The list, headed by its count.
    auto *listPane = new QWidget(this);
    auto *listLayout = new QVBoxLayout(listPane);
    listLayout->setContentsMargins(0, 0, 0, 0);
    listLayout->setSpacing(2);
    fileCountLabel_ = new QLabel(listPane);
    fileCountLabel_->setObjectName(QStringLiteral("lFile"));
    lstFile_ = new FileListView(listPane);
    lstFile_->setModel(files_);
    listLayout->addWidget(fileCountLabel_);
    listLayout->addWidget(lstFile_, 1);

    // The preview with its caption box and a line about the shown picture.
    auto *previewPane = new QWidget(this);
    auto *previewLayout = new QVBoxLayout(previewPane);
    previewLayout->setContentsMargins(0, 0, 0, 0);
    previewLayout->setSpacing(2);
    pictureInfoLabel_ = new QLabel(previewPane);
    pictureInfoLabel_->setObjectName(QStringLiteral("lPicInfo"));
    canvas_ = new PreviewCanvas(previewPane);
    txtCaption_ = new QLineEdit(previewPane);
    txtCaption_->setObjectName(QStringLiteral("txtCaption"));
    txtCaption_->setPlaceholderText(
        QCoreApplication::translate("tuvo", "在这里填写该图片的说明,回车确认,ESC键隐藏本说明"));
    txtCaption_->hide();
    txtCaption_->installEventFilter(this);
    setHint(txtCaption_,
        QCoreApplication::translate("tuvo", "【提示】请输入对该图片的说明，该说明将出现在PDF图片集中。"));
    previewLayout->addWidget(pictureInfoLabel_);
    previewLayout->addWidget(canvas_, 1);
    previewLayout->addWidget(txtCaption_);

    auto *splitter = new QSplitter(Qt::Horizontal, this);
    splitter_ = splitter;
    splitter->setObjectName(QStringLiteral("mainSplitter"));
    splitter->addWidget(listPane);
    splitter->addWidget(previewPane);
    splitter->setStretchFactor(0, 2);
    splitter->setStretchFactor(1, 5);
    splitter->setChildrenCollapsible(false);
    listPane->setMinimumWidth(180);

    auto *central = new QWidget(this);
    auto *row = new QHBoxLayout(central);
    row->setContentsMargins(6, 6, 6, 4);
    row->setSpacing(8);
    row->addWidget(panels);
    row->addWidget(splitter, 1);
    setCentralWidget(central);

    statusLabel_ = new QLabel(this);
    statusLabel_->setObjectName(QStringLiteral("lInfo"));
    statusLabel_->setTextFormat(Qt::PlainText);
    statusBar()->addWidget(statusLabel_, 1);
    statusBar()->setSizeGripEnabled(true);

    buildMenus();
    // Most of the screen, as a tool one works in for a while.
    const QRect screen = QGuiApplication::primaryScreen()
        ? QGuiApplication::primaryScreen()->availableGeometry()
        : QRect(0, 0, 1400, 900);
    resize(qMax(900, screen.width() * 9 / 10), qMax(600, screen.height() * 9 / 10));
    startSize_ = size();
    setMinimumSize(760, 520);
}

void MainWindow::showEvent(QShowEvent *event)
{
    // Once the skin has set the panels' true height, a window that still has its
    // first size grows so that the whole column shows, as far as the screen
    // allows (room is left for the title bar): the start button must not hide
    // below the fold. Smaller screens scroll the column.
    if (!startSize_.isEmpty() && size() == startSize_ && panelColumn_) {
        // A few pixels spare: the hint and the laid-out column differ by rounding.
        const int missing
            = panelColumn_->widget()->sizeHint().height() + 6 - panelColumn_->viewport()->height();
        const QScreen *shownOn = screen() ? screen() : QGuiApplication::primaryScreen();
        if (missing > 0 && shownOn) {
            const QRect room = shownOn->availableGeometry();
            const int height = qMin(size().height() + missing, room.height() - 40);
            if (height > size().height()) {
                resize(size().width(), height);
                move(x(), qMax(room.top(), qMin(y(), room.bottom() - height - 40)));
            }
        }
    }
    startSize_ = QSize();
    QMainWindow::showEvent(event);
}

QWidget *MainWindow::buildPanels()
{
    auto *host = new QWidget(this);
    auto *column = new QVBoxLayout(host);
    column->setContentsMargins(0, 0, 4, 0);
    column->setSpacing(4);

    // 1. Pictures
    QGroupBox *filesPanel
        = panel(QStringLiteral("frame1"), QCoreApplication::translate("tuvo", "1.添加要处理的图片"), host);
    cmdAdd_ = button(QStringLiteral("cmdAdd"), QCoreApplication::translate("tuvo", "添加图片"), filesPanel,
        QStyle::SP_FileIcon, true);
    cmdAdds_ = button(QStringLiteral("cmdAdds"), QCoreApplication::translate("tuvo", "添加文件夹"),
        filesPanel, QStyle::SP_DirIcon, true);
    cmdDel_ = button(QStringLiteral("cmdDel"), QCoreApplication::translate("tuvo", "移除图片"), filesPanel,
        QStyle::SP_DialogDiscardButton, true);
    cmdClr_ = button(QStringLiteral("cmdClr"), QCoreApplication::translate("tuvo", "全部清空"), filesPanel,
        QStyle::SP_TrashIcon, true);
    cmdAdd_->setToolTip(QCoreApplication::translate("tuvo", "添加单张或多张图片"));
    cmdAdds_->setToolTip(QCoreApplication::translate("tuvo", "添加文件夹内全部图片"));
    setHint(cmdAdd_, QCoreApplication::translate("tuvo", "【提示】选择要添加的图片,可多选。"));
    auto *filesGrid = new QGridLayout(filesPanel);
    filesGrid->addWidget(cmdAdd_, 0, 0);
    filesGrid->addWidget(cmdAdds_, 0, 1);
    filesGrid->addWidget(cmdDel_, 1, 0);
    filesGrid->addWidget(cmdClr_, 1, 1);

    // 2. Size
    QGroupBox *sizePanel
        = panel(QStringLiteral("frame2"), QCoreApplication::translate("tuvo", "2.指定尺寸"), host);
    cmbSize_ = new QComboBox(sizePanel);
    cmbSize_->setObjectName(QStringLiteral("cmbSize"));
    cmbSize_->setMaxVisibleItems(20);
    txtWidth_ = numberBox(QStringLiteral("txtWidth"), sizePanel);
    txtHeight_ = numberBox(QStringLiteral("txtHeight"), sizePanel);
    txtLeft_ = numberBox(QStringLiteral("txtLeft"), sizePanel);
    txtTop_ = numberBox(QStringLiteral("txtTop"), sizePanel);
    setHint(txtWidth_,
        QCoreApplication::translate("tuvo", "【提示】输入图片的宽度(单位:像素)，然后按回车键确认。"));
    setHint(txtHeight_,
        QCoreApplication::translate("tuvo", "【提示】输入图片的高度(单位:像素)，然后按回车键确认。"));
    setHint(txtLeft_, QCoreApplication::translate("tuvo", "【提示】请输入数字。该数字指定了图片的左边界。"));
    setHint(txtTop_, QCoreApplication::translate("tuvo", "【提示】请输入数字。该数字指定了图片的上边界。"));
    auto *sizeGrid = new QGridLayout(sizePanel);
    sizeGrid->addWidget(cmbSize_, 0, 0, 1, 4);
    sizeGrid->addWidget(new QLabel(QCoreApplication::translate("tuvo", "宽度:"), sizePanel), 1, 0);
    sizeGrid->addWidget(txtWidth_, 1, 1);
    sizeGrid->addWidget(new QLabel(QCoreApplication::translate("tuvo", "高度:"), sizePanel), 1, 2);
    sizeGrid->addWidget(txtHeight_, 1, 3);
    sizeGrid->addWidget(new QLabel(QCoreApplication::translate("tuvo", "图片左边"), sizePanel), 2, 0);
    sizeGrid->addWidget(txtLeft_, 2, 1);
    sizeGrid->addWidget(new QLabel(QCoreApplication::translate("tuvo", "图片上边"), sizePanel), 2, 2);
    sizeGrid->addWidget(txtTop_, 2, 3);

    // 3. Frame and watermarks
    QGroupBox *decorPanel
        = panel(QStringLiteral("frame3"), QCoreApplication::translate("tuvo", "3.添加边框和水印"), host);
    cmbBk_ = new QComboBox(decorPanel);
    cmbBk_->setObjectName(QStringLiteral("cmbBk"));
    cmbBk_->setToolTip(QCoreApplication::translate("tuvo", "选择图片边框"));
    cmbBk_->setMaxVisibleItems(20);
    cmbBk_->installEventFilter(this);
    chkInfoTxt_ = new QCheckBox(QCoreApplication::translate("tuvo", "文字水印"), decorPanel);
    chkInfoTxt_->setObjectName(QStringLiteral("chkInfoTxt"));
    textMarkLabel_ = new QLabel(QCoreApplication::translate("tuvo", "文字水印:无"), decorPanel);
    textMarkLabel_->setObjectName(QStringLiteral("lTxt"));
    cmbTxtPos_ = new QComboBox(decorPanel);
    cmbTxtPos_->setObjectName(QStringLiteral("cmbTxtPos"));
    txtSize_ = numberBox(QStringLiteral("txtSize"), decorPanel, 999);
    txtSize_->setToolTip(QCoreApplication::translate("tuvo", "文字大小"));
    setHint(txtSize_, QCoreApplication::translate("tuvo", "【提示】请输入水印文字的大小。"));
    chkInfoImg_ = new QCheckBox(QCoreApplication::translate("tuvo", "图片水印"), decorPanel);
    chkInfoImg_->setObjectName(QStringLiteral("chkInfoImg"));
    pictureMarkLabel_ = new QLabel(QCoreApplication::translate("tuvo", "图片水印:无"), decorPanel);
    pictureMarkLabel_->setObjectName(QStringLiteral("lImg"));
    cmbImgPos_ = new QComboBox(decorPanel);
    cmbImgPos_->setObjectName(QStringLiteral("cmbImgPos"));
    txtAlpha_ = numberBox(QStringLiteral("txtAlpha"), decorPanel, 100);
    txtAlpha_->setToolTip(QCoreApplication::translate("tuvo", "水印透明度(0-完全透明,100-不透明)"));
    setHint(txtAlpha_,
        QCoreApplication::translate("tuvo", "【提示】请输入水印图片的透明度(0-100，数字越大越不透明)。"));
    sldMarkScale_ = new QSlider(Qt::Horizontal, decorPanel);
    sldMarkScale_->setObjectName(QStringLiteral("sldMarkScale"));
    sldMarkScale_->setRange(-20, 20);
    sldMarkScale_->setValue(0);
    sldMarkScale_->setToolTip(QCoreApplication::translate("tuvo", "水印图片大小"));
    for (QComboBox *c : {cmbTxtPos_, cmbImgPos_}) {
        c->addItems({QCoreApplication::translate("tuvo", "右下"), QCoreApplication::translate("tuvo", "左下"),
            QCoreApplication::translate("tuvo", "左上"), QCoreApplication::translate("tuvo", "右上"),
            QCoreApplication::translate("tuvo", "居中"), QCoreApplication::translate("tuvo", "自定义")});
        c->setEnabled(false);
    }
    auto *decorGrid = new QGridLayout(decorPanel);
    decorGrid->addWidget(new QLabel(QCoreApplication::translate("tuvo", "边框:"), decorPanel), 0, 0);
    decorGrid->addWidget(cmbBk_, 0, 1, 1, 3);
    // Each watermark's text or file shares its row with the size or opacity, so
    // that the whole column fits a laptop screen.
    decorGrid->addWidget(chkInfoTxt_, 1, 0, 1, 2);
    decorGrid->addWidget(cmbTxtPos_, 1, 2, 1, 2);
    decorGrid->addWidget(textMarkLabel_, 2, 0, 1, 2);
    decorGrid->addWidget(
        new QLabel(QCoreApplication::translate("tuvo", "文字大小"), decorPanel), 2, 2, Qt::AlignRight);
    decorGrid->addWidget(txtSize_, 2, 3);
    decorGrid->addWidget(chkInfoImg_, 3, 0, 1, 2);
    decorGrid->addWidget(cmbImgPos_, 3, 2, 1, 2);
    decorGrid->addWidget(pictureMarkLabel_, 4, 0, 1, 2);
    decorGrid->addWidget(
        new QLabel(QCoreApplication::translate("tuvo", "透明度"), decorPanel), 4, 2, Qt::AlignRight);
    decorGrid->addWidget(txtAlpha_, 4, 3);
    decorGrid->addWidget(new QLabel(QCoreApplication::translate("tuvo", "大小"), decorPanel), 5, 0);
    decorGrid->addWidget(sldMarkScale_, 5, 1, 1, 3);
    decorGrid->setColumnStretch(3, 1);
    textMarkLabel_->setMinimumWidth(1);
    pictureMarkLabel_->setMinimumWidth(1);

    // 4. Output
    QGroupBox *outputPanel
        = panel(QStringLiteral("frame4"), QCoreApplication::translate("tuvo", "4.设置输出参数"), host);
    cmbFormat_ = new QComboBox(outputPanel);
    cmbFormat_->setObjectName(QStringLiteral("cmbFormat"));
    chkRename_ = new QCheckBox(QCoreApplication::translate("tuvo", "改名:"), outputPanel);
    chkRename_->setObjectName(QStringLiteral("chkRename"));
    chkRename_->setToolTip(QCoreApplication::translate("tuvo", "统一文件名"));
    txtPrefix_ = new QLineEdit(outputPanel);
    txtPrefix_->setObjectName(QStringLiteral("txtPrefix"));
    txtPrefix_->setToolTip(QCoreApplication::translate("tuvo", "文件名前缀(双击调出更多选项)"));
    txtPrefix_->installEventFilter(this);
    setHint(txtPrefix_,
        QCoreApplication::translate("tuvo",
            "【提示】请输入图片文件名的前缀(如输入Tupian_,那么文件名将类似Tupian_001.jpg)。"
            "双击文本框弹出更多设置。"));
    txtDigits_ = numberBox(QStringLiteral("txtDigits"), outputPanel, 99);
    txtDigits_->setMaximumWidth(44);
    setHint(txtDigits_,
        QCoreApplication::translate(
            "tuvo", "【提示】请输入图片文件名的顺序号位数(比如输入3,那么文件名将类似Tuvo_001.jpg)。"));
    cmdODir_ = button(QStringLiteral("cmdODir"), QCoreApplication::translate("tuvo", "输出目录"), outputPanel,
        QStyle::SP_DirOpenIcon, true);
    outputLabel_ = new QLabel(outputPanel);
    outputLabel_->setObjectName(QStringLiteral("lOut"));
    outputLabel_->setMinimumWidth(1);
    auto *outputGrid = new QGridLayout(outputPanel);
    outputGrid->addWidget(new QLabel(QCoreApplication::translate("tuvo", "格式:"), outputPanel), 0, 0);
    outputGrid->addWidget(cmbFormat_, 0, 1, 1, 3);
    outputGrid->addWidget(chkRename_, 1, 0);
    outputGrid->addWidget(txtPrefix_, 1, 1, 1, 2);
    outputGrid->addWidget(txtDigits_, 1, 3);
    outputGrid->addWidget(cmdODir_, 2, 0, 1, 2);
    outputGrid->addWidget(outputLabel_, 3, 0, 1, 4);
    outputGrid->setColumnStretch(1, 1);

    // 5. Run
    QGroupBox *runPanel
        = panel(QStringLiteral("frame5"), QCoreApplication::translate("tuvo", "5.完成"), host);
    chkPDF_ = new QCheckBox(QCoreApplication::translate("tuvo", "生成PDF图片集"), runPanel);
    chkPDF_->setObjectName(QStringLiteral("chkPDF"));
    cmdPDFSet_
        = button(QStringLiteral("cmdPDFSet"), QCoreApplication::translate("tuvo", "PDF设置"), runPanel);
    cmdPDFSet_->setEnabled(false);
    chkUpload_ = new QCheckBox(QCoreApplication::translate("tuvo", "上传到网络"), runPanel);
    chkUpload_->setObjectName(QStringLiteral("chkUpload"));
    cmdStart_ = button(QStringLiteral("cmdStart"), QCoreApplication::translate("tuvo", "开始处理"), runPanel,
        QStyle::SP_MediaPlay, true);
    cmdStart_->setToolTip(QCoreApplication::translate("tuvo", "开始批处理"));
    cmdStart_->setMinimumHeight(34);
    cmdStop_ = button(QStringLiteral("cmdStop"), QCoreApplication::translate("tuvo", "停止处理"), runPanel,
        QStyle::SP_MediaStop, true);
    cmdStop_->setEnabled(false);
    cmdStop_->setMinimumHeight(34);
    auto *runGrid = new QGridLayout(runPanel);
    runGrid->addWidget(chkPDF_, 0, 0);
    runGrid->addWidget(cmdPDFSet_, 0, 1);
    runGrid->addWidget(chkUpload_, 0, 2);
    runGrid->addWidget(cmdStart_, 1, 0, 1, 2);
    runGrid->addWidget(cmdStop_, 1, 2);

    for (QGroupBox *g : {filesPanel, sizePanel, decorPanel, outputPanel, runPanel}) {
        if (auto *grid = qobject_cast<QGridLayout *>(g->layout())) {
            grid->setVerticalSpacing(3);
            grid->setContentsMargins(5, 4, 5, 4);
        }
        column->addWidget(g);
    }
    column->addStretch(1);
    host->setMinimumWidth(300);
    // A wheel turned to scroll the column must not change the setting under the
    // pointer: these take the wheel only once focused (see eventFilter).
    for (QWidget *w : host->findChildren<QWidget *>()) {
        if (takesWheelOnlyFocused(w)) {
            w->setFocusPolicy(Qt::StrongFocus);
            w->installEventFilter(this);
        }
    }
    return host;
}

void MainWindow::buildMenus()
{
    QMenu *file = menuBar()->addMenu(QCoreApplication::translate("tuvo", "文件(&F)"));
    QAction *mAddFile = menuItem(
        file, QStringLiteral("mAddFile"), QCoreApplication::translate("tuvo", "添加单张或多张图片..."));
    QAction *mAddDir = menuItem(
        file, QStringLiteral("mAddDir"), QCoreApplication::translate("tuvo", "添加文件夹内全部图片..."));
    file->addSeparator();
    QAction *mWord = menuItem(
        file, QStringLiteral("mWord"), QCoreApplication::translate("tuvo", "从Word文档批量导入..."));
    QAction *mCap
        = menuItem(file, QStringLiteral("mCap"), QCoreApplication::translate("tuvo", "摄像头拍照..."));
    QAction *mScreenCapture
        = menuItem(file, QStringLiteral("mCopySrc2"), QCoreApplication::translate("tuvo", "屏幕截图..."));
    file->addSeparator();
    QAction *mTODir
        = menuItem(file, QStringLiteral("mTODir"), QCoreApplication::translate("tuvo", "输出目录..."));
    file->addSeparator();
    QAction *mExit = menuItem(file, QStringLiteral("mExit"), QCoreApplication::translate("tuvo", "退    出"));

    QMenu *edit = menuBar()->addMenu(QCoreApplication::translate("tuvo", "编辑(&E)"));
    mDelFile_
        = menuItem(edit, QStringLiteral("mDelFile"), QCoreApplication::translate("tuvo", "移除所选图片"));
    mUndoDelFile_
        = menuItem(edit, QStringLiteral("mUndoDelFile"), QCoreApplication::translate("tuvo", "取消移除"));
    mUndoDel_ = menuItem(
        edit, QStringLiteral("mUndoDel"), QCoreApplication::translate("tuvo", "重新载入移除的图片"));
    mClear_
        = menuItem(edit, QStringLiteral("mClear"), QCoreApplication::translate("tuvo", "清空添加的全部图片"));
    edit->addSeparator();
    mCopyFileName_ = menuItem(
        edit, QStringLiteral("mCopyFileName"), QCoreApplication::translate("tuvo", "复制文件路径"));
    QAction *mCopyPic
        = menuItem(edit, QStringLiteral("mCopyPic"), QCoreApplication::translate("tuvo", "复制图片"));

    QMenu *mark = menuBar()->addMenu(QCoreApplication::translate("tuvo", "水印(&W)"));
    mSetTxt_ = menuItem(mark, QStringLiteral("mSetTxt"), QCoreApplication::translate("tuvo", "文字水印..."));
    QAction *mSetImg
        = menuItem(mark, QStringLiteral("mSetImg"), QCoreApplication::translate("tuvo", "图片水印..."));

    QMenu *image = menuBar()->addMenu(QCoreApplication::translate("tuvo", "图像(&I)"));
    imageMenu_ = image;
    rotationMenu_ = image->addMenu(QCoreApplication::translate("tuvo", "方向旋转"));
    rotationMenu_->setObjectName(QStringLiteral("mRotate"));
    const QStringList rotations = {QCoreApplication::translate("tuvo", "取消旋转"), QString(),
        QCoreApplication::translate("tuvo", "智能旋转数码照片"),
        QCoreApplication::translate("tuvo", "顺转90度"), QCoreApplication::translate("tuvo", "逆转90度"),
        QCoreApplication::translate("tuvo", "旋转180度"), QCoreApplication::translate("tuvo", "水平镜像"),
        QCoreApplication::translate("tuvo", "垂直镜像")};
    for (int i = 0; i < rotations.size(); ++i) {
        if (rotations[i].isEmpty()) {
            rotationActions_ << rotationMenu_->addSeparator();
            continue;
        }
        QAction *a = rotationMenu_->addAction(rotations[i]);
        a->setCheckable(true);
        a->setChecked(i == kRotateNone);
        connect(a, &QAction::triggered, this, [this, i] { chooseRotation(i); });
        rotationActions_ << a;
    }
    colourMenu_ = image->addMenu(QCoreApplication::translate("tuvo", "色彩通道"));
    colourMenu_->setObjectName(QStringLiteral("mChannels"));
    effectMenu_ = image->addMenu(QCoreApplication::translate("tuvo", "特效(&X)"));
    effectMenu_->setObjectName(QStringLiteral("mEffect"));

    QMenu *browse = menuBar()->addMenu(QCoreApplication::translate("tuvo", "浏览(&B)"));
    const std::tuple<QString, QString, ViewerCommand> views[] = {
        {QStringLiteral("mView"), QCoreApplication::translate("tuvo", "全屏查看原图"),
            ViewerCommand::Pictures},
        {QStringLiteral("mViewDone"), QCoreApplication::translate("tuvo", "全屏预览处理图"),
            ViewerCommand::Processed},
        {QStringLiteral("mViewList"), QCoreApplication::translate("tuvo", "多图列表浏览原图"),
            ViewerCommand::Thumbnails},
        {QStringLiteral("mViewSlide"), QCoreApplication::translate("tuvo", "幻灯片模式浏览原图"),
            ViewerCommand::Slideshow},
    };
    for (const auto &[name, text, command] : views) {
        connect(menuItem(browse, name, text), &QAction::triggered, this,
            [this, c = command] { emit viewerRequested(c); });
    }
    browse->addSeparator();
    mPreview_ = menuItem(browse, QStringLiteral("mPreview"), QCoreApplication::translate("tuvo", "实时预览"));
    mPreview_->setCheckable(true);
    mPreview_->setChecked(true);

    settingsMenu_ = menuBar()->addMenu(QCoreApplication::translate("tuvo", "设置(&S)"));
    QAction *mTOption
        = menuItem(settingsMenu_, QStringLiteral("mTOption"), QCoreApplication::translate("tuvo", "选项..."));
    QAction *mSPDFSet = menuItem(
        settingsMenu_, QStringLiteral("mSPDFSet"), QCoreApplication::translate("tuvo", "PDF参数设置..."));
    buildJobMenu(settingsMenu_);

    QMenu *help = menuBar()->addMenu(QCoreApplication::translate("tuvo", "帮助(&H)"));
    help->setObjectName(QStringLiteral("mHelp"));
    QAction *mGuide
        = menuItem(help, QStringLiteral("mGuide"), QCoreApplication::translate("tuvo", "使用指南"));
    QAction *mAbout
        = menuItem(help, QStringLiteral("mAbout"), QCoreApplication::translate("tuvo", "关于Tuvo..."));
    help->addSeparator();
    for (const HelpPage &page : helpPages()) {
        QAction *a = menuItem(help, page.objectName, page.menuText);
        connect(a, &QAction::triggered, this, [this, page] {
            const QString target = helpPageTarget(page, paths_);
            if (target.isEmpty())
                showStatus(QCoreApplication::translate("tuvo", "【操作错误】找不到") + page.menuText
                    + QCoreApplication::translate("tuvo", "文件。"));
            else
                openExternal(target);
        });
    }

    connect(mAddFile, &QAction::triggered, this, &MainWindow::cmdAdd_Click);
    connect(mAddDir, &QAction::triggered, this, &MainWindow::cmdAdds_Click);
    connect(mTODir, &QAction::triggered, this, [this] {
        showStatus(
            QCoreApplication::translate("tuvo", "【提示】选择输出文件夹,处理好的图片将存放到该文件夹。"));
        cmdODir_Click();
    });
    connect(mExit, &QAction::triggered, this, &MainWindow::mExit_Click);
    connect(mDelFile_, &QAction::triggered, this, &MainWindow::cmdDel_Click);
    connect(mUndoDelFile_, &QAction::triggered, this, &MainWindow::undoRemoval);
    connect(mUndoDel_, &QAction::triggered, this, &MainWindow::undoRemoval);
    connect(mClear_, &QAction::triggered, this, &MainWindow::cmdClr_Click);
    connect(mCopyFileName_, &QAction::triggered, this, &MainWindow::mCopyFileName_Click);
    connect(mCopyPic, &QAction::triggered, this, &MainWindow::mCopyPic_Click);
    connect(mSetTxt_, &QAction::triggered, this, [this] {
        showStatus(QCoreApplication::translate("tuvo", "【提示】设置文字水印。"));
        emit textWatermarkRequested();
        syncControlsFromJob();
        redrawPreview();
    });
    connect(mSetImg, &QAction::triggered, this, &MainWindow::mSetImg_Click);
    connect(mPreview_, &QAction::toggled, this, [this](bool on) {
        state_.bPreviewOff = !on;
        if (on)
            redrawPreview();
    });
    connect(mWord, &QAction::triggered, this, &MainWindow::wordImportRequested);
    connect(mCap, &QAction::triggered, this, &MainWindow::cameraRequested);
    connect(mScreenCapture, &QAction::triggered, this, &MainWindow::screenCaptureRequested);
    connect(mTOption, &QAction::triggered, this, [this] {
        showStatus(QCoreApplication::translate("tuvo", "【提示】请根据需要设置相关参数。"));
        emit optionsRequested();
    });
    connect(mSPDFSet, &QAction::triggered, this, &MainWindow::pdfSettingsRequested);
    connect(mGuide, &QAction::triggered, this, [this] { openTextFile(paths_.readme()); });
    connect(mAbout, &QAction::triggered, this, [this] {
        showMessage(QCoreApplication::translate("tuvo", "Tuvo图片批量处理\n版本： ")
            + QCoreApplication::applicationVersion() + QCoreApplication::translate("tuvo", "\n时间： ")
            + buildDateText());
    });
}
