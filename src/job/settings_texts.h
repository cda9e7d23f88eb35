#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

// The saved jobs' own words, in one place.
namespace texts {

inline QString jobFileUnreadable(const QString &path, const QString &why)
{
    return QCoreApplication::translate("tuvo", "无法读取作业文件%1:%2").arg(path, why);
}
inline QString jobFileTooLarge(const QString &path)
{
    return QCoreApplication::translate("tuvo", "作业文件%1太大,不是作业文件。").arg(path);
}
inline QString jobFileNotText(const QString &path)
{
    return QCoreApplication::translate("tuvo", "作业文件%1不是文本,未载入。").arg(path);
}
inline QString jobFileNoVersion(const QString &path)
{
    return QCoreApplication::translate("tuvo", "%1不是Tuvo作业文件(缺少Version),未载入。").arg(path);
}
inline QString jobFileNewer(int version)
{
    return QCoreApplication::translate("tuvo", "作业文件的版本%1比本程序认识的版本新,只载入了认识的设置项。")
        .arg(version);
}
inline QString jobKeysIgnored(const QStringList &keys)
{
    return QCoreApplication::translate("tuvo", "作业文件中下列设置项未被载入:%1")
        .arg(keys.join(QStringLiteral(", ")));
}
inline QString jobValueReplaced(const QString &key, const QString &value)
{
    return QCoreApplication::translate("tuvo", "作业文件中%1的值“%2”不可用,已保留原值。").arg(key, value);
}
inline QString jobFrameMissing(const QString &path)
{
    return QCoreApplication::translate("tuvo", "作业中的边框图片不存在,已改为无边框:%1").arg(path);
}
inline QString jobMarkMissing(const QString &path)
{
    return QCoreApplication::translate("tuvo", "作业中的水印图片不存在,已取消图片水印:%1").arg(path);
}
inline QString jobPresetSizeMissing(const QString &name)
{
    return QCoreApplication::translate("tuvo", "本机的size.ini中没有尺寸“%1”,已改用自定义尺寸。").arg(name);
}
inline QString jobFileNotWritten(const QString &path, const QString &why)
{
    return QCoreApplication::translate("tuvo", "无法保存作业文件%1:%2").arg(path, why);
}
inline QString unknownPreset(const QString &name)
{
    return QCoreApplication::translate("tuvo", "找不到作业预设“%1”").arg(name);
}

// The window's job menu.
inline QString saveJobMenu()
{
    return QCoreApplication::translate("tuvo", "保存当前作业...");
}
inline QString loadJobMenu()
{
    return QCoreApplication::translate("tuvo", "载入作业...");
}
inline QString manageJobsMenu()
{
    return QCoreApplication::translate("tuvo", "管理作业...");
}
inline QString savedJobsMenu()
{
    return QCoreApplication::translate("tuvo", "已保存的作业");
}
inline QString jobNamePrompt()
{
    return QCoreApplication::translate("tuvo", "请输入作业名称:");
}
inline QString badJobName(const QString &name)
{
    return QCoreApplication::translate("tuvo", "作业名称“%1”不能为空,也不能包含 / 或以 . 开头。").arg(name);
}
inline QString includeOutputFolderQuestion()
{
    return QCoreApplication::translate("tuvo", "作业中包括输出文件夹吗？");
}
inline QString replaceJobQuestion(const QString &name)
{
    return QCoreApplication::translate("tuvo", "作业“%1”已存在,替换吗？").arg(name);
}
inline QString jobSaved(const QString &name)
{
    return QCoreApplication::translate("tuvo", "【提示】已保存作业:%1").arg(name);
}
inline QString jobLoaded(const QString &name)
{
    return QCoreApplication::translate("tuvo", "【提示】已载入作业:%1").arg(name);
}
inline QString jobFileFilter()
{
    return QCoreApplication::translate("tuvo", "Tuvo作业 (*.ini)");
}
inline QString renameJob()
{
    return QCoreApplication::translate("tuvo", "重命名...");
}
inline QString deleteJob()
{
    return QCoreApplication::translate("tuvo", "删除");
}
inline QString exportJob()
{
    return QCoreApplication::translate("tuvo", "导出...");
}
inline QString importJob()
{
    return QCoreApplication::translate("tuvo", "导入...");
}
inline QString deleteJobQuestion(const QString &name)
{
    return QCoreApplication::translate("tuvo", "确实要删除作业“%1”吗？").arg(name);
}
inline QString jobExported(const QString &folder)
{
    return QCoreApplication::translate("tuvo", "【提示】作业和它的边框、水印图片已导出到%1").arg(folder);
}

} // namespace texts
