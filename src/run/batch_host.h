#pragma once

#include "render/render_result.h"

#include <QSize>
#include <QString>
#include <QStringList>

enum class StartCheck {
    Ok,
    EmptyList, // "没有添加要处理的图片！", then the add-files command
    ZeroSize, // "图片尺寸不能为0！", then the width box gets the focus
    NoOutputFolder, // "请设置图片输出文件夹！", then the output-folder chooser
    NoNetworkSettings, // "网络参数还没设置或设置错误！"
    PrefixLeavesFolder, // the rename prefix holds a path separator: names would land outside sOutDir
};

// What became of one picture, for hosts that report each one (tuvo-cli --json).
struct PictureReport {
    int position = 0; // list position
    QString source;
    QString output; // empty when nothing was written
    QSize size; // of the written picture
    qint64 bytes = 0;
    int quality = -1; // the quality written with; -1 for lossless formats
    qint64 ms = 0; // rendering and writing
    QStringList errorLines;
};

// What a batch run needs from whoever started it: the main window, tuvo-cli or a
// test. The run never touches a widget itself.
class BatchHost {
public:
    virtual ~BatchHost() = default;

    virtual void showStatus(const QString &text) = 0; // the status line
    virtual void setStartCaption(const QString &caption) = 0; // "进度:i/n", "开始处理"
    virtual void setRunning(bool running) = 0; // start disabled, stop enabled
    virtual void showError(const QString &text) = 0; // error box, OK only
    virtual bool askYesNo(const QString &text) = 0; // question box

    virtual void startCheckFailed(StartCheck) { }
    virtual void minimise() { }
    virtual bool isMinimised() const { return false; }
    virtual void maximise() { }
    virtual void showWaitWindow(bool) { }
    virtual void setPreviewChecked(bool) { }
    virtual void openFolder(const QString &) { }
    virtual void openFile(const QString &) { } // the link page in the browser
    virtual void openTextFile(const QString &) { } // ErrorLog.txt in the text editor
    virtual void showMessage(const QString &) { } // a step's failure the user must see (PDF)
    // A line of the error report that is no failure; it is in the report already.
    virtual void showWarning(const QString &) { }
    // Lets pending window events run; called often while pictures are rendered.
    virtual void processEvents() { }
    // One picture is finished (written or failed), in list order.
    virtual void pictureFinished(int /*position*/, const RenderResult & /*result*/) { }
    virtual void pictureDone(const PictureReport &) { }
};
