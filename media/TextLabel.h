#pragma once

#include <string>

#include "engine/Control.h"
#include "media/Colour.h"

class Bitmap;

// One line of text in a font file at a pixel size and colour, rendered into
// the label's own bitmap whenever text, font or colour change. The label's
// size is the rendered text's: its width follows the text, its height and
// baseline come from a fixed measuring string, so every label of one font and
// size has the same height. SetSize does nothing.
class TextLabel : public Control
{
  public:
    TextLabel() = default;
    ~TextLabel() override;

    void SetFont(const std::string& path, int size);
    // Always re-renders, even for the same text.
    void SetText(const std::string& value);
    [[nodiscard]] std::string GetText() const { return text; }
    void SetColour(const Colour& value);
    [[nodiscard]] const Colour& GetColour() const { return colour; }
    // A light band of this many pixels round every glyph, so that the text
    // reads over any picture. The label grows by the halo on every side: the
    // glyphs stand `pixels` right of and below the label's position. 0: none.
    void SetHalo(const Colour& value, int pixels);
    [[nodiscard]] int GetHalo() const { return haloPixels; }
    // Width the text would have in this label's font and size; the label's
    // current width when the font or the text is empty or the size below 1.
    [[nodiscard]] int MeasureText(const std::string& value) const;
    [[nodiscard]] const Bitmap* GetBitmap() const { return bitmap; }

    // Render first when something changed, so the size is always current.
    int GetWidth() const override;
    int GetHeight() const override;
    void SetSize(int w, int h) override;
    void Release() override;
    bool Draw(Application& app) override;
    void Load() override;

    // The text with every byte sequence that is not valid UTF-8 replaced by
    // '?', so that names read from the disk never blank a label.
    static std::string ValidUtf8(const std::string& value);

  private:
    void LoadIfNeeded();

    Colour colour{0, 0, 0, 255};
    Colour haloColour{255, 255, 255, 255};
    int haloPixels = 0;
    Bitmap* bitmap = nullptr; // the label's own (not entered in the cache)
    std::string fontPath;
    int fontSize = 0; // pixels per em
    std::string text;
};
