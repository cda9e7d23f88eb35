#include "core/effect_presets.h"
#include "render/pipeline_steps.h"
#include "support/pictures.h"

#include <gtest/gtest.h>

namespace {

QImage withEffect(const QImage &picture, std::optional<int> effect, int brightness = 0)
{
    JobSettings job;
    job.iEffect = effect;
    job.iBrightness = brightness;
    QImage surface = picture;
    effectStep(job, surface);
    return surface;
}

} // namespace

TEST(EffectPresets, NamesAndCaptions)
{
    const char *names[] = {"beauty", "sharpen", "flame", "purple", "brown", "night", "spooky", "scanlines",
        "emboss", "grey", "mono", "invert"};
    for (int i = 0; i < kNamedEffectPresets; ++i) {
        EXPECT_EQ(effectPresetByName(names[i]), i);
        EXPECT_EQ(effectPresetName(i), names[i]);
        EXPECT_EQ(effectPresetByName(effectPresetCaption(i)), i);
    }
    EXPECT_EQ(effectPresetByName("一键美容"), 0);
    EXPECT_EQ(effectPresetByName("底片"), 11);
    EXPECT_EQ(effectPresetByName("Emboss"), 8);
    EXPECT_EQ(effectPresetCaption(12), "BR_NotShow");
    EXPECT_EQ(effectPresetByName("BR_NotShow"), std::nullopt);
    EXPECT_EQ(effectPresetByName("blur"), std::nullopt);
    EXPECT_EQ(effectPresetByName(""), std::nullopt);
}

TEST(EffectPresets, PassThroughCases)
{
    const QImage picture = noisyPicture(13, 5);
    EXPECT_EQ(withEffect(picture, std::nullopt), picture);
    EXPECT_EQ(withEffect(picture, kBrightnessPreset, 0), picture);
    EXPECT_EQ(withEffect(picture, 13), picture);
    EXPECT_EQ(withEffect(picture, -1), picture);
    // The slider's range bounds the amount.
    EXPECT_EQ(withEffect(picture, kBrightnessPreset, 500), withEffect(picture, kBrightnessPreset, 75));
}
