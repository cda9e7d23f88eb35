#pragma once

#include <QSize>
#include <QString>

// Pictures whose decoded pixels would need more memory than this are refused
// before anything large is allocated. The default suits 100-megapixel photos.
constexpr qint64 kDefaultPictureMemoryLimit = qint64(1024) * 1024 * 1024;

// A limit set here (tuvo-cli --max-memory) bounds the whole run, not one buffer:
// see takePictureMemory.
void setPictureMemoryLimit(qint64 bytes);
qint64 pictureMemoryLimit();

// True when a decoded picture of size fits the limit; otherwise *error says why.
bool pictureFitsLimit(QSize size, QString *error = nullptr);

// Takes what the picture this thread works on will need, from decoding to the
// written file, out of the run's budget, waiting while other pictures hold it.
// False with *error = refusal when the picture alone needs more than the set limit. Without a set limit, or
// outside a PictureMemoryScope (the preview), nothing is counted or waited for.
bool takePictureMemory(qint64 bytes, const QString &refusal, QString *error);
// The refusals: a picture too large, or metadata blocks too large, for the limit.
QString pictureTooLarge(QSize size);
QString metadataTooLarge(qint64 bytes);
// Whether takePictureMemory counts on this thread: worth working out a need.
bool pictureMemoryCounted();

// One picture of a run on this thread: what it took goes back at the end.
class PictureMemoryScope {
public:
    PictureMemoryScope();
    ~PictureMemoryScope();
    PictureMemoryScope(const PictureMemoryScope &) = delete;
    PictureMemoryScope &operator=(const PictureMemoryScope &) = delete;
};
