#include "screens/StartScreen.h"

#include "app/Application.h"
#include "engine/KeyCode.h"
#include "engine/Layout.h"
#include "engine/ScreenManager.h"

namespace {

StartScreen* instance = nullptr;

struct Rgb {
    uint8_t r, g, b;
};

// The squares cycle through these colours, one step per click.
constexpr Rgb Palette[] = {{0xE0, 0x30, 0x30}, {0xF0, 0x90, 0x20}, {0x30, 0x60, 0xE0},
                           {0x90, 0x40, 0xC0}, {0x30, 0xB0, 0x40}};
constexpr int PaletteSize = sizeof Palette / sizeof Palette[0];

uint8_t Lighter(uint8_t c) { return static_cast<uint8_t>(c + (255 - c) / 2); }

} // namespace

StartScreen& StartScreen::Get()
{
    if (!instance)
        instance = new StartScreen();
    return *instance;
}

void StartScreen::Destroy()
{
    delete instance;
    instance = nullptr;
}

StartScreen::StartScreen()
{
    for (int i = 0; i < SquareCount; ++i) {
        squares[i].SetHotKey('1' + i);
        squares[i].SetOnClick([this, i] { NextColour(i); });
    }
}

void StartScreen::OnEnter()
{
    Application::Get().SetBackgroundColour(0x99, 0x55, 0xAA);
    Layout();
    ScreenManager& screens = ScreenManager::Get();
    for (int i = 0; i < SquareCount; ++i) {
        ApplyColour(i);
        screens.AddControl(&squares[i]);
    }
}

void StartScreen::OnExit() {}

void StartScreen::OnKey(int key, bool alt)
{
    if (key == KeyCode::Escape && !alt)
        Application::Get().RequestQuit();
}

// Four squares of 0.15 W in a row, centred horizontally, at 0.4 H.
void StartScreen::Layout()
{
    int w, h;
    Application::Get().GetSize(w, h);
    const int side = FractionOf(w, 0.15f);
    const int gap = FractionOf(w, 0.05f);
    const int total = SquareCount * side + (SquareCount - 1) * gap;
    const int left = w / 2 - total / 2;
    const int top = FractionOf(h, 0.4f);
    for (int i = 0; i < SquareCount; ++i) {
        squares[i].SetSize(side, side);
        squares[i].SetPosition(left + i * (side + gap), top);
    }
}

void StartScreen::ApplyColour(int square)
{
    const Rgb& c = Palette[colourIndex[square]];
    squares[square].SetColour(c.r, c.g, c.b);
    squares[square].SetHoverColour(Lighter(c.r), Lighter(c.g), Lighter(c.b));
}

void StartScreen::NextColour(int square)
{
    colourIndex[square] = (colourIndex[square] + 1) % PaletteSize;
    ApplyColour(square);
}
