#pragma once

// Maps the Windows Chinese font names a job may carry ("宋体", "黑体" and their
// relatives) to installed CJK families, so that watermark text in them renders
// instead of showing boxes. Call after the QGuiApplication exists, before any
// painting; only the first call does anything.
void installChineseFontSubstitutes();
