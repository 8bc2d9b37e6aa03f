#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "engine/Control.h"

// A control that fills its rectangle with one colour, a lighter one while the
// mouse is over it. A left click (press and release on it) or its hot key
// calls the click handler.
class SolidRect : public Control
{
  public:
    SolidRect() = default;

    // Straight (not premultiplied) colour; alpha 255 is opaque.
    void SetColour(uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255);
    void SetHoverColour(uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255);
    [[nodiscard]] uint32_t Colour() const { return colour; }
    void SetHotKey(int key) { hotKey = key; }
    void SetOnClick(std::function<void()> handler) { onClick = std::move(handler); }

    bool Draw(Application& app) override;
    void Load() override;
    void Release() override;
    bool OnKey(int key, bool alt) override;
    void OnMouseDown(int px, int py) override;
    void OnMouseUp(int px, int py) override;

  private:
    void Click();

    uint32_t colour = 0xFFFFFFFFu;      // 0xAARRGGBB, premultiplied
    uint32_t hoverColour = 0xFFFFFFFFu; // 0xAARRGGBB, premultiplied
    int hotKey = 0;                     // 0: none
    bool pressed = false;
    std::function<void()> onClick;
    std::vector<uint32_t> normalPixels;
    std::vector<uint32_t> hoverPixels;
};
