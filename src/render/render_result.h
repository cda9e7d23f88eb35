#pragma once

#include <QByteArray>
#include <QImage>
#include <QRectF>
#include <QStringList>

// Where the decoration step put the watermarks, in work-surface pixels, and the
// position fractions it recorded for presets 0-4 (the caller stores them back
// into JobSettings, so that switching to "自定义" keeps the place).
struct MarkPlacement {
    bool textDrawn = false;
    QRectF textBox; // top-left corner and measured size of the drawn text
    double iuTSyX = 0; // recorded corner fractions (valid when textDrawn)
    double iuTSyY = 0;

    bool pictureDrawn = false;
    QRectF pictureBox; // the drawn watermark rectangle
    double iuISyX = 0; // recorded centre fractions (valid when pictureDrawn)
    double iuISyY = 0;
    float sngMarkW = 0; // drawn watermark size
    float sngMarkH = 0;
};

// What the pipeline made of one picture: the finished work surface (RGB32, output
// size) or a null image, and the error lines it produced (each ending in CR LF).
struct RenderResult {
    QImage surface;
    QStringList errorLines;
    MarkPlacement marks;
    QByteArray iccProfile; // the profile the surface is in and the output embeds; empty: sRGB

    bool ok() const { return !surface.isNull(); }
    // Only a picture that went through every step without an error line is written.
    bool writable() const { return ok() && errorLines.isEmpty(); }
};
