#pragma once

#include <QCoreApplication>
#include <QString>

// What the import and capture windows say, in one place.
namespace captureTexts {

inline QString boxTitle()
{
    return QCoreApplication::translate("tuvo", "Tuvo图片批量处理");
}

inline QString wordDialogTitle()
{
    return QCoreApplication::translate("tuvo", "请选择图片所在的Word文件");
}
inline QString wordDialogFilter()
{
    return QCoreApplication::translate("tuvo", "Word文档(*.doc,*.docx) (*.doc *.docx)");
}
inline QString noPicturesInDocument()
{
    return QCoreApplication::translate("tuvo", "这个文件里没有图片呢！");
}
inline QString docNeedsLibreOffice()
{
    return QCoreApplication::translate("tuvo",
        "打开.doc文件需要安装LibreOffice(soffice)。请安装LibreOffice,或先用字处理软件把它另存为.docx文件。");
}
inline QString docConversionFailed(const QString &why)
{
    return QCoreApplication::translate("tuvo", "无法用LibreOffice把.doc文件转换为.docx: ") + why;
}
inline QString cannotReadDocument(const QString &why)
{
    return QCoreApplication::translate("tuvo", "无法读取这个Word文件: ") + why;
}
// One line for a picture of the document that could not become a list entry.
inline QString pictureSkipped(int number, const QString &part, const QString &why)
{
    return QCoreApplication::translate("tuvo", "【操作错误】文档中的第%1张图片(%2)无法导入: %3")
        .arg(number)
        .arg(part, why);
}
inline QString wordImported(int count)
{
    return QCoreApplication::translate("tuvo", "【提示】已从Word文档导入%1张图片。").arg(count);
}

inline QString cameraHint()
{
    return QCoreApplication::translate("tuvo", "【提示】请确保摄像头已经与您的电脑连接好。");
}
inline QString noCamera()
{
    return QCoreApplication::translate("tuvo", "没有摄像头或发生错误！请检查。");
}
inline QString cameraTitle()
{
    return QCoreApplication::translate("tuvo", "摄像头拍照");
}
inline QString shoot()
{
    return QCoreApplication::translate("tuvo", "拍照");
}
inline QString reshoot()
{
    return QCoreApplication::translate("tuvo", "重拍");
}
inline QString ok()
{
    return QCoreApplication::translate("tuvo", "确定");
}
inline QString cancel()
{
    return QCoreApplication::translate("tuvo", "取消");
}

inline QString captureRestart()
{
    return QCoreApplication::translate("tuvo", "重新选择");
}
inline QString captureCopy()
{
    return QCoreApplication::translate("tuvo", "复制到剪贴板");
}
inline QString captureKeep()
{
    return QCoreApplication::translate("tuvo", "添加到图片列表");
}
inline QString captureClose()
{
    return QCoreApplication::translate("tuvo", "关闭");
}
inline QString captureSize(int width, int height)
{
    return QStringLiteral("%1 × %2").arg(width).arg(height);
}

inline QString screenGrabFailed()
{
    return QCoreApplication::translate("tuvo", "【操作错误】无法截取屏幕(这个桌面不允许程序截屏)。");
}
inline QString screenPortalMissing()
{
    return QCoreApplication::translate(
        "tuvo", "【操作错误】无法截取屏幕:桌面的截图服务(xdg-desktop-portal)没有回应。");
}
inline QString screenCaptureKept(const QString &path)
{
    return QCoreApplication::translate("tuvo", "【提示】截图已添加到图片列表: ") + path;
}
inline QString cameraStillKept(const QString &path)
{
    return QCoreApplication::translate("tuvo", "【提示】照片已添加到图片列表: ") + path;
}

inline QString saveFailed(const QString &path, const QString &why)
{
    return QCoreApplication::translate("tuvo", "【操作错误】无法保存图片") + path + QStringLiteral(": ")
        + why;
}

} // namespace captureTexts
