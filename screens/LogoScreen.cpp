#include "screens/LogoScreen.h"

#include <cmath>

#include "app/Application.h"
#include "engine/Layout.h"
#include "engine/ScreenManager.h"
#include "media/Sound.h"
#include "media/SoundManager.h"
#include "screens/MainMenuScreen.h"

namespace
{
LogoScreen* instance = nullptr;

constexpr double WhiteSeconds = 3.0;
constexpr double HoldSeconds = 2.0;
// Alpha change per frame per second since the fade began: the fades speed up.
constexpr double FadeRate = 10.0;
} // namespace

LogoScreen& LogoScreen::Get()
{
    if (instance == nullptr)
    {
        instance = new LogoScreen();
    }
    return *instance;
}

void LogoScreen::Destroy()
{
    delete instance;
    instance = nullptr;
}

LogoScreen::~LogoScreen()
{
    ReleaseSound();
}

void LogoScreen::ReleaseSound()
{
    if (logoSound != nullptr && SoundManager::Existing() != nullptr)
    {
        logoSound->Release();
    }
    logoSound = nullptr;
}

void LogoScreen::OnEnter()
{
    Application& app = Application::Get();
    app.SetBackgroundColour(0xFF, 0xFF, 0xFF);
    ReleaseSound();
    logoSound = SoundManager::Get().LoadEffect("Data/Sounds/Logo");
    t0 = app.time;
    phase = 0;
    alpha = 255;
    done = false;

    int w = 0;
    int h = 0;
    app.GetSize(w, h);
    logo.Show();
    logo.SetMovie("Data/Graphics/Logo.swf");
    logo.SetSize(FractionOf(w, 0.8f), FractionOf(h, 0.57f));
    logo.SetPosition(w / 2 - logo.GetWidth() / 2, h / 2 - logo.GetHeight() / 2);

    white.SetPosition(logo.GetX(), logo.GetY());
    white.SetSize(logo.GetWidth(), logo.GetHeight());
    ApplyAlpha();

    ScreenManager::Get().AddControl(&logo);
    ScreenManager::Get().AddControl(&white);
}

void LogoScreen::OnExit()
{
    ReleaseSound();
    logo.Release();
}

void LogoScreen::Skip()
{
    SoundManager::Get().StopAll();
    ScreenManager::Get().SetScreen(&MainMenuScreen::Get(), true);
}

void LogoScreen::OnKey(int key, bool alt)
{
    (void)key;
    (void)alt;
    Skip();
}

void LogoScreen::OnLeftButtonDown(int x, int y)
{
    (void)x;
    (void)y;
    Skip();
}

void LogoScreen::OnRightButtonDown(int x, int y)
{
    (void)x;
    (void)y;
    Skip();
}

void LogoScreen::ApplyAlpha()
{
    white.SetColour(Colour(255, 255, 255, static_cast<uint8_t>(alpha)));
}

double LogoScreen::NextTimedChange(double now) const
{
    if (done)
    {
        return now;
    }
    if (phase == 0)
    {
        return t0 + WhiteSeconds;
    }
    if (phase == 2)
    {
        return t0 + HoldSeconds;
    }
    return now;
}

void LogoScreen::Update(int framesSinceSwitch)
{
    (void)framesSinceSwitch;
    const double now = Application::Get().time;
    if (done)
    {
        Skip();
        return;
    }
    switch (phase)
    {
    case 0:
        if (now > t0 + WhiteSeconds)
        {
            t0 = now;
            phase = 1;
            if (logoSound != nullptr)
            {
                (void)logoSound->Play(false);
            }
        }
        break;
    case 1:
        alpha += static_cast<int>(std::trunc((now - t0) * -FadeRate));
        if (alpha < 0)
        {
            alpha = 0;
            t0 = now;
            phase = 2;
        }
        ApplyAlpha();
        break;
    case 2:
        if (now > t0 + HoldSeconds)
        {
            t0 = now;
            phase = 3;
        }
        break;
    default:
        alpha += static_cast<int>(std::trunc((now - t0) * FadeRate));
        if (alpha > 255)
        {
            logo.Hide();
            alpha = 255;
            done = true;
        }
        ApplyAlpha();
        break;
    }
}
