#pragma once

#include "MovieModel.h"

#include <cstdint>
#include <vector>

class BitWriter;

// Encodes one shape item as the body of a DefineShape3 tag (after the
// character id): bounds, style arrays and shape records.
//
// Positions are rounded to whole twips once, absolutely, and edges are
// written as differences between those rounded positions, so every contour
// ends exactly where it began. Each contour's fill goes on the side of its
// edges where its inside is: for a contour that runs clockwise on screen
// (y down) the inside is on the right of travel (FillStyle1), and the sides
// swap for a hole (a contour inside an odd number of others, by even-odd).
class ShapeEncoder
{
  public:
    // Largest distance, in twips, allowed between a cubic and the quadratics
    // that replace it (0.05 px at the authoring size, 0.1 px at 2048x1536).
    static constexpr double CurveTolerance = 1.0;

    // Appends the encoded body; false when the item draws nothing.
    static bool Encode(const ShapeItem& item, std::vector<uint8_t>& body);

    // Fields shared with the movie writer.
    static void WriteRect(BitWriter& w, int xMin, int xMax, int yMin, int yMax);
    static void WriteMatrix(BitWriter& w, const Affine& m);
};
