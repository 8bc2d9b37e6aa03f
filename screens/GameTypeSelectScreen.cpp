#include "screens/GameTypeSelectScreen.h"

#include "engine/ScreenManager.h"
#include "game/PlayScreen.h"
#include "game/TutorialScreen.h"
#include "screens/GameLevelSelectScreen.h"
#include "screens/ProfileSelectScreen.h"
#include "screens/PuzzleLevelSelectScreen.h"

namespace
{
GameTypeSelectScreen* instance = nullptr;
} // namespace

GameTypeSelectScreen& GameTypeSelectScreen::Get()
{
    if (!instance)
        instance = new GameTypeSelectScreen();
    return *instance;
}

void GameTypeSelectScreen::Destroy()
{
    delete instance;
    instance = nullptr;
}

GameTypeSelectScreen::GameTypeSelectScreen()
    : ChoiceScreen({"Select A Game Mode",
                    "How To Play -- Learn the basic gameplay through an interactive tutorial mode.",
                    "Standard Gameplay Mode -- Colored blocks will fall into the playing field.  Matching 3 or more "
                    "like-colored blocks in a row or column will clear those blocks.",
                    "Puzzle Gameplay Mode -- Solve puzzle challenges by clearing all the blocks within a playing "
                    "field using a set number of moves.",
                    "Timed Gameplay Mode -- The playing field will be full of colored blocks.  Matching 3 or more "
                    "like-colored blocks in a row or column will clear those blocks.  How many can you clear in the "
                    "allotted time?"})
{
}

void GameTypeSelectScreen::OnEnter()
{
    static const ChoiceScreen::Choice choices[] = {{"Data/Graphics/GameTypeSelect/HowToPlay.swf", 'h', 0.27417f},
                                                   {"Data/Graphics/GameTypeSelect/Marathon.swf", 'm', 0.39417f},
                                                   {"Data/Graphics/GameTypeSelect/PuzzleChallenge.swf", 'p', 0.51417f},
                                                   {"Data/Graphics/GameTypeSelect/TimeAttack.swf", 't', 0.63417f},
                                                   {"Data/Graphics/ReturnProfile.swf", 'r', 0.83f}};
    Enter(choices, 5);
}

void GameTypeSelectScreen::OnButtonClicked(Button* button)
{
    ScreenManager& screens = ScreenManager::Get();
    if (button == &ChoiceButton(HowToPlay))
    {
        screens.SetScreen(&TutorialScreen::Get(), true);
    }
    else if (button == &ChoiceButton(PuzzleChallenge))
    {
        // The game type is set there, when a puzzle is chosen.
        screens.SetScreen(&PuzzleLevelSelectScreen::Get(), true);
    }
    else if (button == &ChoiceButton(Marathon) || button == &ChoiceButton(TimeAttack))
    {
        PlayScreen::Get().SetGameType(button == &ChoiceButton(Marathon) ? GameType::Marathon : GameType::TimeAttack);
        screens.SetScreen(&GameLevelSelectScreen::Get(), true);
    }
    else if (button == &ChoiceButton(Return))
    {
        screens.SetScreen(&ProfileSelectScreen::Get(), true);
    }
}
