#include "capture/docx_package.h"

#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <zip.h>

void DocxPackage::Closer::operator()(zip *archive) const
{
    zip_discard(archive);
}

DocxPackage::DocxPackage(const Limits &limits)
    : limits_(limits)
{
}

DocxPackage::DocxPackage()
    : DocxPackage(Limits())
{
}

DocxPackage::~DocxPackage() = default;

bool DocxPackage::open(const QString &path, QString *error)
{
    int code = 0;
    zip_t *archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &code);
    if (!archive) {
        zip_error_t ze;
        zip_error_init_with_code(&ze, code);
        *error = code == ZIP_ER_NOZIP || code == ZIP_ER_INCONS
            ? QCoreApplication::translate("tuvo", "不是有效的.docx文件(不是zip压缩包)")
            : QString::fromLocal8Bit(zip_error_strerror(&ze));
        zip_error_fini(&ze);
        return false;
    }
    zip_.reset(archive);
    totalRead_ = 0;
    if (zip_get_num_entries(archive, 0) > limits_.maxEntries) {
        zip_.reset();
        *error = QCoreApplication::translate("tuvo", "压缩包里的条目太多(超过%1个)").arg(limits_.maxEntries);
        return false;
    }
    return true;
}

bool DocxPackage::contains(const QString &partName) const
{
    return zip_ && zip_name_locate(zip_.get(), partName.toUtf8().constData(), ZIP_FL_NOCASE) >= 0;
}

QByteArray DocxPackage::read(const QString &partName, qint64 maxBytes, QString *error)
{
    if (!zip_) {
        *error = QCoreApplication::translate("tuvo", "文件没有打开");
        return {};
    }
    // Part names are case-insensitive in a package.
    const zip_int64_t index = zip_name_locate(zip_.get(), partName.toUtf8().constData(), ZIP_FL_NOCASE);
    zip_stat_t st;
    zip_stat_init(&st);
    if (index < 0 || zip_stat_index(zip_.get(), zip_uint64_t(index), 0, &st) != 0) {
        *error = QCoreApplication::translate("tuvo", "文件中缺少部件 ") + partName;
        return {};
    }
    const qint64 cap = std::min({maxBytes, limits_.maxPartBytes, limits_.maxTotalBytes - totalRead_});
    const bool known = (st.valid & ZIP_STAT_SIZE) && (st.valid & ZIP_STAT_COMP_SIZE);
    if (!known || st.size > zip_uint64_t(cap)) {
        *error = QCoreApplication::translate("tuvo", "部件 %1 太大(声明大小 %2 字节)")
                     .arg(partName)
                     .arg(known ? qint64(st.size) : -1);
        return {};
    }
    if (qint64(st.size) > limits_.ratioCheckFrom
        && qint64(st.size) / qMax<qint64>(1, st.comp_size) > limits_.maxRatio) {
        *error = QCoreApplication::translate("tuvo", "部件 %1 的压缩比异常,可能是压缩炸弹").arg(partName);
        return {};
    }

    zip_file_t *file = zip_fopen_index(zip_.get(), zip_uint64_t(index), 0);
    if (!file) {
        *error = QString::fromLocal8Bit(zip_strerror(zip_.get()));
        return {};
    }
    // The declared size may lie: read at most one byte past it and refuse the rest.
    QByteArray bytes(qsizetype(st.size), Qt::Uninitialized);
    qint64 got = 0;
    bool failed = false;
    while (got < qint64(st.size)) {
        const zip_int64_t n = zip_fread(file, bytes.data() + got, zip_uint64_t(qint64(st.size) - got));
        if (n < 0) {
            failed = true;
            break;
        }
        if (n == 0)
            break;
        got += n;
    }
    // Reading past the end also makes libzip check the CRC.
    char extra = 0;
    const zip_int64_t tail = failed ? 0 : zip_fread(file, &extra, 1);
    failed = failed || tail < 0;
    const bool longer = tail > 0;
    if (failed)
        *error = QCoreApplication::translate("tuvo", "部件 %1 已损坏: ").arg(partName)
            + QString::fromLocal8Bit(zip_file_strerror(file));
    zip_fclose(file);
    if (failed)
        return {};
    if (got != qint64(st.size) || longer) {
        *error = QCoreApplication::translate("tuvo", "部件 %1 的实际大小与声明不符").arg(partName);
        return {};
    }
    totalRead_ += got;
    return bytes;
}
