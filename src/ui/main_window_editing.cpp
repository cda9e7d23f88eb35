#include "ui/main_window_editing.h"

#include "batch/file_list.h"
#include "ui/adjust_menus.h"
#include "ui/canvas_editor.h"
#include "ui/file_list_view.h"
#include "ui/frm_option.h"
#include "ui/frm_txt_set.h"
#include "ui/main_window.h"
#include "ui/main_window_viewer.h"
#include "ui/preview_canvas.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QMenu>

namespace {

void runOptions(MainWindow &w, FrmOption::Panel panel)
{
    JobSession &session = w.session();
    WindowOptions &options = w.options();
    if (editOptions(session.job(), options.stored(), options.settings(), panel, &w))
        session.markJobChanged();
}

bool stepList(MainWindow &w, int delta)
{
    const int next = w.listView()->currentRow() + delta;
    if (w.fileList().isEmpty() || next < 0 || next >= w.fileList().count())
        return false;
    w.listView()->setCurrentRow(next);
    return true;
}

CanvasEditor *installCanvasEditing(MainWindow &w)
{
    PreviewCanvas *canvas = w.canvas();
    JobSession &session = w.session();
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
    auto *editor = new CanvasEditor(canvas, session.job(), host, &w);

    QObject::connect(
        editor, &CanvasEditor::offsetsChanged, &w, [&w](float x, float y) { w.setOffsets(x, y); });
    QObject::connect(editor, &CanvasEditor::changed, &session, &JobSession::markJobChanged);
    QObject::connect(editor, &CanvasEditor::hint, &w, &MainWindow::showStatus);
    QObject::connect(editor, &CanvasEditor::cropRequested, &w, [&w] { openViewer(w, ViewerCommand::Crop); });

    // A press on a watermark switches its list to "自定义"; the list's own handler redraws.
    QComboBox *txtPos = w.textPositionList();
    QComboBox *imgPos = w.picturePositionList();
    QObject::connect(editor, &CanvasEditor::positionSwitched, &w, [txtPos, imgPos](MarkHit hit) {
        QComboBox *list = hit == MarkHit::Text ? txtPos : imgPos;
        if (list->currentIndex() != kCustom)
            list->setCurrentIndex(kCustom);
    });
    const auto showHandle = [editor](QComboBox *list, MarkHit which) {
        QObject::connect(list, &QComboBox::currentIndexChanged, editor, [editor, which](int i) {
            if (i == kCustom)
                editor->showMarkHandle(which);
        });
    };
    showHandle(txtPos, MarkHit::Text);
    showHandle(imgPos, MarkHit::Picture);
    w.setCanvasEditActions({editor->moveAction(), editor->resetAction(), editor->locateAction()});

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
    return editor;
}

} // namespace

EditingControls installEditingControls(MainWindow &w)
{
    JobSession &session = w.session();
    QObject::connect(&w, &MainWindow::textWatermarkRequested, &w,
        [&w, &session] { editTextWatermark(session.job(), &w); });
    QObject::connect(&w, &MainWindow::optionsRequested, &w, [&w] { runOptions(w, FrmOption::GeneralPanel); });
    QObject::connect(&w, &MainWindow::pdfSettingsRequested, &w, [&w] { runOptions(w, FrmOption::PdfPanel); });

    EditingControls controls;
    controls.menus = new AdjustMenus(session.job(), w.canvas(), &w);
    controls.menus->setPictureShown([&w] { return w.canvas()->hasImage(); });
    controls.menus->populateRotationMenu(w.rotationMenu());
    controls.menus->populateEffectMenu(w.effectMenu());
    controls.menus->populateColourMenu(w.colourMenu());
    QObject::connect(controls.menus, &AdjustMenus::changed, &session, &JobSession::markJobChanged);
    QObject::connect(controls.menus, &AdjustMenus::hint, &w, &MainWindow::showStatus);

    controls.editor = installCanvasEditing(w);
    controls.editor->setToolPanel(controls.menus->buildToolPanel(w.canvas()));
    return controls;
}
