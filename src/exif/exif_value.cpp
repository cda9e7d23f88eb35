#include "exif/exif_value.h"

#include <algorithm>

namespace exif {

namespace {

enum TiffType : std::uint32_t {
    Byte = 1,
    Ascii = 2,
    Short = 3,
    Long = 4,
    Rational = 5,
    SByte = 6,
    Undefined = 7,
    SShort = 8,
    SLong = 9,
    SRational = 10,
};

int unitSize(std::uint32_t type)
{
    switch (type) {
    case Byte:
    case Ascii:
    case SByte:
    case Undefined:
        return 1;
    case Short:
    case SShort:
        return 2;
    case Long:
    case SLong:
        return 4;
    case Rational:
    case SRational:
        return 8;
    default:
        return 0;
    }
}

EntryValue integer(std::int64_t n)
{
    return {std::to_string(n), n};
}

// Values that fit into the entry's last four bytes. Numbers use only their own
// bytes: cameras leave non-zero padding behind a single SHORT or BYTE.
EntryValue decodeInline(const TiffBytes &bytes, std::uint64_t p, std::uint32_t type, std::uint64_t count)
{
    static const char hexDigits[] = "0123456789ABCDEF";
    EntryValue value;
    switch (type) {
    case Byte:
    case SByte:
        for (std::uint64_t i = 0; i < count; ++i) {
            const auto b = bytes.u8(p + i);
            if (!b)
                break;
            value.text += hexDigits[*b >> 4];
            value.text += hexDigits[*b & 0xF];
        }
        break;
    case Ascii:
    case Undefined:
        // All four bytes, padding zeros included.
        for (int i = 0; i < 4; ++i) {
            const auto b = bytes.u8(p + i);
            if (!b)
                break;
            value.text += static_cast<char>(*b);
        }
        break;
    case Short:
    case SShort: {
        // A count of 2 gives the sum of both halves; with a count of 1 the second half is padding.
        const auto first = bytes.u16(p);
        const auto second = count >= 2 ? bytes.u16(p + 2) : std::optional<std::uint32_t>(0);
        if (count >= 1 && first && second)
            value = integer(*first + *second);
        break;
    }
    case Long:
    case SLong:
        if (const auto n = bytes.u32(p))
            value = integer(*n);
        break;
    default: // rationals never fit
        break;
    }
    return value;
}

// Values in the value area at a; count is the number of values of the entry.
EntryValue decodeArea(
    const TiffBytes &bytes, std::uint64_t a, std::uint32_t type, std::uint64_t count, std::uint64_t byteLimit)
{
    EntryValue value;
    switch (type) {
    case Byte:
    case SByte:
        for (std::uint64_t i = 0; i < std::min(count, byteLimit); ++i) {
            const auto b = bytes.u8(a + i);
            if (!b)
                break;
            value.text += std::to_string(*b);
        }
        break;
    case Ascii:
        // Count bytes; many cameras store the text without its terminating zero,
        // so only trailing zeros are dropped, never the last character.
        for (std::uint64_t i = 0; i < std::min(count, byteLimit); ++i) {
            const auto b = bytes.u8(a + i);
            if (!b)
                break;
            value.text += static_cast<char>(*b);
        }
        while (!value.text.empty() && value.text.back() == '\0')
            value.text.pop_back();
        break;
    case Undefined:
        for (std::uint64_t i = 0; i + 1 < std::min(count, byteLimit + 1); ++i) {
            const auto b = bytes.u8(a + i);
            if (!b)
                break;
            value.text += static_cast<char>(*b);
        }
        break;
    case Short:
    case SShort:
    case Long:
    case SLong: {
        // Several integers: decimal, separated by spaces, as far as they can be read.
        const int unit = unitSize(type);
        for (std::uint64_t i = 0; i < std::min(count, byteLimit / unit); ++i) {
            const auto n = unit == 2 ? bytes.u16(a + i * unit) : bytes.u32(a + i * unit);
            if (!n)
                break;
            if (i > 0)
                value.text += ' ';
            value.text += std::to_string(*n);
        }
        break;
    }
    case Rational:
    case SRational: {
        // Only the first rational; a negative part cannot be formed and leaves the value empty.
        const auto numerator = bytes.u32(a);
        const auto denominator = bytes.u32(a + 4);
        if (numerator && denominator)
            value.text = std::to_string(*numerator) + "/" + std::to_string(*denominator);
        break;
    }
    default:
        break;
    }
    return value;
}

} // namespace

EntryValue decodeEntryValue(
    const TiffBytes &bytes, std::uint64_t tiffStart, std::uint64_t entryPos, std::uint64_t byteLimit)
{
    const auto type = bytes.u16(entryPos + 2);
    if (!type)
        return {};
    const int unit = unitSize(*type);
    if (unit == 0)
        return {};
    const std::uint64_t count = bytes.u32(entryPos + 4).value_or(0);
    if (count * unit <= 4)
        return decodeInline(bytes, entryPos + 8, *type, count);
    const auto offset = bytes.u32(entryPos + 8);
    if (!offset)
        return {};
    return decodeArea(bytes, tiffStart + *offset, *type, count, std::min(byteLimit, maxValueBytes));
}

} // namespace exif
