#pragma once

#include <functional>
#include <string>
#include <vector>

#include "data/LevelLibrary.h"
#include "engine/Button.h"
#include "engine/ButtonListener.h"
#include "media/Sprite.h"
#include "media/TextLabel.h"
#include "screens/SolidRect.h"

// The level editor's file chooser, drawn in the game's own look over the
// screen as a modal dialog, so it works in full screen and from the keyboard.
//
// Load lists every level file of every set (a heading per set, its puzzles
// under it); Up / Down pick a puzzle, Left / Right jump between sets, Enter
// or a second click on the picked row loads it. Save asks for a set (typed,
// or picked from the existing sets below) and a puzzle number; Tab moves
// between the two fields, Up / Down step through the sets or the number,
// Enter saves. A name that cannot be used is refused with its reason, and a
// file that exists already is replaced only after a yes. Escape cancels.
//
//   closed --OpenLoad / OpenSave--> choosing --Enter, existing file--> asking
//   choosing --Enter--> closed (the handler was told)    asking --n--> choosing
class LevelFileChooser : public ButtonListener
{
  public:
    enum class Mode
    {
        Closed,
        Load,
        Save,
        Overwrite, // Save, waiting for the answer to "replace it?"
    };
    static constexpr int RowCount = 12;
    static constexpr int SaveRowCount = 7;

    // Told the resource path of the level to load.
    using LoadHandler = std::function<void(const std::string& path)>;
    // Told the set and number to write; true when the level was written (the
    // chooser then closes, otherwise it stays open).
    using SaveHandler = std::function<bool(const std::string& setName, int number)>;

    LevelFileChooser();

    void OpenLoad(LoadHandler handler);
    void OpenSave(const std::string& setName, int number, SaveHandler handler);
    void Close();
    [[nodiscard]] Mode GetMode() const { return mode; }
    [[nodiscard]] bool IsOpen() const { return mode != Mode::Closed; }

    // Keys of the screen while the chooser is open; every key is used.
    void OnKey(int key);
    void OnButtonClicked(Button* button) override;

    // --- what it shows, for the screen's checks ---
    [[nodiscard]] const std::string& SetName() const { return setName; }
    [[nodiscard]] int Number() const { return number; }
    // The path (Load) or set name (Save) of the picked row.
    [[nodiscard]] std::string PickedText() const;
    // The hint, problem or question shown under the list.
    [[nodiscard]] std::string MessageText() const { return message.GetText(); }
    [[nodiscard]] std::string RowText(int row) const { return rowLabels[row].GetText(); }
    [[nodiscard]] SolidRect& Row(int row) { return rowRects[row]; }
    [[nodiscard]] Button& ActionButton() { return action; }
    [[nodiscard]] Button& CancelButton() { return cancel; }

  private:
    struct Item
    {
        bool heading = false;
        std::string setName;
        std::string path; // empty for headings and the sets of Save
        std::string text;
    };

    void Open(Mode newMode);
    void Layout();
    void Register();
    void Refresh();
    void FillItems();
    [[nodiscard]] int VisibleRows() const;
    [[nodiscard]] int ListTop() const;
    void Pick(int index);
    void Step(int delta);
    void JumpSet(int delta);
    void ClickRow(int row);
    void Scroll(int delta);
    void Confirm();
    void Type(int key);
    void Answer(bool yes);
    void ShowHint();
    void ShowProblem(const std::string& text);

    Mode mode = Mode::Closed;
    LoadHandler onLoad;
    SaveHandler onSave;
    std::vector<Item> items;
    int picked = -1;      // index into items
    int firstVisible = 0; // index of the top row
    std::string setName;  // Save: the typed name
    int number = 1;       // Save: the puzzle number
    std::string numberText;
    bool numberFocus = false;
    int width = 0;
    int height = 0;

    Sprite dim;
    Sprite panel;
    TextLabel title;
    TextLabel setLine;
    TextLabel numberLine;
    TextLabel listTitle;
    SolidRect rowRects[RowCount];
    TextLabel rowLabels[RowCount];
    Button scrollUp;
    Button scrollDown;
    TextLabel message;
    Button action;
    Button cancel;
};
