#pragma once

#include <QDateTime>
#include <QString>

// The text the text watermark draws for one picture. A token is replaced only
// when it is the whole of sText: "#当前日期#", "#当前时间#", "#JPG照片拍摄时间#"
// (EXIF tag 36867 of picturePath) and "#图片原文件名#", or their aliases "#date#",
// "#time#", "#exif-time#" and "#file-name#"; any other text stands as typed.
QString markText(
    const QString &sText, const QString &picturePath, const QDateTime &now = QDateTime::currentDateTime());
