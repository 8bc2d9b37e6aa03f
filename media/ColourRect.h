#pragma once

#include "engine/Control.h"
#include "media/Colour.h"

class Bitmap;

// A control showing a rectangle of one colour (translucent colours blend),
// built like any picture: a bitmap shared through the BitmapCache.
class ColourRect : public Control
{
  public:
    ColourRect() = default;
    ~ColourRect() override;

    void SetColour(const Colour& value);
    [[nodiscard]] const Colour& GetColour() const { return colour; }
    [[nodiscard]] const Bitmap* GetBitmap() const { return bitmap; }

    void Release() override;
    bool Draw(Application& app) override;
    void Load() override;

    // The premultiplied pixel cairo paints for the colour.
    static uint32_t PremultipliedPixel(const Colour& colour);

  private:
    Colour colour;
    Bitmap* bitmap = nullptr; // one reference
};
