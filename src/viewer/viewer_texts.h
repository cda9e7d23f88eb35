#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

// The viewer's own words, in one place.
namespace viewer_texts {

inline QString fitToScreen()
{
    return QCoreApplication::translate("tuvo", "适合屏幕");
}
inline QString ownSize()
{
    return QCoreApplication::translate("tuvo", "原始大小");
}
inline QString crop()
{
    return QCoreApplication::translate("tuvo", "裁剪图片");
}
inline QString copyPicture()
{
    return QCoreApplication::translate("tuvo", "复制图像");
}
inline QString wallpaper()
{
    return QCoreApplication::translate("tuvo", "设为桌面");
}
inline QString wallpaperStretch()
{
    return QCoreApplication::translate("tuvo", "拉伸");
}
inline QString wallpaperCentre()
{
    return QCoreApplication::translate("tuvo", "居中");
}
inline QString wallpaperTile()
{
    return QCoreApplication::translate("tuvo", "平铺");
}
inline QString thumbnails()
{
    return QCoreApplication::translate("tuvo", "多图列表浏览");
}
inline QString slideshow()
{
    return QCoreApplication::translate("tuvo", "幻灯片浏览");
}
inline QString slideSpeed()
{
    return QCoreApplication::translate("tuvo", "播放速度设置...");
}
inline QString background()
{
    return QCoreApplication::translate("tuvo", "背景颜色设置");
}
inline QString leaveFullScreen()
{
    return QCoreApplication::translate("tuvo", "退出全屏   ESC");
}
inline QString removePicture()
{
    return QCoreApplication::translate("tuvo", "移除图片");
}

inline QString cropHint()
{
    return QCoreApplication::translate("tuvo", "【提示】按住鼠标左键拖动选择裁剪的区域。");
}
inline QString nextStep()
{
    return QCoreApplication::translate("tuvo", "请选择下一步操作");
}
inline QStringList cropActions()
{
    return {QCoreApplication::translate("tuvo", "重新裁剪"),
        QCoreApplication::translate("tuvo", "复制剪贴区域"), QCoreApplication::translate("tuvo", "确定裁剪"),
        QCoreApplication::translate("tuvo", "退出裁剪")};
}
inline QString boxTitle()
{
    return QCoreApplication::translate("tuvo", "Tuvo提示");
}
inline QString cropQuestion()
{
    return QCoreApplication::translate("tuvo", "确认裁剪并添加到图片批处理列表吗？");
}
inline QString cropSaveFailed(const QString &why)
{
    return QCoreApplication::translate("tuvo", "【操作错误】裁剪的图片无法保存：") + why;
}
inline QString openFailed(const QString &path)
{
    return QCoreApplication::translate("tuvo", "【操作错误】无法打开图片：") + path;
}

inline QString previousPage()
{
    return QStringLiteral("<");
}
inline QString nextPage()
{
    return QStringLiteral(">");
}
inline QString slideButton()
{
    return QCoreApplication::translate("tuvo", "幻灯");
}
inline QString backButton()
{
    return QCoreApplication::translate("tuvo", "返回");
}

inline QString intervalPrompt()
{
    return QCoreApplication::translate("tuvo", "请输入幻灯片时间间隔(单位:秒)");
}
inline QString intervalTitle()
{
    return QCoreApplication::translate("tuvo", "设置");
}

inline QString wallpaperUnsupported()
{
    return QCoreApplication::translate(
        "tuvo", "【操作错误】当前桌面环境不支持设置墙纸（支持 GNOME、Xfce，或安装 feh）。");
}
inline QString wallpaperSaveFailed(const QString &why)
{
    return QCoreApplication::translate("tuvo", "【操作错误】墙纸图片无法保存：") + why;
}

inline QString tempPictureName()
{
    return QStringLiteral("tempBZ.bmp");
}
inline QString wallpaperPictureName()
{
    return QStringLiteral("SWPIC.bmp");
}

} // namespace viewer_texts
