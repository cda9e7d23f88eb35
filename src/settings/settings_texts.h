#pragma once

#include <QString>
#include <QStringList>

// The saved jobs' own words, in one place.
namespace texts {

inline QString jobFileUnreadable(const QString &path, const QString &why)
{
    return QStringLiteral("无法读取作业文件%1:%2").arg(path, why);
}
inline QString jobFileTooLarge(const QString &path)
{
    return QStringLiteral("作业文件%1太大,不是作业文件。").arg(path);
}
inline QString jobFileNotText(const QString &path)
{
    return QStringLiteral("作业文件%1不是文本,未载入。").arg(path);
}
inline QString jobFileNoVersion(const QString &path)
{
    return QStringLiteral("%1不是Tuvo作业文件(缺少Version),未载入。").arg(path);
}
inline QString jobFileNewer(int version)
{
    return QStringLiteral("作业文件的版本%1比本程序认识的版本新,只载入了认识的设置项。").arg(version);
}
inline QString jobKeysIgnored(const QStringList &keys)
{
    return QStringLiteral("作业文件中下列设置项未被载入:%1").arg(keys.join(QStringLiteral(", ")));
}
inline QString jobValueReplaced(const QString &key, const QString &value)
{
    return QStringLiteral("作业文件中%1的值“%2”不可用,已保留原值。").arg(key, value);
}
inline QString jobFrameMissing(const QString &path)
{
    return QStringLiteral("作业中的边框图片不存在,已改为无边框:%1").arg(path);
}
inline QString jobMarkMissing(const QString &path)
{
    return QStringLiteral("作业中的水印图片不存在,已取消图片水印:%1").arg(path);
}
inline QString jobPresetSizeMissing(const QString &name)
{
    return QStringLiteral("本机的size.ini中没有尺寸“%1”,已改用自定义尺寸。").arg(name);
}
inline QString jobFileNotWritten(const QString &path, const QString &why)
{
    return QStringLiteral("无法保存作业文件%1:%2").arg(path, why);
}
inline QString unknownPreset(const QString &name)
{
    return QStringLiteral("找不到作业预设“%1”").arg(name);
}

} // namespace texts
