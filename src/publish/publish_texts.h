#pragma once

#include "fs/file_names.h"

#include <QCoreApplication>
#include <QString>

// The publishing step's own texts, kept in one place.
namespace PublishTexts {

// Starts with the picture's full path, like every per-picture error line.
inline QString uploadErrorLine(const QString &picture, int code)
{
    return picture + QCoreApplication::translate("tuvo", "在传输文件时发生错误:(错误代码:%1)。").arg(code);
}
inline QString serverSilent()
{
    return QCoreApplication::translate("tuvo", "服务器没有应答。");
}
inline QString serverStillSilent()
{
    return QCoreApplication::translate("tuvo", "服务器没有应答,本次不再连接。");
}
inline QString tlsRequired()
{
    return QCoreApplication::translate("tuvo", "服务器不支持加密,按设置没有登录(密码未发送)。");
}
inline QString certificateRefused()
{
    return QCoreApplication::translate("tuvo", "服务器证书无法验证,连接被拒绝。");
}
inline QString pinMismatch()
{
    return QCoreApplication::translate("tuvo", "服务器公钥与账户中固定的指纹不符,连接被拒绝。");
}
inline QString hostKeyChanged()
{
    return QCoreApplication::translate("tuvo", "服务器主机密钥与known_hosts中的记录不符,连接被拒绝。");
}
inline QString unknownHostKey(const QString &fingerprint)
{
    return QCoreApplication::translate(
        "tuvo", "未知的主机密钥%1,确认无误后请在账户中接受它(--ftp-accept-host-key)。")
        .arg(fingerprint);
}
// The server's own reply or status after a failed upload ("550 Permission denied.").
inline QString serverReply(const QString &reply)
{
    return QCoreApplication::translate("tuvo", "服务器答复:%1").arg(reply);
}
inline QString passwordInClear()
{
    return QCoreApplication::translate("tuvo", "警告:服务器不支持加密,本次上传的密码和图片以明文传输。");
}

inline QString uploadWarningTitle()
{
    return QCoreApplication::translate("tuvo", "敬告");
}
inline QString uploadWarningText()
{
    return QCoreApplication::translate("tuvo",
        "严禁上传淫秽、暴力、反动等国家禁止或有违道德图片！\r\n\r\n"
        "请自觉遵守法律法规和道德规范，共创良好网络环境。");
}
inline QString uploadHint()
{
    return QCoreApplication::translate("tuvo", "【提示】图片将被上传到互联网,请确保网络连接正常。");
}

inline const QString kUploadRecordName = QStringLiteral("picUpload.dat");
// Part of the link page, which reads the same in every language.
inline const QString kLinkPageHeader = QStringLiteral(
    "<font color=red>【Tuvo网络图片使用指南】<br>下面这些图片已经传输到了网络空间。复制您需要的图片,"
    "直接粘贴到网站的编辑框里即可使用。<br>如果网站不支持直接粘贴,请选择插入图片,选择对应的图片地址即可。"
    "</font><br><hr><br>");

inline QString fileWriteErrorLine(const QString &path, const QString &reason)
{
    return QCoreApplication::translate("tuvo", "写入文件时发生错误:%1(%2)。").arg(shownName(path), reason);
}

inline const QString kPdfErrorTitle = QStringLiteral("PDF In-The-Box");
inline const QString kPdfFont = QStringLiteral("黑体");
inline const QString kDefaultPdfName = QStringLiteral("Tuvo.pdf");

} // namespace PublishTexts
