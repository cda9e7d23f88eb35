#pragma once

#include "job/job_settings.h"

#include <QSize>
#include <QString>
#include <QStringList>

// The frame list of panel 3: "无边框", one entry per frame picture, then the two
// commands "添加本地边框..." and "网络下载边框...". Entry k's picture is path(k);
// entry 0 and the commands have none. The window's combo box and tuvo-cli both
// read this model, so they agree on what an index means.
class FrameList {
public:
    static constexpr int kMaxFrames = 500;

    static QString noFrameText();
    static QString addLocalText();
    static QString downloadText();

    // Starts afresh with the PNG pictures of folder (the bk folder beside the
    // program), in name order, case ignored. A missing folder leaves only
    // "无边框" and the two commands.
    void loadFolder(const QString &folder);

    // Adds the PNG pictures of folder that are not in the list yet; returns how
    // many were added. Nothing beyond kMaxFrames pictures is added.
    int addFolder(const QString &folder);

    // All entry texts in list order, commands included.
    QStringList entries() const;
    int count() const { return int(names_.size()) + 3; }
    int frameCount() const { return int(names_.size()); }

    // Full path of entry k's frame picture; empty for "无边框", the commands and
    // indexes outside the list.
    QString path(int k) const;
    // The entry whose picture is path, or -1.
    int indexOf(const QString &path) const;

    bool isFrame(int k) const { return k >= 1 && k <= frameCount(); }
    bool isAddLocal(int k) const { return k == frameCount() + 1; }
    bool isDownload(int k) const { return k == frameCount() + 2; }

    // Appends one picture unless it is there already or the list is full.
    bool append(const QString &path);

private:
    QStringList names_;
    QStringList paths_;
};

// What the window has to do after an entry was chosen.
enum class FrameChoice {
    Selected, // job.iuBk and job.sFrameFile now name the entry
    ChooseFolder, // "添加本地边框...": ask for a folder, then FrameList::addFolder
    OpenDownloadPage // "网络下载边框...": the list goes back to "无边框" and the page opens
};

// The frame list's selection handler: updates iuBk and sFrameFile. Choosing
// "无边框" in the "适应边框" size mode first switches the size mode to "限制宽度".
FrameChoice chooseFrame(JobSettings &job, const FrameList &frames, int k);

// Switching the size mode to "适应边框" while "无边框" is chosen picks the
// first frame picture, when there is one. Call after chooseSizeMode.
void pickFrameForFitMode(JobSettings &job, const FrameList &frames);

// The web page "网络下载边框..." opens.
QString frameDownloadUrl();
