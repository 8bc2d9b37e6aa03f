#pragma once
// A DefineEditText character: the record a text field is made from (bounds,
// flags, font, colour, layout values, variable name and initial text).

#include "player/CharacterDefinition.h"
#include "player/TextLayout.h"

#include <cstdint>
#include <string>

namespace swf
{

class EditTextDefinition : public CharacterDefinition
{
  public:
    // The sixteen flags in the order the record stores them (first bit read
    // is the highest).
    enum Flag : std::uint16_t
    {
        HasText = 0x8000,
        WordWrap = 0x4000,
        Multiline = 0x2000,
        Password = 0x1000,
        ReadOnly = 0x0800,
        HasColour = 0x0400,
        HasMaxLength = 0x0200,
        HasFont = 0x0100,
        AutoSize = 0x0040,
        HasLayout = 0x0020,
        NoSelect = 0x0010,
        Border = 0x0008,
        Html = 0x0002,
        UseOutlines = 0x0001,
    };

    // Reads the tag after the character id; the font is taken from `owner`.
    // False when the record is cut by the end of the tag.
    [[nodiscard]] bool read(SwfStream& stream, TimelineDefinition& owner);

    [[nodiscard]] Ref<DisplayObject> createDisplayObject(SpriteInstance* parent, int id) override;
    Rect bounds() const override { return fieldBounds; }
    const char* kindName() const override { return "edittext"; }

    std::uint16_t flags() const { return fieldFlags; }
    bool hasFlag(Flag flag) const { return (fieldFlags & flag) != 0; }
    int fontId() const { return fieldFontId; }
    // The movie's font of that id when the record was read (null without one).
    const Font* font() const;
    float textHeight() const { return height; }
    const Rgba& colour() const { return textColour; }
    int maxLength() const { return maximumLength; }
    int alignment() const { return align; }
    float leftMargin() const { return marginLeft; }
    float rightMargin() const { return marginRight; }
    float indent() const { return firstIndent; }
    float leading() const { return lineLeading; }
    const std::string& variableName() const { return variable; }
    const std::string& initialText() const { return initial; }

    // What the layout of a field of this record needs.
    TextLayoutStyle layoutStyle() const;

  private:
    Rect fieldBounds;
    std::uint16_t fieldFlags = 0;
    int fieldFontId = -1;
    Ref<Resource> fieldFont;
    float height = 0.0f;
    Rgba textColour{0, 0, 0, 255};
    int maximumLength = 0;
    int align = 0;
    float marginLeft = 0.0f;
    float marginRight = 0.0f;
    float firstIndent = 0.0f;
    float lineLeading = 0.0f;
    std::string variable;
    std::string initial;
};

} // namespace swf
