#pragma once

#include <set>
#include <string>
#include <vector>

#include "engine/Button.h"
#include "engine/ButtonListener.h"
#include "engine/Screen.h"
#include "media/Sprite.h"
#include "media/TextLabel.h"
#include "screens/PuzzlePreview.h"

// The puzzle choice: one puzzle set at a time (set arrows, keys Left and
// Right, wrapping), three of its puzzles side by side as previews with their
// move count, level number and a mark when the current profile has solved
// them (page arrows, keys Up and Down, one puzzle per press). A press on a
// preview, or the key 1, 2 or 3, starts that puzzle; Return (r) goes back to
// the game type choice; e (Y on a gamepad) opens the level editor, as a
// line at the bottom says. The set and the page shown are kept between visits.
class PuzzleLevelSelectScreen : public Screen, public ButtonListener
{
  public:
    static constexpr int PreviewCount = 3;

    static PuzzleLevelSelectScreen& Get();
    static void Destroy();

    PuzzleLevelSelectScreen();

    void OnEnter() override;
    void OnExit() override;
    void OnKey(int key, bool alt) override;
    bool OnPadButton(PadButton button) override;
    void OnButtonClicked(Button* button) override;

    // Steps through the sets (wrapping) and shows the new one from its first
    // puzzle; nothing without sets.
    void NextSet();
    void PreviousSet();
    // Moves the previews by one puzzle within the set.
    void NextPage();
    void PreviousPage();
    // Starts the puzzle of shown preview k (0..2) on the play screen; false
    // when that preview is not shown or its level cannot be loaded.
    bool StartPreview(int k);

    [[nodiscard]] const std::vector<std::string>& Sets() const { return sets; }
    [[nodiscard]] const std::vector<std::string>& Files() const { return files; }
    [[nodiscard]] int CurrentSet() const { return currentSet; }
    [[nodiscard]] int FirstShown() const { return firstShown; }

    [[nodiscard]] Sprite& Panel() { return panel; }
    [[nodiscard]] TextLabel& Heading() { return heading; }
    [[nodiscard]] TextLabel& SetName() { return setName; }
    [[nodiscard]] Button& RightSetArrow() { return rightSetArrow; }
    [[nodiscard]] Button& LeftSetArrow() { return leftSetArrow; }
    [[nodiscard]] Button& NextPageArrow() { return nextPageArrow; }
    [[nodiscard]] Button& PreviousPageArrow() { return previousPageArrow; }
    [[nodiscard]] Button& ReturnButton() { return returnButton; }
    [[nodiscard]] TextLabel& EditorHint() { return editorHint; }
    [[nodiscard]] PuzzlePreview& Preview(int k) { return previews[k]; }
    [[nodiscard]] Sprite& CompletedMark(int k) { return completedMarks[k]; }
    [[nodiscard]] TextLabel& MovesLabel(int k) { return movesLabels[k]; }
    [[nodiscard]] TextLabel& LevelLabel(int k) { return levelLabels[k]; }

  private:
    void Layout(int w, int h);
    void RegisterControls();
    void ReadSets();
    void ShowSet();
    void BuildPreviews(bool warn);
    void HidePreview(int k);
    void WarnOnce(const std::string& path, const std::string& warning);
    [[nodiscard]] std::string ShownSetName() const;

    std::vector<std::string> sets;
    int currentSet = 0;
    std::vector<std::string> files;
    int firstShown = 0;
    // Levels that failed to load at the last build, and the files whose
    // warning this visit has already shown.
    bool broken[PreviewCount] = {false, false, false};
    std::string brokenWarning[PreviewCount];
    std::set<std::string> warned;
    int width = 0;
    int height = 0;

    Sprite panel;
    TextLabel heading;
    TextLabel setName;
    Button rightSetArrow;
    Button leftSetArrow;
    PuzzlePreview previews[PreviewCount];
    Sprite completedMarks[PreviewCount];
    TextLabel movesLabels[PreviewCount];
    TextLabel levelLabels[PreviewCount];
    Button nextPageArrow;
    Button previousPageArrow;
    Button returnButton;
    TextLabel editorHint;
};
