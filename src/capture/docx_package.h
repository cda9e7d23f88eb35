#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

struct zip;

// Read access to the parts of an Office Open XML package (a .docx is a zip file).
// Nothing read from the package is trusted: the number of entries, each entry's
// declared and real size, the compression ratio and the total read are all capped,
// so a crafted file cannot make the import allocate or inflate without bound.
class DocxPackage {
public:
    struct Limits {
        int maxEntries = 20000;
        qint64 maxPartBytes = qint64(256) * 1024 * 1024; // one picture
        qint64 maxXmlBytes = qint64(64) * 1024 * 1024; // one XML part
        qint64 maxTotalBytes = qint64(1024) * 1024 * 1024; // everything read from one package
        // Above this many bytes an entry may not inflate more than maxRatio times.
        qint64 ratioCheckFrom = qint64(16) * 1024 * 1024;
        qint64 maxRatio = 1000;
    };

    explicit DocxPackage(const Limits &limits);
    DocxPackage();
    ~DocxPackage();
    DocxPackage(const DocxPackage &) = delete;
    DocxPackage &operator=(const DocxPackage &) = delete;

    bool open(const QString &path, QString *error);
    bool contains(const QString &partName) const;
    // The bytes of partName (no leading slash), at most maxBytes of them (and never
    // more than the limits allow); empty with *error when refused or unreadable.
    QByteArray read(const QString &partName, qint64 maxBytes, QString *error);
    QByteArray readXml(const QString &partName, QString *error)
    {
        return read(partName, limits_.maxXmlBytes, error);
    }
    QByteArray readPart(const QString &partName, QString *error)
    {
        return read(partName, limits_.maxPartBytes, error);
    }

private:
    struct Closer {
        void operator()(zip *archive) const;
    };

    Limits limits_;
    std::unique_ptr<zip, Closer> zip_;
    qint64 totalRead_ = 0;
};
