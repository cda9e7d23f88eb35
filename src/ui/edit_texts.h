#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

// Words of the editing controls: the text and options dialogs, the canvas and
// the rotation, effect and colour controls.
namespace edittexts {

// Text watermark dialog
inline QString txtSetCaption()
{
    return QCoreApplication::translate("tuvo", "设置文本水印");
}
inline QString txtSetDefaultText()
{
    return QCoreApplication::translate("tuvo", "Tuvo图片批量处理");
}
// In English the ASCII aliases, which the watermark accepts beside the Chinese tokens.
inline QStringList markTokens()
{
    return {QCoreApplication::translate("tuvo", "#当前日期#"),
        QCoreApplication::translate("tuvo", "#当前时间#"),
        QCoreApplication::translate("tuvo", "#JPG照片拍摄时间#"),
        QCoreApplication::translate("tuvo", "#图片原文件名#")};
}
inline QString emptyText()
{
    return QCoreApplication::translate("tuvo", "文字不能为空！");
}
inline QString emptySize()
{
    return QCoreApplication::translate("tuvo", "文字大小不能为空！");
}
inline QString textMarkLabel(const QString &text)
{
    return QCoreApplication::translate("tuvo", "文字水印:")
        + (text.isEmpty() ? QCoreApplication::translate("tuvo", "无") : text);
}
inline QString textMarkSet(const QString &text)
{
    return QCoreApplication::translate("tuvo", "【提示】成功设置文字水印:") + text;
}

// Options dialog
inline QString optionsCaption()
{
    return QCoreApplication::translate("tuvo", "选项");
}
inline QString pdfOptionsCaption()
{
    return QCoreApplication::translate("tuvo", "PDF参数设置");
}
inline QString qualityRange()
{
    return QCoreApplication::translate("tuvo", "输出JPG图片质量只能是0-100之间的数字。");
}
inline QString fileSizeRange()
{
    return QCoreApplication::translate("tuvo", "输出文件大小只能是0-2097151之间的KB数(0为不限)。");
}
inline QString intervalRange()
{
    return QCoreApplication::translate("tuvo", "幻灯片播放时图片切换的时间间隔只能是1-30秒。");
}

// Canvas editing
inline QString moveModeHint()
{
    return QCoreApplication::translate(
        "tuvo", "【提示】按住鼠标左键拖动蓝色方块即可调整图片位置,方向键微调,鼠标右键退出移动模式。");
}
inline QString moveDragHint()
{
    return QCoreApplication::translate(
        "tuvo", "【提示】按住鼠标左键拖动蓝色条块即可调整位置,键盘方向键微调。鼠标右键退出移动模式。");
}
inline QString markDragHint()
{
    return QCoreApplication::translate("tuvo", "【提示】按住鼠标左键拖动蓝色条块即可调整位置,方向键微调。");
}
inline QString coordinatesTitle()
{
    return QCoreApplication::translate("tuvo", "起始点坐标");
}
inline QString coordinatesPrompt()
{
    return QCoreApplication::translate(
        "tuvo", "请输入主图起始点坐标，格式为X,Y。\n\n如:要定点于左100像素、上120像素，请输入100,120");
}

// Rotation buttons by menu index (index 1 is the menu's separator line).
inline QString rotationButtonCaption(int i)
{
    static const char *const captions[]
        = {QT_TRANSLATE_NOOP("tuvo", "原图"), "", QT_TRANSLATE_NOOP("tuvo", "自动"), "+90", "-90", "180",
            QT_TRANSLATE_NOOP("tuvo", "水平"), QT_TRANSLATE_NOOP("tuvo", "垂直")};
    return i >= 0 && i < 8 ? QCoreApplication::translate("tuvo", captions[i]) : QString();
}
inline QString rotationHint(int i)
{
    static const char *const hints[] = {QT_TRANSLATE_NOOP("tuvo", "恢复图片原始方向"), "",
        QT_TRANSLATE_NOOP("tuvo", "自动扶正非正常方向拍摄的数码照片"),
        QT_TRANSLATE_NOOP("tuvo", "顺时针旋转90度"), QT_TRANSLATE_NOOP("tuvo", "逆时针旋转90度"),
        QT_TRANSLATE_NOOP("tuvo", "旋转180度"), QT_TRANSLATE_NOOP("tuvo", "以水平线为轴镜像"),
        QT_TRANSLATE_NOOP("tuvo", "以垂线为轴镜像")};
    return i >= 0 && i < 8 ? QCoreApplication::translate("tuvo", hints[i]) : QString();
}

// Colour channels
inline QString channelMenuCaption(int i)
{
    static const char *const captions[] = {QT_TRANSLATE_NOOP("tuvo", "红色通道"),
        QT_TRANSLATE_NOOP("tuvo", "绿色通道"), QT_TRANSLATE_NOOP("tuvo", "蓝色通道")};
    return QCoreApplication::translate("tuvo", captions[i]);
}
inline QString channelButtonCaption(int i)
{
    static const char *const captions[]
        = {QT_TRANSLATE_NOOP("tuvo", "红"), QT_TRANSLATE_NOOP("tuvo", "绿"), QT_TRANSLATE_NOOP("tuvo", "蓝")};
    return QCoreApplication::translate("tuvo", captions[i]);
}
inline QString channelFactorTip(int i)
{
    static const char *const tips[] = {QT_TRANSLATE_NOOP("tuvo", "红色分量大小(0-1)"),
        QT_TRANSLATE_NOOP("tuvo", "绿色分量大小(0-1)"), QT_TRANSLATE_NOOP("tuvo", "蓝色分量大小(0-1)")};
    return QCoreApplication::translate("tuvo", tips[i]);
}
inline QString channelFactorHint()
{
    return QCoreApplication::translate(
        "tuvo", "【提示】请输入数字。数字越大该颜色越重(建议0-10之间，可以是小数)。");
}

} // namespace edittexts
