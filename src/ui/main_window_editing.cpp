#include "ui/main_window_editing.h"

#include "run/file_list.h"
#include "ui/adjust_menus.h"
#include "ui/canvas_editor.h"
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

void runOptions(AddOnHost &host, FrmOption::Panel panel)
{
    JobSession &session = host.session();
    WindowOptions &options = host.options();
    if (editOptions(session.job(), options.stored(), options.settings(), panel, host.widget()))
        session.markJobChanged();
}

bool stepList(AddOnHost &host, int delta)
{
    const int next = host.currentRow() + delta;
    if (next < 0 || next >= host.session().files().count())
        return false;
    host.setCurrentRow(next);
    return true;
}

CanvasEditor *installCanvasEditing(AddOnHost &host)
{
    PreviewCanvas *canvas = host.canvas();
    QWidget *window = host.widget();
    JobSession &session = host.session();
    CanvasEditor::Host editing;
    editing.imageRect = [canvas] {
        return canvas->hasImage() ? canvas->pictureRect() : QRect();
    };
    editing.surfaceSize = [canvas] {
        return canvas->image().size();
    };
    editing.marks = [&host] {
        return host.lastMarks();
    };
    editing.stepList = [&host](int delta) {
        return stepList(host, delta);
    };
    editing.openProcessedView = [&host] {
        openViewer(host, ViewerCommand::Processed);
    };
    auto *editor = new CanvasEditor(canvas, session.job(), editing, window);

    QObject::connect(
        editor, &CanvasEditor::offsetsChanged, window, [&host](float x, float y) { host.setOffsets(x, y); });
    QObject::connect(editor, &CanvasEditor::changed, &session, &JobSession::markJobChanged);
    QObject::connect(
        editor, &CanvasEditor::hint, window, [&host](const QString &text) { host.showStatus(text); });
    QObject::connect(
        editor, &CanvasEditor::cropRequested, window, [&host] { openViewer(host, ViewerCommand::Crop); });

    // A press on a watermark switches its list to "自定义"; the list's own handler redraws.
    QComboBox *txtPos = host.positionList(MarkHit::Text);
    QComboBox *imgPos = host.positionList(MarkHit::Picture);
    QObject::connect(editor, &CanvasEditor::positionSwitched, window, [txtPos, imgPos](MarkHit hit) {
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
    host.setCanvasEditActions({editor->moveAction(), editor->resetAction(), editor->locateAction()});

    if (QMenu *image = host.menu(AddOnHost::Menu::Image)) {
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
            QObject::connect(
                a, &QAction::triggered, window, [&host] { openViewer(host, ViewerCommand::Crop); });
    }
    editor->buildButtonBar(canvas);
    return editor;
}

} // namespace

EditingControls installEditingControls(MainWindow &w)
{
    AddOnHost &host = w;
    JobSession &session = host.session();
    QObject::connect(&w, &MainWindow::textWatermarkRequested, &w,
        [&host, &session] { editTextWatermark(session.job(), host.widget()); });
    QObject::connect(
        &w, &MainWindow::optionsRequested, &w, [&host] { runOptions(host, FrmOption::GeneralPanel); });
    QObject::connect(
        &w, &MainWindow::pdfSettingsRequested, &w, [&host] { runOptions(host, FrmOption::PdfPanel); });

    EditingControls controls;
    PreviewCanvas *canvas = host.canvas();
    controls.menus = new AdjustMenus(session.job(), canvas, &w);
    controls.menus->setPictureShown([canvas] { return canvas->hasImage(); });
    controls.menus->populateRotationMenu(host.menu(AddOnHost::Menu::Rotation));
    controls.menus->populateEffectMenu(host.menu(AddOnHost::Menu::Effect));
    controls.menus->populateColourMenu(host.menu(AddOnHost::Menu::Colour));
    QObject::connect(controls.menus, &AdjustMenus::changed, &session, &JobSession::markJobChanged);
    QObject::connect(
        controls.menus, &AdjustMenus::hint, &w, [&host](const QString &text) { host.showStatus(text); });

    controls.editor = installCanvasEditing(host);
    controls.editor->setToolPanel(controls.menus->buildToolPanel(canvas));
    return controls;
}
