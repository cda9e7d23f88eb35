#pragma once

#include <QSize>

// What a HEIF or AVIF file says its images decode to, read from its boxes
// without decoding anything: every item's ispe and every grid's or overlay's
// output size. A grid may declare a small ispe and still compose a huge
// picture from its tiles; libheif allocates that picture before it looks.
struct HeifDeclaredSizes {
    QSize largest; // the declared size of largest area; 0 x 0 when none is declared
};

HeifDeclaredSizes readHeifDeclaredSizes(const uchar *data, qint64 size);
