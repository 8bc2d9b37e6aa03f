#include "screens/MainMenuScreen.h"

#include <limits>

#include "app/Application.h"
#include "engine/KeyCode.h"
#include "engine/Layout.h"
#include "engine/ScreenManager.h"
#include "media/Sound.h"
#include "media/SoundManager.h"
#include "screens/HighScoresScreen.h"
#include "screens/MenuRecipes.h"
#include "screens/OptionsScreen.h"
#include "screens/ProfileSelectScreen.h"

namespace
{
MainMenuScreen* instance = nullptr;

// The music starts on this frame after entry, once the menu has been drawn.
constexpr int MusicFrame = 2;
} // namespace

MainMenuScreen& MainMenuScreen::Get()
{
    if (instance == nullptr)
    {
        instance = new MainMenuScreen();
    }
    return *instance;
}

void MainMenuScreen::Destroy()
{
    delete instance;
    instance = nullptr;
}

MainMenuScreen::MainMenuScreen()
{
    playGame.SetHotkey('p', false);
    highScores.SetHotkey('h', false);
    options.SetHotkey('o', false);
    exitGame.SetHotkey('e', false);
    playGame.SetListener(this);
    highScores.SetListener(this);
    options.SetListener(this);
    exitGame.SetListener(this);
    footer.SetText(FooterText);
    footer.SetColour(Colour(0x33, 0x33, 0x33, 0xFF));
}

MainMenuScreen::~MainMenuScreen()
{
    if (music != nullptr && SoundManager::Existing() != nullptr)
    {
        music->Release();
    }
    music = nullptr;
}

void MainMenuScreen::Layout()
{
    int w = 0;
    int h = 0;
    Application::Get().GetSize(w, h);

    logo.SetMovie("Data/Graphics/MainMenu/GameLogo.swf");
    logo.SetSize(FractionOf(w, 0.8125f), FractionOf(h, 0.2083f));
    logo.SetPosition(w / 2 - logo.GetWidth() / 2, FractionOf(h, 0.015f));

    panel.SetMovie("Data/Graphics/MainMenu/Background.swf");
    panel.SetSize(FractionOf(w, 0.94375f), FractionOf(h, 0.7167f));
    panel.SetPosition(w / 2 - panel.GetWidth() / 2, FractionOf(h, 0.225f));

    struct Entry
    {
        Button* button;
        const char* caption;
        float y;
    };
    const Entry entries[] = {{&playGame, "Data/Graphics/MainMenu/PlayGame.swf", 0.298658f},
                             {&highScores, "Data/Graphics/MainMenu/HighScores.swf", 0.416418f},
                             {&options, "Data/Graphics/MainMenu/Options.swf", 0.534179f},
                             {&exitGame, "Data/Graphics/MainMenu/ExitGame.swf", 0.7697f}};
    for (const Entry& entry : entries)
    {
        SetUpMenuButton(*entry.button, w, h, entry.caption);
        entry.button->SetPosition(w / 2 - entry.button->GetWidth() / 2, FractionOf(h, entry.y));
    }

    footer.SetFont(GameFont, FractionOf(w, 0.035f));
    footer.SetPosition(w / 2 - footer.GetWidth() / 2, FractionOf(h, 0.942f));
}

void MainMenuScreen::OnEnter()
{
    Application::Get().SetBackgroundColour(MenuBackgroundRed, MenuBackgroundGreen, MenuBackgroundBlue);
    Layout();
    ScreenManager& screens = ScreenManager::Get();
    screens.AddControl(&logo);
    screens.AddControl(&panel);
    screens.AddControl(&playGame);
    screens.AddControl(&highScores);
    screens.AddControl(&options);
    screens.AddControl(&exitGame);
    screens.AddControl(&footer);
}

void MainMenuScreen::OnExit() {}

void MainMenuScreen::OnKey(int key, bool alt)
{
    (void)alt;
    if (key == KeyCode::Escape)
    {
        exitDialog.Open();
    }
}

void MainMenuScreen::Update(int framesSinceSwitch)
{
    if (framesSinceSwitch == MusicFrame)
    {
        PlayMusic();
    }
}

double MainMenuScreen::NextTimedChange(double now) const
{
    (void)now;
    // The frames up to the music frame come anyway, right after the switch.
    return std::numeric_limits<double>::infinity();
}

void MainMenuScreen::PlayMusic()
{
    if (music == nullptr)
    {
        music = SoundManager::Get().LoadMusic("Data/Sounds/Tiger");
    }
    if (!music->IsPlaying())
    {
        (void)music->Play(true);
    }
}

void MainMenuScreen::OnButtonClicked(Button* button)
{
    ScreenManager& screens = ScreenManager::Get();
    if (button == &exitGame)
    {
        exitDialog.Open();
    }
    else if (button == &playGame)
    {
        screens.SetScreen(&ProfileSelectScreen::Get(), true);
    }
    else if (button == &highScores)
    {
        screens.SetScreen(&HighScoresScreen::Get(), true);
    }
    else if (button == &options)
    {
        screens.SetScreen(&OptionsScreen::Get(), true);
    }
    (void)screens;
}
