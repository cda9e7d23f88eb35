#pragma once

#include <QImage>

// A w x h picture of pseudo-random pixels, the same for the same size: detail
// everywhere, so that no step can pass it through by chance.
QImage noisyPicture(int w, int h);
