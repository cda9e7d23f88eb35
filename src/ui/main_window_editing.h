#pragma once

class AdjustMenus;
class CanvasEditor;
class MainWindow;

// The controllers installEditingControls puts into the window (owned by it).
struct EditingControls {
    AdjustMenus *menus = nullptr;
    CanvasEditor *editor = nullptr;
};

// Puts the editing controls into the main window: the text watermark and options
// dialogs behind its requests, the effect and colour menus, the rotation, effect and
// channel buttons with the brightness and matrix panels over the preview, and
// canvas editing (move mode, watermark handles, arrow keys, "坐标定位") with the
// items "移动图片", "恢复原点", "坐标定位", "裁剪图片" and "裁剪原图" in the image menu.
// They edit the window's job model. Call once after the window is built, before load().
EditingControls installEditingControls(MainWindow &window);
