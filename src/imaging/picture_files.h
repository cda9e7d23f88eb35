#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// A picture is recognised by its name: .jpg .jpeg .bmp .gif .png .tif .tiff,
// .heic .heif .avif, the camera RAW names (rawExtensions()), and .webp when the
// installed image plugins read it. Letter case does not matter.
bool isPictureFileName(const QString &name);

// The pictures of a folder (and its sub-folders when recursive) in name order,
// case-insensitive, sub-folders after the folder's own files. progress, when
// given, is called now and then with the number found so far.
QStringList scanPictureFolder(
    const QString &folder, bool recursive, const std::function<void(int found)> &progress = {});
