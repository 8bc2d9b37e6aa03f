#pragma once

#include "player/Forward.h"
#include "player/SwfTypes.h"

#include <vector>

namespace swf
{

// Readers of the published SWF records shared by several tags.
Rect readRect(SwfStream& stream);
Matrix readMatrix(SwfStream& stream);
ColorTransform readColorTransform(SwfStream& stream, bool withAlpha);
Rgba readRgb(SwfStream& stream);
Rgba readRgba(SwfStream& stream);
// FILLSTYLEARRAY / LINESTYLEARRAY of the shape tag `code` (2, 22, 32), appended to `out`.
void readFillStyles(SwfStream& stream, int code, std::vector<FillStyle>& out);
void readLineStyles(SwfStream& stream, int code, std::vector<LineStyle>& out);

} // namespace swf
