#include "screens/Marquee.h"

#include "app/Application.h"
#include "engine/Layout.h"
#include "engine/ScreenManager.h"
#include "screens/MenuRecipes.h"

Marquee::Marquee(const std::vector<std::string>& texts)
{
    for (const std::string& text : texts)
    {
        labels.push_back(std::make_unique<TextLabel>());
        labels.back()->SetText(text);
        labels.back()->SetColour(Colour(0, 0, 0, 255));
    }
}

void Marquee::SetText(int index, const std::string& text)
{
    labels[static_cast<size_t>(index)]->SetText(text);
}

void Marquee::Layout(int w, int h)
{
    width = w;
    background.SetMovie("Data/Graphics/MarqueeBackground.swf");
    background.SetSize(w, FractionOf(h, 0.125f));
    background.SetPosition(0, FractionOf(h, 0.0625f));
    foreground.SetMovie("Data/Graphics/MarqueeForeground.swf");
    foreground.SetSize(background.GetWidth(), background.GetHeight());
    foreground.SetPosition(background.GetX(), background.GetY());

    const int fontSize = FractionOf(h, 0.06f);
    for (size_t i = 0; i < labels.size(); ++i)
    {
        TextLabel& label = *labels[i];
        label.SetFont(GameFont, fontSize);
        label.SetPosition(w, background.GetY() + background.GetHeight() / 2 - label.GetHeight() / 2);
        if (i == 0)
            label.Show();
        else
            label.Hide();
    }
    lastStep = 0.0;
}

void Marquee::Register()
{
    ScreenManager& screens = ScreenManager::Get();
    screens.AddControl(&background);
    for (const std::unique_ptr<TextLabel>& label : labels)
        screens.AddControl(label.get());
    screens.AddControl(&foreground);
}

void Marquee::Step(int active)
{
    const double now = Application::Get().GetTime();
    if (lastStep == 0.0)
        lastStep = now;
    const int dx = static_cast<int>((now - lastStep) * width / CrossingSeconds);
    if (dx <= 0)
        return;
    for (size_t i = 0; i < labels.size(); ++i)
    {
        TextLabel& label = *labels[i];
        if (static_cast<int>(i) == active)
        {
            int x = label.GetX() - dx;
            if (x + label.GetWidth() <= 0)
                x = width;
            label.SetPosition(x, label.GetY());
            label.Show();
        }
        else
        {
            label.Hide();
            label.SetPosition(width, label.GetY());
        }
    }
    lastStep = now;
}
