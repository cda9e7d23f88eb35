#include "core/effect_presets.h"

#include <array>
#include <cctype>

namespace {

struct PresetText {
    std::string_view caption;
    std::string_view name;
};

constexpr std::array<PresetText, kEffectPresetCount> kPresets {{
    {"一键美容", "beauty"}, {"棱角分明", "sharpen"}, {"暖黄记忆", "flame"}, {"华贵绛紫", "purple"},
    {"棕褐怀旧", "brown"}, {"夜色朦胧", "night"}, {"陈旧往事", "spooky"}, {"扫描线", "scanlines"},
    {"浮雕", "emboss"}, {"灰度", "grey"}, {"黑白", "mono"}, {"底片", "invert"},
    {"BR_NotShow", ""}, // the brightness slider's entry, not shown in the menu
}};

bool sameLetters(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

} // namespace

std::string_view effectPresetCaption(int index)
{
    return index >= 0 && index < kEffectPresetCount ? kPresets[index].caption : std::string_view();
}

std::string_view effectPresetName(int index)
{
    return index >= 0 && index < kNamedEffectPresets ? kPresets[index].name : std::string_view();
}

std::optional<int> effectPresetByName(std::string_view name)
{
    for (int i = 0; i < kNamedEffectPresets; ++i) {
        if (sameLetters(name, kPresets[i].name) || name == kPresets[i].caption)
            return i;
    }
    return std::nullopt;
}

bool effectPresetChangesPicture(int index, std::int16_t brightness)
{
    if (index == kNamedEffectPresets)
        return brightness != 0;
    return index >= 0 && index < kNamedEffectPresets;
}

void runEffectPreset(int index, std::int16_t brightness, CDIB &buffer)
{
    switch (index) {
    case 0:
        buffer.FastBlur();
        break;
    case 1:
        buffer.Sharpen();
        break;
    case 2:
        buffer.Flame();
        break;
    case 3:
        buffer.PurpleStain();
        break;
    case 4:
        buffer.Brown();
        break;
    case 5:
        buffer.NightShade();
        break;
    case 6:
        buffer.Spooky();
        break;
    case 7:
        buffer.ScanLines(50);
        break;
    case 8:
        buffer.MakeEmboss(100, false, EmbossTone::Colour);
        break;
    case 9:
        buffer.Greyscale();
        break;
    case 10:
        buffer.Monochrome(128);
        break;
    case 11:
        buffer.InvertColors();
        break;
    case 12:
        buffer.Brightness(brightness);
        break;
    default:
        break;
    }
}

void ApplyEffectPreset(int index, std::int16_t brightness, MutableRgb32View picture, CDIB &work)
{
    if (!effectPresetChangesPicture(index, brightness) || picture.isEmpty())
        return;
    // The work buffer always has the picture's own size, so cloning straight
    // into it gives the same bytes as going through a separate source buffer.
    work.Clone(Rgb32View {picture.bits, picture.width, picture.height, picture.pixelsPerLine}, true);
    if (!work.hasSurface())
        return;
    runEffectPreset(index, brightness, work);
    work.PaintTo(picture, 0, 0);
}
