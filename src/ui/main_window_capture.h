#pragma once

class AddOnHost;
class MainWindow;

// Answers the main window's wordImportRequested, cameraRequested and
// screenCaptureRequested (the menu items mWord, mCap and mCopySrc2). Call once
// after the window is built.
void installCaptureCommands(MainWindow &window);

// The three commands, callable on their own (tests, other menus).
void importFromWordDocument(AddOnHost &host);
void takeCameraStill(AddOnHost &host);
void startScreenCapture(AddOnHost &host);
