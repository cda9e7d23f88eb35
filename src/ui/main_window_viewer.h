#pragma once

#include "ui/viewer_command.h"

class AddOnHost;
class FrmPic;
class MainWindow;

// Answers the window's viewerRequested: the list and the browse menu open the viewer.
void installViewerCommands(MainWindow &window);

// Runs the command's checks for the current list entry, then opens the viewer and
// connects what it reports back to the window. Null when nothing opened.
FrmPic *openViewer(AddOnHost &window, ViewerCommand command);
