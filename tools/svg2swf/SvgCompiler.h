#pragma once

#include "Geometry.h"
#include "MovieModel.h"

#include <map>
#include <string>
#include <vector>

class GlyphOutliner;
struct XmlElement;

// Turns a picture source (the SVG subset described in assets/README.md) into
// a movie model: every drawing element becomes one shape in twips, in
// document order; root groups marked data-frame become the frames.
class SvgCompiler
{
  public:
    // font may be null when the pictures hold no text.
    explicit SvgCompiler(const GlyphOutliner* font) : font(font) {}

    [[nodiscard]] bool Compile(const std::string& source, Movie& movie, std::string& error);
    // Things the compiler ignored, one line each.
    const std::vector<std::string>& Warnings() const { return warnings; }

  private:
    struct Style
    {
        std::string fill = "black";
        std::string stroke = "none";
        double fillOpacity = 1;
        double strokeOpacity = 1;
        double strokeWidth = 1;
        double opacity = 1; // product of the opacities down the tree
        double fontSize = 16;
        std::string textAnchor = "start";
        double letterSpacing = 0;
        Rgba colour; // currentColor
        bool visible = true;
    };

    void Walk(const XmlElement& e, const Affine& ctm, const Style& inherited, std::vector<ShapeItem>& out, int depth);
    Style ApplyStyle(const XmlElement& e, const Style& inherited);
    void EmitOutline(const XmlElement& e, const Outline& local, const Style& style, const Affine& ctm,
                     std::vector<ShapeItem>& out, bool fillable);
    void EmitText(const XmlElement& e, const Style& style, const Affine& ctm, std::vector<ShapeItem>& out);
    void EmitUse(const XmlElement& e, const Affine& ctm, const Style& style, std::vector<ShapeItem>& out, int depth);
    [[nodiscard]] Paint ResolvePaint(const std::string& paintValue, double alpha, const Style& style,
                                     const Outline& local, const Affine& ctm);
    [[nodiscard]] Paint ResolveGradient(const XmlElement& gradient, double alpha, const Outline& local,
                                        const Affine& ctm);
    void Warn(const XmlElement& e, const std::string& what);
    void IndexIds(const XmlElement& e);
    double NumberAttribute(const XmlElement& e, const char* name, double fallback);

    const GlyphOutliner* font;
    std::map<std::string, const XmlElement*> ids;
    std::vector<std::string> warnings;
    std::vector<std::string> activeUses; // ids being instantiated, against cycles
    double viewportWidth = 0;
    double viewportHeight = 0;
    bool textWithoutFont = false;
    double frameWidthTwips = 0;
    double frameHeightTwips = 0;
};
