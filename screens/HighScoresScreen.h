#pragma once

#include "engine/Button.h"
#include "engine/ButtonListener.h"
#include "engine/Screen.h"
#include "game/GameModes.h"
#include "media/Sprite.h"
#include "media/TextLabel.h"

// One of the six high-score tables at a time, ten rows of rank, score and
// name. Either arrow (or the Left and Right keys) steps to the next table,
// Marathon Easy, Medium, Hard, then Time Attack Easy, Medium, Hard, and round
// again; Return ("r") or Escape goes back to the main menu. Each visit opens
// on the table of the game type and difficulty last played.
class HighScoresScreen : public Screen, public ButtonListener
{
  public:
    static constexpr int Rows = 10;

    static HighScoresScreen& Get();
    static void Destroy();

    HighScoresScreen();

    void OnEnter() override;
    void OnExit() override;
    void OnKey(int key, bool alt) override;
    void OnButtonClicked(Button* button) override;

    // Advances to the next table and shows it.
    void StepTable();

    [[nodiscard]] GameType ShownGameType() const { return shownType; }
    [[nodiscard]] int ShownDifficulty() const { return shownDifficulty; }
    [[nodiscard]] const TextLabel& TableName() const { return tableName; }
    [[nodiscard]] const TextLabel& Heading() const { return heading; }
    [[nodiscard]] const TextLabel& Rank(int row) const { return rows[row].rank; }
    [[nodiscard]] const TextLabel& Score(int row) const { return rows[row].score; }
    [[nodiscard]] const TextLabel& Name(int row) const { return rows[row].name; }
    [[nodiscard]] Button& LeftArrow() { return leftArrow; }
    [[nodiscard]] Button& RightArrow() { return rightArrow; }
    [[nodiscard]] Button& ReturnButton() { return returnButton; }

  private:
    struct Row
    {
        TextLabel rank;
        TextLabel score;
        TextLabel name;
    };

    void Layout();
    void ShowTable();

    Sprite panel;
    TextLabel heading;
    TextLabel tableName;
    Button rightArrow;
    Button leftArrow;
    Button returnButton;
    Row rows[Rows];
    GameType shownType = GameType::TimeAttack;
    int shownDifficulty = Difficulty::Easy;
};
