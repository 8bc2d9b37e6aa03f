#pragma once

#include "Geometry.h"
#include "MovieModel.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Readers for the values of picture attributes: colours, transforms, point
// lists and "style" declarations.

// "#rgb", "#rrggbb", "rgb(r, g, b)" (numbers or percentages) or a colour name;
// alpha 255. nullopt for anything else (including "none" and "url(...)").
[[nodiscard]] std::optional<Rgba> ParseColour(std::string_view text);

// A transform list ("translate(10 20) rotate(45 5 5) scale(2)"); nullopt
// when it is malformed (SVG then ignores the whole attribute).
[[nodiscard]] std::optional<Affine> ParseTransform(std::string_view text);

// The numbers of a "points" attribute, paired; an odd last number is dropped.
std::vector<Point> ParsePoints(std::string_view text);

// "key: value; key: value" into pairs, keys and values trimmed.
std::vector<std::pair<std::string, std::string>> ParseStyleDeclarations(std::string_view text);

// The id in "url(#id)" (quotes allowed), or empty.
std::string UrlReference(std::string_view text);

std::string Trim(std::string_view text);

// An opacity: a number or a percentage, clamped to 0..1.
[[nodiscard]] std::optional<double> ParseOpacity(const std::string& text);

// a times factor (clamped to 0..1), rounded.
uint8_t ScaleAlpha(uint8_t a, double factor);

// The colour a paint amounts to: its own, or the mean of a gradient's stops
// (for strokes, which cannot hold gradients in the movie format).
Rgba AverageColour(const Paint& p);
