#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace exif {

// Checked reads over a whole file in the EXIF block's byte order. Positions are
// 64-bit so that an offset added to the TIFF start can never wrap around.
// Numbers are kept in signed 32-bit integers by the callers, so a 32-bit
// quantity with its top bit set counts as unreadable.
class TiffBytes {
public:
    TiffBytes(std::string_view bytes, bool littleEndian)
        : bytes_(bytes)
        , little_(littleEndian)
    {
    }

    bool has(std::uint64_t pos, std::uint64_t length) const
    {
        return pos <= bytes_.size() && length <= bytes_.size() - pos;
    }

    std::optional<std::uint8_t> u8(std::uint64_t pos) const
    {
        if (!has(pos, 1))
            return std::nullopt;
        return static_cast<std::uint8_t>(bytes_[pos]);
    }

    std::optional<std::uint32_t> u16(std::uint64_t pos) const
    {
        if (!has(pos, 2))
            return std::nullopt;
        return static_cast<std::uint32_t>(compose(pos, 2));
    }

    std::optional<std::uint32_t> u32(std::uint64_t pos) const
    {
        if (!has(pos, 4))
            return std::nullopt;
        const std::uint64_t value = compose(pos, 4);
        if (value & 0x80000000u)
            return std::nullopt;
        return static_cast<std::uint32_t>(value);
    }

private:
    std::uint64_t compose(std::uint64_t pos, int width) const
    {
        std::uint64_t value = 0;
        for (int i = 0; i < width; ++i) {
            const int index = little_ ? width - 1 - i : i;
            value = (value << 8) | static_cast<std::uint8_t>(bytes_[pos + index]);
        }
        return value;
    }

    std::string_view bytes_;
    bool little_;
};

} // namespace exif
