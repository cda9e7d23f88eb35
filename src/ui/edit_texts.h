#pragma once

#include <QString>
#include <QStringList>

// Words of the editing controls: the text and options dialogs, the canvas and
// the rotation, effect and colour controls.
namespace edittexts {

// Text watermark dialog
inline QString txtSetCaption()
{
    return QStringLiteral("设置文本水印");
}
inline QString txtSetDefaultText()
{
    return QStringLiteral("Tuvo图片批量处理");
}
inline QStringList markTokens()
{
    return {QStringLiteral("#当前日期#"), QStringLiteral("#当前时间#"), QStringLiteral("#JPG照片拍摄时间#"),
        QStringLiteral("#图片原文件名#")};
}
inline QString emptyText()
{
    return QStringLiteral("文字不能为空！");
}
inline QString emptySize()
{
    return QStringLiteral("文字大小不能为空！");
}
inline QString textMarkLabel(const QString &text)
{
    return QStringLiteral("文字水印:") + (text.isEmpty() ? QStringLiteral("无") : text);
}
inline QString textMarkSet(const QString &text)
{
    return QStringLiteral("【提示】成功设置文字水印:") + text;
}

// Options dialog
inline QString optionsCaption()
{
    return QStringLiteral("选项");
}
inline QString pdfOptionsCaption()
{
    return QStringLiteral("PDF参数设置");
}
inline QString qualityRange()
{
    return QStringLiteral("输出JPG图片质量只能是0-100之间的数字。");
}
inline QString intervalRange()
{
    return QStringLiteral("幻灯片播放时图片切换的时间间隔只能是1-30秒。");
}

// Canvas editing
inline QString moveModeHint()
{
    return QStringLiteral(
        "【提示】按住鼠标左键拖动蓝色方块即可调整图片位置,方向键微调,鼠标右键退出移动模式。");
}
inline QString moveDragHint()
{
    return QStringLiteral(
        "【提示】按住鼠标左键拖动蓝色条块即可调整位置,键盘方向键微调。鼠标右键退出移动模式。");
}
inline QString markDragHint()
{
    return QStringLiteral("【提示】按住鼠标左键拖动蓝色条块即可调整位置,方向键微调。");
}
inline QString coordinatesTitle()
{
    return QStringLiteral("起始点坐标");
}
inline QString coordinatesPrompt()
{
    return QStringLiteral(
        "请输入主图起始点坐标，格式为X,Y。\n\n如:要定点于左100像素、上120像素，请输入100,120");
}

// Rotation buttons by menu index (index 1 is the menu's separator line).
inline QString rotationButtonCaption(int i)
{
    static const char *const captions[] = {"原图", "", "自动", "+90", "-90", "180", "水平", "垂直"};
    return i >= 0 && i < 8 ? QString::fromUtf8(captions[i]) : QString();
}
inline QString rotationHint(int i)
{
    static const char *const hints[] = {"恢复图片原始方向", "", "自动扶正非正常方向拍摄的数码照片",
        "顺时针旋转90度", "逆时针旋转90度", "旋转180度", "以水平线为轴镜像", "以垂线为轴镜像"};
    return i >= 0 && i < 8 ? QString::fromUtf8(hints[i]) : QString();
}

// Colour channels
inline QString channelMenuCaption(int i)
{
    static const char *const captions[] = {"红色通道", "绿色通道", "蓝色通道"};
    return QString::fromUtf8(captions[i]);
}
inline QString channelButtonCaption(int i)
{
    static const char *const captions[] = {"红", "绿", "蓝"};
    return QString::fromUtf8(captions[i]);
}
inline QString channelFactorTip(int i)
{
    static const char *const tips[] = {"红色分量大小(0-1)", "绿色分量大小(0-1)", "蓝色分量大小(0-1)"};
    return QString::fromUtf8(tips[i]);
}
inline QString channelFactorHint()
{
    return QStringLiteral("【提示】请输入数字。数字越大该颜色越重(建议0-10之间，可以是小数)。");
}

} // namespace edittexts
