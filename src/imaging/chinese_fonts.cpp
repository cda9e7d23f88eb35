#include "imaging/chinese_fonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QStringList>

#include <mutex>

namespace {

// The installed ones of candidates, in the given order of preference.
QStringList installed(const QStringList &candidates)
{
    const QStringList families = QFontDatabase::families();
    QStringList found;
    for (const QString &family : candidates) {
        if (families.contains(family, Qt::CaseInsensitive))
            found << family;
    }
    return found;
}

void substitute(const QStringList &names, const QStringList &targets)
{
    if (targets.isEmpty())
        return;
    for (const QString &name : names) {
        QFont::removeSubstitutions(name);
        QFont::insertSubstitutions(name, targets);
    }
}

void installSubstitutes()
{
    const QStringList sans = installed({QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Noto Sans SC"),
        QStringLiteral("Source Han Sans SC"), QStringLiteral("WenQuanYi Zen Hei"),
        QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Droid Sans Fallback")});
    // Song faces are serif faces; without a serif CJK family the sans ones still beat boxes.
    const QStringList serif = installed({QStringLiteral("Noto Serif CJK SC"), QStringLiteral("Noto Serif SC"),
                                  QStringLiteral("Source Han Serif SC"), QStringLiteral("AR PL UMing CN")})
        + sans;
    const QStringList kai = installed({QStringLiteral("AR PL UKai CN")}) + serif;

    substitute({QStringLiteral("宋体"), QStringLiteral("新宋体"), QStringLiteral("仿宋"),
                   QStringLiteral("仿宋_GB2312"), QStringLiteral("SimSun"), QStringLiteral("NSimSun"),
                   QStringLiteral("FangSong")},
        serif);
    substitute({QStringLiteral("黑体"), QStringLiteral("微软雅黑"), QStringLiteral("SimHei"),
                   QStringLiteral("Microsoft YaHei")},
        sans);
    substitute({QStringLiteral("楷体"), QStringLiteral("楷体_GB2312"), QStringLiteral("KaiTi")}, kai);
}

} // namespace

void installChineseFontSubstitutes()
{
    // Once only: the text watermark calls this too, possibly from worker threads.
    static std::once_flag once;
    std::call_once(once, installSubstitutes);
}
