#pragma once

class MainWindow;

// Puts the Word import, the camera and the screen capture behind the main
// window's menu items mWord, mCap and mCopySrc2 (its hooks). Call once after
// the window is built.
void installCaptureHooks(MainWindow &window);

// The three commands, callable on their own (tests, other menus).
void importFromWordDocument(MainWindow &window);
void takeCameraStill(MainWindow &window);
void startScreenCapture(MainWindow &window);
