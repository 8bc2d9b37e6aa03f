#pragma once

#include "Outline.h"

#include <memory>
#include <string>

// Lays out a line of text in the game font and returns the glyph outlines,
// read through FreeType unhinted at the font's design resolution, so the
// lettering in pictures matches the game's own text at every size.
class GlyphOutliner
{
  public:
    GlyphOutliner();
    ~GlyphOutliner();
    GlyphOutliner(const GlyphOutliner&) = delete;
    GlyphOutliner& operator=(const GlyphOutliner&) = delete;

    [[nodiscard]] bool Load(const std::string& fontPath, std::string& error);
    bool Loaded() const;

    // Outlines of text (UTF-8) at fontSize user units per em, the pen starting
    // at (0, 0) on the baseline, y down; advance receives the pen's travel.
    // letterSpacing is added after every character. Characters the font lacks
    // draw its missing-glyph outline.
    Outline Layout(const std::string& text, double fontSize, double letterSpacing, double& advance) const;

  private:
    struct Face;
    std::unique_ptr<Face> face;
};
