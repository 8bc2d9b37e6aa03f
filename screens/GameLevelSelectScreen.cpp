#include "screens/GameLevelSelectScreen.h"

#include "data/ProfileStore.h"
#include "engine/ScreenManager.h"
#include "game/PlayScreen.h"
#include "screens/GameTypeSelectScreen.h"
#include "screens/ProfileSelectScreen.h"

namespace
{

GameLevelSelectScreen* instance = nullptr;

const char* const MarathonTexts[] = {"Easy mode! Start playing on level 1.", "Medium mode! Start playing on level 3.",
                                     "Hard mode! Start playing on level 6."};
const char* const TimedTexts[] = {
    "Easy mode! You will have 3 minutes and 30 seconds to score as many points as you can!",
    "Medium mode! You will have 2 minutes and 30 seconds to score as many points as you can!",
    "Hard mode! You will have 1 minute and 30 seconds to score as many points as you can!"};
const int Difficulties[] = {Difficulty::Easy, Difficulty::Medium, Difficulty::Hard};

} // namespace

GameLevelSelectScreen& GameLevelSelectScreen::Get()
{
    if (!instance)
        instance = new GameLevelSelectScreen();
    return *instance;
}

void GameLevelSelectScreen::Destroy()
{
    delete instance;
    instance = nullptr;
}

GameLevelSelectScreen::GameLevelSelectScreen()
    : ChoiceScreen({"Select A Game Level", MarathonTexts[0], MarathonTexts[1], MarathonTexts[2]})
{
}

void GameLevelSelectScreen::OnEnter()
{
    const bool marathon = PlayScreen::Get().GetGameType() == GameType::Marathon;
    for (int i = 0; i < 3; ++i)
        Banner().SetText(i + 1, marathon ? MarathonTexts[i] : TimedTexts[i]);
    static const ChoiceScreen::Choice choices[] = {{"Data/Graphics/GameLevelSelect/Easy.swf", 'e', 0.305f},
                                                   {"Data/Graphics/GameLevelSelect/Medium.swf", 'm', 0.4505f},
                                                   {"Data/Graphics/GameLevelSelect/Hard.swf", 'h', 0.595f},
                                                   {"Data/Graphics/PuzzleLevelSelect/ReturnGame.swf", 'r', 0.83f}};
    Enter(choices, 4);
    // The game starts from here: its pictures are rendered while the player chooses.
    PlayScreen::Get().RenderAhead(PlayScreen::Get().GetGameType());
}

void GameLevelSelectScreen::OnButtonClicked(Button* button)
{
    ScreenManager& screens = ScreenManager::Get();
    if (button == &ChoiceButton(Return))
    {
        screens.SetScreen(&GameTypeSelectScreen::Get(), true);
        return;
    }
    for (int i = Easy; i <= Hard; ++i)
    {
        if (button != &ChoiceButton(i))
            continue;
        // Scores and solved puzzles belong to a player: no game without one.
        if (ProfileStore::Get().GetCurrentProfile() < 0)
        {
            screens.SetScreen(&ProfileSelectScreen::Get(), true);
            return;
        }
        PlayScreen::Get().difficulty = Difficulties[i];
        screens.SetScreen(&PlayScreen::Get(), true);
    }
}
