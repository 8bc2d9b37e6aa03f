#pragma once

#include "engine/Control.h"
#include "game/BlockType.h"
#include "media/Sprite.h"

class Application;

// One cell of the playing field (or of the queue above it): a block code and
// the timed states the rules drive, drawn as the block picture with the Dim
// overlay while it clears and the Warning overlay in the warning blink.
//
// The control's position is where the picture stands; the rules move it
// during swap and fall animations and put it back on its cell afterwards.
// Times are seconds on the application clock.
class Block : public Control
{
  public:
    static constexpr double WarningBlinkSeconds = 0.25;
    static constexpr const char* DimMoviePath = "Data/Graphics/Dim.swf";
    static constexpr const char* WarningMoviePath = "Data/Graphics/PlayGame/Warning.swf";

    Block();

    // The movie of a code in the well or in the queue; null for codes that
    // have no picture of their own (Empty, 5, anything unknown).
    [[nodiscard]] static const char* PicturePath(BlockType type, bool queueLook);

    // A new code changes the picture: colours and Wild load theirs, Empty
    // hides it, any other code keeps whatever picture was shown.
    void SetType(BlockType code);
    [[nodiscard]] BlockType GetType() const { return type; }
    [[nodiscard]] bool IsEmpty() const { return type == BlockType::Empty; }
    // The queue look applies from the next change of code on.
    void SetQueueLook(bool flag);
    [[nodiscard]] bool IsQueueLook() const { return isQueueBlock; }

    void SetMarked(bool flag) { marked = flag; }
    [[nodiscard]] bool IsMarked() const { return marked; }
    void SetClearing(bool flag);
    [[nodiscard]] bool IsClearing() const { return clearing; }
    [[nodiscard]] double ClearStart() const { return clearStart; }
    void SetWarning(bool flag);
    [[nodiscard]] bool IsWarning() const { return warning; }
    [[nodiscard]] bool IsWarningVisible() const { return warningVisible; }
    void SetFalling(bool flag);
    [[nodiscard]] bool IsFalling() const { return falling; }
    [[nodiscard]] double FallStart() const { return fallStart; }
    [[nodiscard]] int FallFromX() const { return fallFromX; }
    [[nodiscard]] int FallFromY() const { return fallFromY; }
    // Clears falling, clearing, marked and warning (a fresh game, an undo).
    void ResetStates();

    // What the block shows, for checks of its look.
    [[nodiscard]] const Sprite& Picture() const { return picture; }
    [[nodiscard]] bool IsPictureShown() const { return pictureShown; }
    [[nodiscard]] bool IsDimShown() const { return type != BlockType::Empty && clearing; }

    void SetPosition(int newX, int newY) override;
    void SetSize(int w, int h) override;
    bool Draw(Application& app) override;
    void Load() override;
    void Update() override;
    void Release() override;

  private:
    static double Now();

    BlockType type = BlockType::Empty;
    bool isQueueBlock = false;
    bool marked = false;
    bool clearing = false;
    double clearStart = 0.0; // seconds
    bool warning = false;
    bool warningVisible = false;
    double warningToggled = 0.0; // seconds, last blink toggle
    bool falling = false;
    double fallStart = 0.0; // seconds
    int fallFromX = 0;      // picture position when the fall began
    int fallFromY = 0;
    bool sizeChanged = false;  // overlays are rebuilt at the next draw
    bool pictureShown = false; // an Empty block hides its picture

    Sprite picture;
    Sprite dim;
    Sprite warn;
};
