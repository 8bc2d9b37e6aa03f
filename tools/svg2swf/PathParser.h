#pragma once

#include "Outline.h"

#include <string>
#include <string_view>

// Reads SVG path data (the "d" attribute) into an outline in user units.
// Parsing stops at the first error, as SVG renderers do: what was read before
// it is kept, and the error is described in error.
Outline ParsePathData(std::string_view d, std::string* error = nullptr);
