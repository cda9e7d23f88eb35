#include "ui/main_window_editing.h"

#include "settings/file_list.h"
#include "settings/settings_store.h"
#include "ui/adjust_menus.h"
#include "ui/canvas_editor.h"
#include "ui/edit_texts.h"
#include "ui/file_list_view.h"
#include "ui/frm_option.h"
#include "ui/frm_txt_set.h"
#include "ui/main_window.h"
#include "ui/main_window_viewer.h"
#include "ui/preview_canvas.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMenu>
#include <QSettings>
#include <QSignalBlocker>

namespace {

// Lives as a child of the window and holds what the editing controls keep.
class EditingControls : public QObject {
public:
    explicit EditingControls(MainWindow &window)
        : QObject(&window)
    {
        setObjectName(QStringLiteral("editing"));
    }

    StoredOptions stored;
    AdjustMenus *menus = nullptr;
    CanvasEditor *editor = nullptr;
};

EditingControls *controls(MainWindow &window)
{
    return window.findChild<EditingControls *>(QStringLiteral("editing"), Qt::FindDirectChildrenOnly);
}

void runTextDialog(MainWindow &w)
{
    auto *box = w.findChild<QCheckBox *>(QStringLiteral("chkInfoTxt"));
    // Ticking the box with no text is the one opener that reports success.
    const bool fromBox = box && box->isChecked() && w.job().sText.isEmpty();
    editTextWatermark(w.job(), &w);
    if (auto *size = w.findChild<QLineEdit *>(QStringLiteral("txtSize"))) {
        const QSignalBlocker quiet(size);
        size->setText(QString::number(w.job().iSize));
    }
    if (fromBox && !w.job().sText.isEmpty())
        w.showStatus(edittexts::textMarkSet(w.job().sText));
}

void runOptions(MainWindow &w, FrmOption::Panel panel)
{
    EditingControls *c = controls(w);
    if (c && editOptions(w.job(), c->stored, w.settings(), panel, &w))
        w.redrawPreview();
}

bool stepList(MainWindow &w, int delta)
{
    const int next = w.listView()->currentRow() + delta;
    if (w.fileList().isEmpty() || next < 0 || next >= w.fileList().count())
        return false;
    w.listView()->setCurrentRow(next);
    return true;
}

void installCanvasEditing(MainWindow &w, EditingControls &c)
{
    PreviewCanvas *canvas = w.canvas();
    CanvasEditor::Host host;
    host.imageRect = [canvas] {
        return canvas->hasImage() ? canvas->pictureRect() : QRect();
    };
    host.surfaceSize = [canvas] {
        return canvas->image().size();
    };
    host.marks = [&w] {
        return w.lastMarks();
    };
    host.stepList = [&w](int delta) {
        return stepList(w, delta);
    };
    host.openProcessedView = [&w] {
        openViewer(w, ViewerCommand::Processed);
    };
    auto *editor = new CanvasEditor(canvas, w.job(), host, &c);
    c.editor = editor;

    QObject::connect(
        editor, &CanvasEditor::offsetsChanged, &w, [&w](float x, float y) { w.setOffsets(x, y); });
    QObject::connect(editor, &CanvasEditor::changed, &w, &MainWindow::redrawPreview);
    QObject::connect(editor, &CanvasEditor::hint, &w, &MainWindow::showStatus);
    QObject::connect(editor, &CanvasEditor::cropRequested, &w, [&w] { openViewer(w, ViewerCommand::Crop); });

    // A press on a watermark switches its list to "自定义"; the list's own handler redraws.
    auto *txtPos = w.findChild<QComboBox *>(QStringLiteral("cmbTxtPos"));
    auto *imgPos = w.findChild<QComboBox *>(QStringLiteral("cmbImgPos"));
    QObject::connect(editor, &CanvasEditor::positionSwitched, &w, [txtPos, imgPos](MarkHit hit) {
        QComboBox *list = hit == MarkHit::Text ? txtPos : imgPos;
        if (list && list->currentIndex() != kCustom)
            list->setCurrentIndex(kCustom);
    });
    const auto showHandle = [editor](QComboBox *list, MarkHit which) {
        if (!list)
            return;
        QObject::connect(list, &QComboBox::currentIndexChanged, editor, [editor, which](int i) {
            if (i == kCustom)
                editor->showMarkHandle(which);
        });
    };
    showHandle(txtPos, MarkHit::Text);
    showHandle(imgPos, MarkHit::Picture);

    if (auto *image = qobject_cast<QMenu *>(w.rotationMenu()->parent())) {
        image->addSeparator();
        image->addAction(editor->moveAction());
        image->addAction(editor->resetAction());
        image->addAction(editor->locateAction());
        image->addSeparator();
        QAction *crop = image->addAction(QCoreApplication::translate("tuvo", "裁剪图片"));
        crop->setObjectName(QStringLiteral("mCrop"));
        QAction *cropSource = image->addAction(QCoreApplication::translate("tuvo", "裁剪原图"));
        cropSource->setObjectName(QStringLiteral("mCropSource"));
        for (QAction *a : {crop, cropSource})
            QObject::connect(a, &QAction::triggered, &w, [&w] { openViewer(w, ViewerCommand::Crop); });
    }
    editor->buildButtonBar(canvas);
}

} // namespace

void installEditingControls(MainWindow &w)
{
    if (controls(w))
        return;
    auto *c = new EditingControls(w);
    if (w.settings())
        c->stored.iSlideTime = OptionsStore(*w.settings()).int16(QStringLiteral("iSlideTime"), 3);

    w.hooks().textWatermarkDialog = runTextDialog;
    w.hooks().optionsDialog = [](MainWindow &win) {
        runOptions(win, FrmOption::GeneralPanel);
    };
    w.hooks().pdfSettingsDialog = [](MainWindow &win) {
        runOptions(win, FrmOption::PdfPanel);
    };

    auto *menus = new AdjustMenus(w.job(), w.canvas(), c);
    c->menus = menus;
    menus->setPictureShown([&w] { return w.canvas()->hasImage(); });
    menus->populateRotationMenu(w.rotationMenu());
    menus->populateEffectMenu(w.effectMenu());
    menus->populateColourMenu(w.colourMenu());
    QObject::connect(menus, &AdjustMenus::changed, &w, &MainWindow::redrawPreview);
    QObject::connect(menus, &AdjustMenus::hint, &w, &MainWindow::showStatus);

    installCanvasEditing(w, *c);
    c->editor->setToolPanel(menus->buildToolPanel(w.canvas()));
}

CanvasEditor *canvasEditor(MainWindow &window)
{
    EditingControls *c = controls(window);
    return c ? c->editor : nullptr;
}

AdjustMenus *adjustMenus(MainWindow &window)
{
    EditingControls *c = controls(window);
    return c ? c->menus : nullptr;
}
