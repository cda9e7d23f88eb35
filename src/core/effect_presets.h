#pragma once

#include "core/cdib.h"
#include "core/pixel_rows.h"

#include <cstdint>
#include <optional>
#include <string_view>

// The effect menu: twelve named presets (0-11) and the brightness preset (12),
// which takes the brightness slider's value.
constexpr int kNamedEffectPresets = 12;
constexpr int kEffectPresetCount = 13;

// Menu caption of preset index (UTF-8); empty outside 0-12.
std::string_view effectPresetCaption(int index);
// Command-line name of preset index 0-11; empty otherwise.
std::string_view effectPresetName(int index);
// Preset 0-11 by command-line name (case-insensitive) or menu caption.
std::optional<int> effectPresetByName(std::string_view name);

// Whether preset index with this brightness changes any byte. Indices outside
// 0-12 and brightness 0 pass the picture through.
bool effectPresetChangesPicture(int index, std::int16_t brightness);

// Runs the operation of preset index on the buffer.
void runEffectPreset(int index, std::int16_t brightness, CDIB &buffer);

// Applies preset index to the picture in place: the picture goes through the
// 24-bit buffer work (re-created at the picture's size), is processed there
// and painted back, so the effects see the buffer's padded bottom-up layout.
void ApplyEffectPreset(int index, std::int16_t brightness, MutableRgb32View picture, CDIB &work);
