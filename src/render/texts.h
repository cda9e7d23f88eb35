#pragma once

#include "fs/file_names.h"

#include <QCoreApplication>
#include <QString>

// The batch run's own words, in one place.
namespace texts {

inline QString noPictures()
{
    return QCoreApplication::translate("tuvo", "没有添加要处理的图片！");
}
// The size mode after "自定义尺寸...".
inline QString fitInsideName()
{
    return QCoreApplication::translate("tuvo", "适应框内");
}
inline QString zeroSize()
{
    return QCoreApplication::translate("tuvo", "图片尺寸不能为0！");
}
inline QString noOutputFolder()
{
    return QCoreApplication::translate("tuvo", "请设置图片输出文件夹！");
}
inline QString noNetworkSettings()
{
    return QCoreApplication::translate("tuvo", "网络参数还没设置或设置错误！");
}
inline QString prefixLeavesFolder()
{
    return QCoreApplication::translate("tuvo", "文件名前缀不能包含路径分隔符(/ 或 \\)！");
}
inline QString minimiseQuestion()
{
    return QCoreApplication::translate("tuvo",
        "处理这些图片可能需要较长时间。为不干扰您的工作,软件将在最小化状态下运行。\r\n确认最小化吗？");
}
inline QString processing()
{
    return QCoreApplication::translate("tuvo", "【提示】正在处理 ");
}
inline QString progress(int done, int total)
{
    return QCoreApplication::translate("tuvo", "进度:%1/%2").arg(done).arg(total);
}
inline QString startCaption()
{
    return QCoreApplication::translate("tuvo", "开始处理");
}
inline QString doneUploaded()
{
    return QCoreApplication::translate("tuvo", "【提示】处理完毕！图片已保存到输出文件夹并上传到网络。");
}
// When not every picture of the run reached the server, the success text above would be false.
inline QString doneUploadedPartly(int uploaded, int total)
{
    return QCoreApplication::translate("tuvo", "【提示】处理完毕！图片已保存到输出文件夹,%1/%2张上传到网络。")
        .arg(uploaded)
        .arg(total);
}
inline QString done()
{
    return QCoreApplication::translate("tuvo", "【提示】处理完毕！图片已保存到输出文件夹。");
}
// With a file-size limit: how many pictures had to be scaled down, and how many missed it.
inline QString fileSizeCounts(int scaled, int overLimit)
{
    return QCoreApplication::translate("tuvo", "为符合文件大小限制缩小了%1张图片,%2张不符合限制。")
        .arg(scaled)
        .arg(overLimit);
}
inline QString errorNotice()
{
    return QCoreApplication::translate("tuvo", "请注意,在图片处理或上传过程中发生错误。");
}
inline QString errorLogQuestion(const QString &logPath)
{
    return QCoreApplication::translate("tuvo", "在处理过程中发生错误,这些错误已经保存到") + logPath
        + QCoreApplication::translate("tuvo", "。\r\n现在查看错误记录吗？");
}
inline QString errorLogName()
{
    return QStringLiteral("ErrorLog.txt");
}
inline QString linkPageName()
{
    return QStringLiteral("PicURL.htm");
}
inline QString idle()
{
    return QCoreApplication::translate("tuvo", "就绪。");
}

// Per-picture error lines; each starts with the picture's full path, shown so
// that its name cannot split the line.
inline QString drawError(const QString &path, const QString &description)
{
    return shownName(path) + QCoreApplication::translate("tuvo", "在显示图片时发生错误:(0)")
        + shownName(description) + QCoreApplication::translate("tuvo", "。\r\n");
}
inline QString saveError(const QString &path, const QString &description)
{
    return shownName(path) + QCoreApplication::translate("tuvo", "在保存时发生错误:") + shownName(description)
        + QStringLiteral(".\r\n");
}
inline QString markError(const QString &path, const QString &description)
{
    return shownName(path) + QCoreApplication::translate("tuvo", "在添加图片水印时发生错误:(错误代码:0)")
        + shownName(description) + QCoreApplication::translate("tuvo", "。\r\n");
}

// Two pictures of a run want the same output name; the later one is written.
inline QString clashWarning(const QString &earlier, const QString &later, const QString &output)
{
    return QCoreApplication::translate("tuvo", "【提示】%1和%2的输出文件同名(%3),只保存了后者。\r\n")
        .arg(shownName(earlier), shownName(later), shownName(output));
}

// Metadata that could not be read is left out; the picture is written all the same.
inline QString metadataLeftOut(const QString &picture, const QString &parts)
{
    return QCoreApplication::translate("tuvo", "【提示】%1的元数据有误,输出文件中没有写入:%2。\r\n")
        .arg(shownName(picture), parts);
}

// iOnClash "skip": an output name that exists already (or another picture of
// the run takes) is left alone.
// "原格式" of HEIC sources where libheif has no HEVC encoder, said once per run.
inline QString avifForHeic()
{
    return QCoreApplication::translate(
        "tuvo", "【提示】本机没有HEVC编码器,按原格式应写成HEIC的图片已写成AVIF。\r\n");
}
inline QString clashSkipped(const QString &picture, const QString &output)
{
    return QCoreApplication::translate("tuvo", "【提示】%1的输出文件%2已存在,没有覆盖,跳过了这张图片。\r\n")
        .arg(shownName(picture), shownName(output));
}
// iOnClash "fail": the description of the picture's save error.
inline QString clashRefused(const QString &output)
{
    return QCoreApplication::translate("tuvo", "输出文件%1已存在").arg(output);
}

} // namespace texts
