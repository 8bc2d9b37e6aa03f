#include "screens/ChoiceScreen.h"

#include <algorithm>

#include "app/Application.h"
#include "engine/KeyCode.h"
#include "engine/ScreenManager.h"
#include "screens/MainMenuScreen.h"
#include "screens/MenuRecipes.h"
#include "screens/ProfileSelectScreen.h"

ChoiceScreen::ChoiceScreen(const std::vector<std::string>& texts) : marquee(texts)
{
    for (Button& button : buttons)
        button.SetListener(this);
}

void ChoiceScreen::Enter(const Choice* choices, int count)
{
    Application& app = Application::Get();
    app.SetBackgroundColour(MenuBackgroundRed, MenuBackgroundGreen, MenuBackgroundBlue);
    int w = 0;
    int h = 0;
    app.GetSize(w, h);
    LayOutMenuPanel(panel, w, h);
    marquee.Layout(w, h);
    buttonCount = std::min(count, MaxButtons);
    for (int i = 0; i < buttonCount; ++i)
        SetUpCentredMenuButton(buttons[static_cast<size_t>(i)], w, h, choices[i].caption, choices[i].y,
                               choices[i].hotkey);

    ScreenManager& screens = ScreenManager::Get();
    screens.AddControl(&panel);
    marquee.Register();
    for (int i = 0; i < buttonCount; ++i)
        screens.AddControl(&buttons[static_cast<size_t>(i)]);
}

void ChoiceScreen::OnKey(int key, bool alt)
{
    (void)alt;
    if (key == KeyCode::Escape)
        ScreenManager::Get().SetScreen(&ProfileSelectScreen::Get(), true);
}

void ChoiceScreen::Update(int framesSinceSwitch)
{
    if (framesSinceSwitch == 0)
        MainMenuScreen::Get().PlayMusic();
    int active = 0;
    for (int i = 0; i < buttonCount && i + 1 < marquee.Count(); ++i)
    {
        if (buttons[static_cast<size_t>(i)].IsMouseOver())
        {
            active = i + 1;
            break;
        }
    }
    marquee.Step(active);
}
