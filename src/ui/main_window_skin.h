#pragma once

#include <QString>

class MainWindow;
class QMenu;

// The skin menu "皮肤(&K)" before the help menu: one entry per skin file of the
// skin folder and "更多皮肤..." (frmDlg in its skin mode). Also applies the stored
// sSkinFileName, so call it once the window has loaded. Returns the menu.
QMenu *installSkinMenu(MainWindow &window);

// Applies the skin in path and stores it under sSkinFileName; the menu's check
// marks follow. A file that cannot serve as a skin is still stored (the plain look
// shows until another is chosen).
void chooseSkin(MainWindow &window, const QString &path);

// The skin file the window started with or last chose.
QString currentSkinPath(const MainWindow &window);
