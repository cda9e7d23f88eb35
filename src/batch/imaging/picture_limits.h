#pragma once

#include <QSize>
#include <QString>

// Pictures whose decoded pixels would need more memory than this are refused
// before anything large is allocated. The default suits 100-megapixel photos.
constexpr qint64 kDefaultPictureMemoryLimit = qint64(1024) * 1024 * 1024;

void setPictureMemoryLimit(qint64 bytes);
qint64 pictureMemoryLimit();

// True when a decoded picture of size fits the limit; otherwise *error says why.
bool pictureFitsLimit(QSize size, QString *error = nullptr);
