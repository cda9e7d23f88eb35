#include "ui/skin.h"

#include <QApplication>
#include <QCollator>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace {

const QString kDefaultSkin = QStringLiteral("浅蓝(默认).she");
// A style sheet is a few kilobytes; anything far larger is not a skin.
constexpr qint64 kMaxSkinBytes = 1024 * 1024;

// Qt drops a whole sheet it cannot parse and warns on the console; the cheap
// structural checks here catch the usual damage (truncation, binary junk) first.
bool looksLikeStyleSheet(const QString &sheet)
{
    int depth = 0;
    bool inComment = false;
    QChar quote;
    for (qsizetype i = 0; i < sheet.size(); ++i) {
        const QChar c = sheet.at(i);
        const QChar next = i + 1 < sheet.size() ? sheet.at(i + 1) : QChar();
        if (c.unicode() == 0)
            return false;
        if (inComment) {
            if (c == u'*' && next == u'/') {
                inComment = false;
                ++i;
            }
            continue;
        }
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            continue;
        }
        if (c == u'/' && next == u'*') {
            inComment = true;
            ++i;
        } else if (c == u'"' || c == u'\'') {
            quote = c;
        } else if (c == u'{') {
            ++depth;
        } else if (c == u'}') {
            if (--depth < 0)
                return false;
        }
    }
    return depth == 0 && !inComment && quote.isNull();
}

} // namespace

QString readSkinSheet(const QString &path)
{
    QFile file(path);
    if (path.isEmpty() || !QFileInfo(path).isFile() || file.size() > kMaxSkinBytes
        || !file.open(QIODevice::ReadOnly))
        return QString();
    const QByteArray bytes = file.readAll();
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString sheet = utf8(bytes);
    if (utf8.hasError() || sheet.trimmed().isEmpty() || !looksLikeStyleSheet(sheet))
        return QString();
    return sheet;
}

bool applySkin(const QString &path)
{
    const QString sheet = readSkinSheet(path);
    // A skin names its pictures (the tick of a check box) as "skin:name.png",
    // found beside the skin file.
    QDir::setSearchPaths(QStringLiteral("skin"), {QFileInfo(path).absolutePath()});
    if (auto *app = qobject_cast<QApplication *>(QCoreApplication::instance()))
        app->setStyleSheet(sheet);
    return !sheet.isEmpty();
}

QStringList skinFiles(const QString &skinDir)
{
    const QDir dir(skinDir);
    QStringList names = dir.entryList({QStringLiteral("*.she")}, QDir::Files | QDir::Readable);
    QCollator collator;
    collator.setNumericMode(true);
    std::sort(names.begin(), names.end(), [&collator](const QString &a, const QString &b) {
        const bool aDefault = a == kDefaultSkin;
        const bool bDefault = b == kDefaultSkin;
        if (aDefault != bDefault)
            return aDefault;
        return collator.compare(a, b) < 0;
    });
    QStringList paths;
    for (const QString &name : names)
        paths << dir.filePath(name);
    return paths;
}

QString skinDisplayName(const QString &path)
{
    // The shipped skins are named in the user's language; their files keep their
    // names, which stored settings refer to. Other skins show their file's name.
    static const char *const shipped[]
        = {QT_TRANSLATE_NOOP("tuvo", "浅蓝(默认)"), QT_TRANSLATE_NOOP("tuvo", "暖阳橙"),
            QT_TRANSLATE_NOOP("tuvo", "深邃黑"), QT_TRANSLATE_NOOP("tuvo", "清新绿")};
    const QString base = QFileInfo(path).completeBaseName();
    for (const char *name : shipped) {
        if (base == QString::fromUtf8(name))
            return QCoreApplication::translate("tuvo", name);
    }
    return base;
}

QString defaultSkinPath(const QString &skinDir)
{
    return QDir(skinDir).filePath(kDefaultSkin);
}
