#pragma once

#include "dialogs/prompter.h"
#include "fs/app_paths.h"
#include "job/settings_store.h"
#include "ui/frm_dlg.h"
#include "ui/main_window.h"

#include <QImage>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <memory>

// A main window over a program folder and a settings store of its own, with
// every box and dialog answered by a ScriptedPrompter.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Builds and loads a window (a second call is a restart).
    MainWindow &start(const QStringList &commandLine = {});
    // Closes it as the window's close box does (the shutdown save runs).
    void closeWindow();
    // "开始处理", then waits until the run, which goes on beside the window, has ended.
    static void runToEnd(MainWindow &w);
    // "添加文件夹", then waits until the folder's pictures are in the list.
    static void addFolderToEnd(MainWindow &w);

    // n small pictures named p00.png, p01.png, ... in folder (created).
    QStringList makePictures(const QString &folder, int n, QSize size = QSize(64, 48));
    QString home() const { return home_.path(); }
    // Puts the skins the program ships into the program folder's skin folder.
    void copyShippedSkins();
    QString settingsValue(const QString &key);

    // Answers the next dialog: moves it to folder, selects files (by name) and confirms.
    void answerDialogWith(const QString &folder, const QStringList &files = {}, bool subFolders = false);

    QTemporaryDir home_;
    QTemporaryDir config_;
    AppPaths paths_;
    std::unique_ptr<QSettings> settings_;
    std::unique_ptr<MainWindow> window_;
    ScriptedPrompter prompter_;
    QStringList opened_; // what the window handed to outside programs
};
