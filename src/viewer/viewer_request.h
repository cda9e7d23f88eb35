#pragma once

// The picture viewer (frmPic): everything the main window hands over when it opens
// it, and what flows back.
//
// Opening: fill a ViewerRequest, create the viewer (parentless, with
// Qt::WA_DeleteOnClose), connect its signals, then call open(); when open()
// returns false nothing was shown and the viewer can be deleted.
// ui/main_window_viewer.cpp does all of this for the main window. Per command:
//  - "全屏查看原图", "全屏查看" of the list menu, a list double-click:
//      iViewSource = ViewSourcePictures, iViewMode = ViewModeSingle,
//      current = the selected row. With an empty list show
//      "【操作错误】当前没有图片可以浏览。" instead and open nothing.
//  - "全屏预览处理图", "全屏查看" of the preview menu, Enter on the preview:
//      first the command's checks (both size texts "0" outside size modes 1 and
//      2: error box "图片尺寸不能同时为0！"; no preview picture:
//      "【操作错误】没有可预览的图片。"), then iViewSource = ViewSourceProcessed and
//      job = a copy of the JobSettings: the viewer renders the selected entry
//      itself and keeps it in tempBZ.bmp in userDir while it is open.
//  - "多图列表浏览原图": status "【提示】正在启动多图浏览模式，请稍后……",
//      iViewMode = ViewModeThumbnails.
//  - "幻灯片模式浏览原图": iViewMode = ViewModeSlideshow.
//  - "裁剪图片", "裁剪原图": bCropMode = true on the list's own picture (a crop
//      becomes a new list entry that the job then processes like any other).
//  Always: paths = the file list, iSlideTime, userDir = AppPaths::userDir(),
//  settings = the settings store (iBGColor), prompter = &Prompter::instance(),
//  owner = the main window (hidden while the viewer is open, shown again after).
//
// What comes back (FrmPic signals): pictureAdded(path): append it to the list
// without the duplicate test and make it current; entryRemoved(row): remove that
// row; currentChanged(row): select it; statusChanged(text): the status line;
// slideTimeChanged(seconds): the new iSlideTime for this run of the program (the
// options dialog is what stores it); closed(row): the viewer is going, row is
// where it ended. iBGColor the viewer stores itself, at once.

#include "job/job_settings.h"

#include <QRect>
#include <QString>
#include <QStringList>

class Prompter;
class QSettings;
class QWidget;

// iViewSource
enum ViewSource : int {
    ViewSourcePictures = 0, // the list's own picture files
    ViewSourceProcessed = 1, // the pipeline's result for the selected entry
};

// iViewMode
enum ViewMode : int {
    ViewModeSingle = 0,
    ViewModeThumbnails = 1,
    ViewModeSlideshow = 2,
};

struct ViewerRequest {
    QStringList paths; // the file list, in order
    int current = 0; // the selected list position
    int iViewSource = ViewSourcePictures;
    int iViewMode = ViewModeSingle;
    bool bCropMode = false;
    JobSettings job; // for ViewSourceProcessed
    QString userDir; // crops, tempBZ.bmp and SWPIC.bmp go here
    int iSlideTime = 3; // seconds
    QSettings *settings = nullptr; // may be null: background black, nothing stored
    Prompter *prompter = nullptr; // the crop question and the interval box
    QWidget *owner = nullptr; // hidden while the viewer is open
    QRect screenArea; // the area to cover; empty: the owner's screen
};
