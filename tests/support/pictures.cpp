#include "support/pictures.h"

QImage noisyPicture(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    quint32 state = quint32(w) * 2654435761u;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            state = state * 1664525u + 1013904223u;
            image.setPixel(x, y, 0xff000000u | (state >> 8));
        }
    }
    return image;
}
