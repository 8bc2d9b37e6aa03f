#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct RenderedSound;

// Encodes samples as an Ogg Vorbis file (variable bit rate at a quality from
// -0.1 to 1). The stream serial number is fixed, so the same sound always
// gives the same bytes.
[[nodiscard]] std::optional<std::vector<uint8_t>> EncodeOggVorbis(const RenderedSound& sound, double quality,
                                                                  const std::string& title, std::string& error);
