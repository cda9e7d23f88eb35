#pragma once

#include <QtGlobal>

// One marker segment of a JPEG file, before the first scan.
struct JpegSegment {
    uchar marker;
    const uchar *payload; // after the two length bytes
    qint64 size; // of the payload
    qint64 offset; // of the segment's FF byte in the file
};

// Calls visit(segment) for each marker segment from the start of the image up
// to the first scan, or until visit returns false. A length that runs past the
// file ends the walk.
template<typename Visit> void forEachJpegSegment(const uchar *data, qint64 size, Visit visit)
{
    qint64 pos = 2;
    while (pos + 4 <= size && data[pos] == 0xFF) {
        const uchar marker = data[pos + 1];
        if (marker == 0xFF) { // fill byte before a marker
            ++pos;
            continue;
        }
        if (marker == 0xDA || marker == 0xD9)
            return;
        const qint64 length = (qint64(data[pos + 2]) << 8) | data[pos + 3];
        if (length < 2 || pos + 2 + length > size)
            return;
        if (!visit(JpegSegment {marker, data + pos + 4, length - 2, pos}))
            return;
        pos += 2 + length;
    }
}
