#include "imaging/resample.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <numbers>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__)
#include <immintrin.h>
#define TUVO_HAVE_AVX2 1
#endif

namespace {

constexpr int kLobes = 3;
constexpr int kWeightBits = 14;
constexpr int kOne = 1 << kWeightBits;

double lanczos(double x)
{
    x = std::abs(x);
    if (x < 1e-9)
        return 1.0;
    if (x >= kLobes)
        return 0.0;
    const double px = std::numbers::pi * x;
    return kLobes * std::sin(px) * std::sin(px / kLobes) / (px * px);
}

// For every output position: the first source position and the fixed-point
// weights of the source positions from there on.
struct Taps {
    int count = 0; // taps per output position
    std::vector<int> first; // per output position, in source pixels
    std::vector<int16_t> weights; // count per output position, summing to kOne
};

Taps makeTaps(int sourceStart, int sourceLength, int sourceLimit, int outLength)
{
    const double ratio = double(sourceLength) / outLength;
    const double widen = std::max(1.0, ratio);
    const double support = kLobes * widen;
    Taps taps;
    taps.count = std::min(int(std::ceil(support)) * 2 + 1, sourceLimit);
    taps.first.resize(size_t(outLength));
    taps.weights.assign(size_t(outLength) * size_t(taps.count), 0);
    std::vector<double> w(static_cast<size_t>(taps.count));
    for (int o = 0; o < outLength; ++o) {
        const double centre = sourceStart + (o + 0.5) * ratio - 0.5;
        // Keep the window inside the picture; edge pixels take the weight of the
        // positions beyond them.
        int lo = int(std::floor(centre - support)) + 1;
        lo = std::clamp(lo, 0, std::max(0, sourceLimit - taps.count));
        std::fill(w.begin(), w.end(), 0.0);
        double sum = 0;
        for (int s = int(std::floor(centre - support)) + 1; s <= int(std::ceil(centre + support)); ++s) {
            const double v = lanczos((s - centre) / widen);
            if (v == 0.0)
                continue;
            const int at = std::clamp(std::clamp(s, 0, sourceLimit - 1) - lo, 0, taps.count - 1);
            w[size_t(at)] += v;
            sum += v;
        }
        if (sum == 0) {
            w[size_t(std::clamp(int(std::lround(centre)) - lo, 0, taps.count - 1))] = 1;
            sum = 1;
        }
        int16_t *dst = &taps.weights[size_t(o) * size_t(taps.count)];
        int total = 0;
        int biggest = 0;
        for (int k = 0; k < taps.count; ++k) {
            dst[k] = int16_t(std::lround(w[size_t(k)] / sum * kOne));
            total += dst[k];
            if (dst[k] > dst[biggest])
                biggest = k;
        }
        dst[biggest] = int16_t(dst[biggest] + (kOne - total)); // flat areas stay exactly flat
        taps.first[size_t(o)] = lo;
    }
    return taps;
}

inline uint8_t clampByte(int32_t v)
{
    v = (v + (kOne >> 1)) >> kWeightBits;
    return uint8_t(v < 0 ? 0 : v > 255 ? 255 : v);
}

// Premultiplied colour never exceeds its alpha; ringing could push it over.
void clampToAlpha(QImage &image)
{
    for (int y = 0; y < image.height(); ++y) {
        auto *p = reinterpret_cast<uint8_t *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x, p += 4) {
            p[0] = std::min(p[0], p[3]);
            p[1] = std::min(p[1], p[3]);
            p[2] = std::min(p[2], p[3]);
        }
    }
}

// One output pixel of the horizontal pass: taps along the row, four channels.
inline void horizontalPixel(const uint8_t *s, const int16_t *w, int n, uint8_t *dst)
{
#if defined(__SSE2__)
    // Two taps per step: the channels of two neighbours side by side, multiplied
    // and summed pairwise by one madd.
    __m128i acc = _mm_set1_epi32(kOne >> 1);
    const __m128i zero = _mm_setzero_si128();
    int k = 0;
    for (; k + 1 < n; k += 2, s += 8) {
        const __m128i two = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i *>(s)), zero);
        const __m128i paired = _mm_unpacklo_epi16(two, _mm_srli_si128(two, 8));
        const __m128i weights = _mm_set1_epi32(int32_t(uint16_t(w[k])) | (int32_t(w[k + 1]) << 16));
        acc = _mm_add_epi32(acc, _mm_madd_epi16(paired, weights));
    }
    if (k < n) {
        int32_t one;
        memcpy(&one, s, 4);
        const __m128i pixel = _mm_unpacklo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(one), zero), zero);
        acc = _mm_add_epi32(acc, _mm_madd_epi16(pixel, _mm_set1_epi32(int32_t(uint16_t(w[k])))));
    }
    acc = _mm_srai_epi32(acc, kWeightBits);
    const __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(acc, acc), zero);
    const int32_t out = _mm_cvtsi128_si32(bytes);
    memcpy(dst, &out, 4);
#else
    int32_t a0 = 0, a1 = 0, a2 = 0, a3 = 0;
    for (int k = 0; k < n; ++k, s += 4) {
        a0 += w[k] * s[0];
        a1 += w[k] * s[1];
        a2 += w[k] * s[2];
        a3 += w[k] * s[3];
    }
    dst[0] = clampByte(a0);
    dst[1] = clampByte(a1);
    dst[2] = clampByte(a2);
    dst[3] = clampByte(a3);
#endif
}

// in's columns start at picture column `left`; taps are in picture columns.
void horizontal(const QImage &in, int left, const Taps &taps, QImage &out)
{
    const int n = taps.count;
    const int width = out.width();
    for (int y = 0; y < out.height(); ++y) {
        const uint8_t *src = in.constScanLine(y);
        uint8_t *dst = out.scanLine(y);
        for (int x = 0; x < width; ++x) {
            horizontalPixel(src + (taps.first[size_t(x)] - left) * 4, &taps.weights[size_t(x) * size_t(n)], n,
                dst + x * 4);
        }
    }
}

// One output row of the vertical pass: bytes of the rows rows[0..n) weighted by w.
// Bytes [from, bytes) of the row; the wide path hands its remainder on from.
void verticalRow(const uint8_t *const *rows, const int16_t *w, int n, int bytes, uint8_t *dst, int from = 0)
{
    int i = from;
#if defined(__SSE2__)
    // Sixteen bytes at a time; two source rows per madd, as in the horizontal pass.
    const __m128i zero = _mm_setzero_si128();
    for (; i + 16 <= bytes; i += 16) {
        __m128i a0 = _mm_set1_epi32(kOne >> 1);
        __m128i a1 = a0, a2 = a0, a3 = a0;
        for (int k = 0; k < n; k += 2) {
            const bool pair = k + 1 < n;
            const __m128i r0 = _mm_loadu_si128(reinterpret_cast<const __m128i *>(rows[k] + i));
            const __m128i r1
                = pair ? _mm_loadu_si128(reinterpret_cast<const __m128i *>(rows[k + 1] + i)) : zero;
            const __m128i wp
                = _mm_set1_epi32(int32_t(uint16_t(w[k])) | (pair ? int32_t(w[k + 1]) * 65536 : 0));
            const __m128i lo0 = _mm_unpacklo_epi8(r0, zero), lo1 = _mm_unpacklo_epi8(r1, zero);
            const __m128i hi0 = _mm_unpackhi_epi8(r0, zero), hi1 = _mm_unpackhi_epi8(r1, zero);
            a0 = _mm_add_epi32(a0, _mm_madd_epi16(_mm_unpacklo_epi16(lo0, lo1), wp));
            a1 = _mm_add_epi32(a1, _mm_madd_epi16(_mm_unpackhi_epi16(lo0, lo1), wp));
            a2 = _mm_add_epi32(a2, _mm_madd_epi16(_mm_unpacklo_epi16(hi0, hi1), wp));
            a3 = _mm_add_epi32(a3, _mm_madd_epi16(_mm_unpackhi_epi16(hi0, hi1), wp));
        }
        const __m128i lo = _mm_packs_epi32(_mm_srai_epi32(a0, kWeightBits), _mm_srai_epi32(a1, kWeightBits));
        const __m128i hi = _mm_packs_epi32(_mm_srai_epi32(a2, kWeightBits), _mm_srai_epi32(a3, kWeightBits));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(dst + i), _mm_packus_epi16(lo, hi));
    }
#endif
    for (; i < bytes; ++i) {
        int32_t a = 0;
        for (int k = 0; k < n; ++k)
            a += w[k] * rows[k][i];
        dst[i] = clampByte(a);
    }
}

// Columns [left, right) of in, rows by the taps, into out (right - left wide).
void vertical(const QImage &in, int left, int right, const Taps &taps, QImage &out,
    void (*row)(const uint8_t *const *, const int16_t *, int, int, uint8_t *))
{
    const int n = taps.count;
    std::vector<const uint8_t *> rows(static_cast<size_t>(n));
    for (int y = 0; y < out.height(); ++y) {
        const int first = taps.first[size_t(y)];
        for (int k = 0; k < n; ++k)
            rows[size_t(k)] = in.constScanLine(first + k) + left * 4;
        row(rows.data(), &taps.weights[size_t(y) * size_t(n)], n, (right - left) * 4, out.scanLine(y));
    }
}

void verticalRowSse2(const uint8_t *const *rows, const int16_t *w, int n, int bytes, uint8_t *dst)
{
    verticalRow(rows, w, n, bytes, dst);
}

#if TUVO_HAVE_AVX2
// The same sums as the SSE2 passes, twice as wide; integer arithmetic, so the
// bytes come out identical.
__attribute__((target("avx2"))) void horizontalAvx2(const QImage &in, int left, const Taps &taps, QImage &out)
{
    const int n = taps.count;
    const int width = out.width();
    const __m256i zero = _mm256_setzero_si256();
    // Every row uses the same weights: paired and spread over the lanes once.
    const int quads = n / 4;
    std::vector<int32_t> weights(size_t(width) * size_t(quads) * 8);
    const auto pair = [](const int16_t *w) {
        return int32_t(uint16_t(w[0])) | (int32_t(w[1]) << 16);
    };
    for (int x = 0; x < width; ++x) {
        const int16_t *w = &taps.weights[size_t(x) * size_t(n)];
        for (int q = 0; q < quads; ++q) {
            const int32_t lo = pair(w + 4 * q);
            const int32_t hi = pair(w + 4 * q + 2);
            int32_t *lanes = &weights[(size_t(x) * size_t(quads) + size_t(q)) * 8];
            std::fill(lanes, lanes + 4, lo);
            std::fill(lanes + 4, lanes + 8, hi);
        }
    }
    for (int y = 0; y < out.height(); ++y) {
        const uint8_t *src = in.constScanLine(y);
        uint8_t *dst = out.scanLine(y);
        for (int x = 0; x < width; ++x) {
            const uint8_t *s = src + (taps.first[size_t(x)] - left) * 4;
            const int16_t *w = &taps.weights[size_t(x) * size_t(n)];
            // Four taps a step: taps k, k+1 paired in the low lane, k+2, k+3 in the high one.
            const int32_t *wide = weights.data() + size_t(x) * size_t(quads) * 8;
            __m256i acc = zero;
            int k = 0;
            for (; k + 3 < n; k += 4, s += 16, wide += 8) {
                const __m256i four
                    = _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i *>(s)));
                const __m256i paired = _mm256_unpacklo_epi16(four, _mm256_srli_si256(four, 8));
                acc = _mm256_add_epi32(acc,
                    _mm256_madd_epi16(paired, _mm256_loadu_si256(reinterpret_cast<const __m256i *>(wide))));
            }
            __m128i sum = _mm_add_epi32(_mm256_castsi256_si128(acc), _mm256_extracti128_si256(acc, 1));
            sum = _mm_add_epi32(sum, _mm_set1_epi32(kOne >> 1));
            const __m128i zero128 = _mm_setzero_si128();
            for (; k + 1 < n; k += 2, s += 8) {
                const __m128i two
                    = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i *>(s)), zero128);
                const __m128i paired = _mm_unpacklo_epi16(two, _mm_srli_si128(two, 8));
                const __m128i weights = _mm_set1_epi32(int32_t(uint16_t(w[k])) | (int32_t(w[k + 1]) << 16));
                sum = _mm_add_epi32(sum, _mm_madd_epi16(paired, weights));
            }
            if (k < n) {
                int32_t one;
                memcpy(&one, s, 4);
                const __m128i pixel
                    = _mm_unpacklo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(one), zero128), zero128);
                sum = _mm_add_epi32(sum, _mm_madd_epi16(pixel, _mm_set1_epi32(int32_t(uint16_t(w[k])))));
            }
            sum = _mm_srai_epi32(sum, kWeightBits);
            const int32_t bytes = _mm_cvtsi128_si32(_mm_packus_epi16(_mm_packs_epi32(sum, sum), zero128));
            memcpy(dst + x * 4, &bytes, 4);
        }
    }
}

__attribute__((target("avx2"))) void verticalRowAvx2(
    const uint8_t *const *rows, const int16_t *w, int n, int bytes, uint8_t *dst)
{
    const __m256i zero = _mm256_setzero_si256();
    int i = 0;
    for (; i + 32 <= bytes; i += 32) {
        __m256i a0 = _mm256_set1_epi32(kOne >> 1);
        __m256i a1 = a0, a2 = a0, a3 = a0;
        for (int k = 0; k < n; k += 2) {
            const bool pair = k + 1 < n;
            const __m256i r0 = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(rows[k] + i));
            const __m256i r1
                = pair ? _mm256_loadu_si256(reinterpret_cast<const __m256i *>(rows[k + 1] + i)) : zero;
            const __m256i wp
                = _mm256_set1_epi32(int32_t(uint16_t(w[k])) | (pair ? int32_t(w[k + 1]) * 65536 : 0));
            const __m256i lo0 = _mm256_unpacklo_epi8(r0, zero), lo1 = _mm256_unpacklo_epi8(r1, zero);
            const __m256i hi0 = _mm256_unpackhi_epi8(r0, zero), hi1 = _mm256_unpackhi_epi8(r1, zero);
            a0 = _mm256_add_epi32(a0, _mm256_madd_epi16(_mm256_unpacklo_epi16(lo0, lo1), wp));
            a1 = _mm256_add_epi32(a1, _mm256_madd_epi16(_mm256_unpackhi_epi16(lo0, lo1), wp));
            a2 = _mm256_add_epi32(a2, _mm256_madd_epi16(_mm256_unpacklo_epi16(hi0, hi1), wp));
            a3 = _mm256_add_epi32(a3, _mm256_madd_epi16(_mm256_unpackhi_epi16(hi0, hi1), wp));
        }
        // Unpacking and packing both stay within 128-bit lanes, so the order comes back.
        const __m256i lo
            = _mm256_packs_epi32(_mm256_srai_epi32(a0, kWeightBits), _mm256_srai_epi32(a1, kWeightBits));
        const __m256i hi
            = _mm256_packs_epi32(_mm256_srai_epi32(a2, kWeightBits), _mm256_srai_epi32(a3, kWeightBits));
        _mm256_storeu_si256(reinterpret_cast<__m256i *>(dst + i), _mm256_packus_epi16(lo, hi));
    }
    verticalRow(rows, w, n, bytes, dst, i);
}
#endif

bool avx2Available()
{
#if TUVO_HAVE_AVX2
    // TUVO_NO_AVX2 measures the older path on the same machine.
    static const bool available = __builtin_cpu_supports("avx2") && !std::getenv("TUVO_NO_AVX2");
    return available;
#else
    return false;
#endif
}

} // namespace

bool resampleHasWidePath()
{
    return avx2Available();
}

QImage resampleLanczos(const QImage &picture, const QRect &source, QSize size)
{
    return resampleLanczos(picture, source, size, avx2Available());
}

QImage resampleLanczos(const QImage &picture, const QRect &source, QSize size, bool wide)
{
    wide = wide && avx2Available();
    const QRect src = source.intersected(picture.rect());
    if (src.isEmpty() || size.isEmpty())
        return QImage();
    const bool alpha = picture.hasAlphaChannel();
    const QImage::Format format = alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    const QImage in = picture.format() == format ? picture : picture.convertToFormat(format);

    // Vertical pass over the columns the horizontal pass will read, then the horizontal pass.
    const Taps hTaps = makeTaps(src.x(), src.width(), in.width(), size.width());
    const int left = hTaps.first.front();
    const int right = hTaps.first.back() + hTaps.count; // exclusive
    const Taps vTaps = makeTaps(src.y(), src.height(), in.height(), size.height());
    QImage tall(right - left, size.height(), format);
    QImage out(size, format);
    if (tall.isNull() || out.isNull())
        return QImage();
#if TUVO_HAVE_AVX2
    if (wide) {
        vertical(in, left, right, vTaps, tall, verticalRowAvx2);
        horizontalAvx2(tall, left, hTaps, out);
    } else
#endif
    {
        vertical(in, left, right, vTaps, tall, verticalRowSse2);
        horizontal(tall, left, hTaps, out);
    }
    if (alpha)
        clampToAlpha(out);
    return out;
}
