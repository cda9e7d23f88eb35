#pragma once

#include <QString>
#include <QStringList>

// The viewer's own words, in one place.
namespace viewer_texts {

inline QString fitToScreen()
{
    return QStringLiteral("适合屏幕");
}
inline QString ownSize()
{
    return QStringLiteral("原始大小");
}
inline QString crop()
{
    return QStringLiteral("裁剪图片");
}
inline QString copyPicture()
{
    return QStringLiteral("复制图像");
}
inline QString wallpaper()
{
    return QStringLiteral("设为桌面");
}
inline QString wallpaperStretch()
{
    return QStringLiteral("拉伸");
}
inline QString wallpaperCentre()
{
    return QStringLiteral("居中");
}
inline QString wallpaperTile()
{
    return QStringLiteral("平铺");
}
inline QString thumbnails()
{
    return QStringLiteral("多图列表浏览");
}
inline QString slideshow()
{
    return QStringLiteral("幻灯片浏览");
}
inline QString slideSpeed()
{
    return QStringLiteral("播放速度设置...");
}
inline QString background()
{
    return QStringLiteral("背景颜色设置");
}
inline QString leaveFullScreen()
{
    return QStringLiteral("退出全屏   ESC");
}
inline QString removePicture()
{
    return QStringLiteral("移除图片");
}

inline QString cropHint()
{
    return QStringLiteral("【提示】按住鼠标左键拖动选择裁剪的区域。");
}
inline QString nextStep()
{
    return QStringLiteral("请选择下一步操作");
}
inline QStringList cropActions()
{
    return {QStringLiteral("重新裁剪"), QStringLiteral("复制剪贴区域"), QStringLiteral("确定裁剪"),
        QStringLiteral("退出裁剪")};
}
inline QString boxTitle()
{
    return QStringLiteral("Tuvo提示");
}
inline QString cropQuestion()
{
    return QStringLiteral("确认裁剪并添加到图片批处理列表吗？");
}
inline QString cropSaveFailed(const QString &why)
{
    return QStringLiteral("【操作错误】裁剪的图片无法保存：") + why;
}
inline QString openFailed(const QString &path)
{
    return QStringLiteral("【操作错误】无法打开图片：") + path;
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
    return QStringLiteral("幻灯");
}
inline QString backButton()
{
    return QStringLiteral("返回");
}

inline QString intervalPrompt()
{
    return QStringLiteral("请输入幻灯片时间间隔(单位:秒)");
}
inline QString intervalTitle()
{
    return QStringLiteral("设置");
}

inline QString wallpaperUnsupported()
{
    return QStringLiteral("【操作错误】当前桌面环境不支持设置墙纸（支持 GNOME、Xfce，或安装 feh）。");
}
inline QString wallpaperSaveFailed(const QString &why)
{
    return QStringLiteral("【操作错误】墙纸图片无法保存：") + why;
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
