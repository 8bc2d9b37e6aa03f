#pragma once

#include "player/CharacterDefinition.h"
#include "player/SwfTypes.h"

#include <vector>

namespace swf
{

// DefineButton / DefineButton2: the characters shown per mouse state, and the button's actions
// (kept but never run: movies receive no mouse input in this game).
class ButtonDefinition : public CharacterDefinition
{
  public:
    enum StateFlags : uint8_t
    {
        StateUp = 1,
        StateOver = 2,
        StateDown = 4,
        StateHitTest = 8,
    };

    struct Record
    {
        uint8_t states = 0;
        int characterId = 0;
        int depth = 0;
        Matrix matrix;
        ColorTransform cxform;
    };

    struct Action
    {
        int conditions = 0;
        Ref<ActionRecord> record;
    };

    ~ButtonDefinition() override;

    // Tag code 7 or 34, after the character id.
    void read(SwfStream& stream, int code);
    // DefineButtonSound: sound ids for the four state changes (no sound ever loads).
    void readSounds(SwfStream& stream);

    [[nodiscard]] Ref<DisplayObject> createDisplayObject(SpriteInstance* parent, int id) override;
    const char* kindName() const override { return "button"; }

    const std::vector<Record>& records() const { return buttonRecords; }
    const std::vector<Action>& actions() const { return buttonActions; }
    const int* soundIds() const { return sounds; }

  private:
    std::vector<Record> buttonRecords;
    std::vector<Action> buttonActions;
    int sounds[4] = {0, 0, 0, 0};
};

} // namespace swf
