#pragma once

class MainWindow;
class QAction;

// 文件 → 监视文件夹…: the window processes every picture that arrives in a
// chosen folder with the current job, lists it, and says on the status line what
// is watched and how many pictures were done; the same entry, then 停止监视,
// ends it. Appended after the last entry of the file menu.
QAction *installFolderWatch(MainWindow &window);
