#pragma once

#include "imaging/picture_loader.h"

#include <QSize>
#include <QString>

// Where the draw step gets its source pictures: straight from the files (the
// batch run) or from a cache that keeps them decoded (the preview). Both calls
// may come from several threads at once.
class PictureSource {
public:
    virtual ~PictureSource() = default;
    // The picture's own pixel size, or an invalid size and *error.
    virtual QSize probe(const QString &path, QString *error) = 0;
    // The picture decoded at no less than minimumSize (see loadPicture).
    virtual LoadedPicture load(const QString &path, QSize minimumSize) = 0;
};

// Reads every picture from its file; holds nothing.
class FilePictureSource final : public PictureSource {
public:
    QSize probe(const QString &path, QString *error) override { return probePictureSize(path, error); }
    LoadedPicture load(const QString &path, QSize minimumSize) override
    {
        return loadPicture(path, minimumSize);
    }
};
