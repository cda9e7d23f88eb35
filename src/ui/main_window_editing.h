#pragma once

class AdjustMenus;
class CanvasEditor;
class MainWindow;

// Puts the editing controls into the main window: the text watermark and options
// dialogs behind its hooks, the effect and colour menus, the rotation, effect and
// channel buttons with the brightness and matrix panels over the preview, and
// canvas editing (move mode, watermark handles, arrow keys, "坐标定位") with the
// items "移动图片", "恢复原点", "坐标定位", "裁剪图片" and "裁剪原图" in the image menu.
// Call once after the window is built, before load().
void installEditingControls(MainWindow &window);

// The installed controllers (null before installEditingControls).
CanvasEditor *canvasEditor(MainWindow &window);
AdjustMenus *adjustMenus(MainWindow &window);
