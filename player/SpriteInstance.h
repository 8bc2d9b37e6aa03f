#pragma once

#include "player/DisplayList.h"
#include "player/DisplayObject.h"

#include <memory>
#include <string>
#include <vector>

namespace swf
{

// Per-sprite state of the action interpreter (its environment); created lazily by it.
class SpriteScriptState
{
  public:
    virtual ~SpriteScriptState() = default;
};

enum class PlayState
{
    Play = 0,
    Stop = 1,
};

// A playing timeline: a sprite placed in a movie, or a movie's root.
class SpriteInstance : public DisplayObject
{
  public:
    // Deepest nesting of display objects; deeper placements are refused.
    static constexpr int MaxNesting = 64;

    SpriteInstance(Ref<TimelineDefinition> definition, SpriteInstance* parent, int characterId);
    ~SpriteInstance() override;

    void display(RenderContext& context) override;
    void advance(float seconds) override;
    bool pointTest(float x, float y) const override;
    void restartTimeline() override { restart(); }
    SpriteInstance* asSprite() override { return this; }
    Rect localBounds() const override;

    TimelineDefinition& timeline() const { return *timelineDef; }
    int frameCount() const;
    int currentFrame() const { return current; }
    bool hasLooped() const { return looped; }
    PlayState playState() const { return state; }
    // A change of state resets the time remainder.
    void setPlayState(PlayState s);

    void restart();
    void gotoFrame(int frame);
    [[nodiscard]] bool gotoLabeledFrame(const std::string& label);
    // Load step of a newly placed sprite (and of the root's first advance): frame 0's tags,
    // pending actions, the load event.
    void load();

    // Called by control tags.
    void addDisplayObject(int characterId, const std::string& name, const ClipEventHandlers& handlers, int depth,
                          const ColorTransform& cxform, const Matrix& matrix, float ratio, int clipDepth);
    void moveDisplayObject(int depth, bool hasCxform, const ColorTransform& cxform, bool hasMatrix,
                           const Matrix& matrix, float ratio, int clipDepth);
    void replaceDisplayObject(int characterId, const std::string& name, int depth, bool hasCxform,
                              const ColorTransform& cxform, bool hasMatrix, const Matrix& matrix, float ratio,
                              int clipDepth);
    void removeDisplayObject(int depth);
    void queueActions(Ref<ActionRecord> record);
    void setBackgroundColour(const Rgba& colour);
    // Runs the actions queued before the call; actions they queue wait for the next step.
    void doActions();

    DisplayList& displayList() { return list; }
    const DisplayList& displayList() const { return list; }
    const std::vector<Ref<ActionRecord>>& pendingActions() const { return pending; }
    // Most action records one sprite keeps waiting for its next do-actions step.
    static constexpr size_t MaxPendingActions = 256;

    // Set for a movie's root sprite only.
    void setMovieInstance(MovieInstance* movie) { owningMovie = movie; }
    MovieInstance* ownMovieInstance() const { return owningMovie; }
    std::unique_ptr<SpriteScriptState>& scriptState() { return script; }

  private:
    void executeFrameTags(int frame, bool stateOnly);
    void executeRemoveTags(int frame);
    float frameTime() const;
    Ref<DisplayObject> createChild(int characterId);

    Ref<TimelineDefinition> timelineDef;
    Ref<MovieDefinition> ownerMovie; // keeps the dictionary alive while the sprite lives
    DisplayList list;
    int current = 0;
    int next = 0;
    float remainder = 0;
    bool updateFrame = true;
    bool looped = false;
    PlayState state = PlayState::Play;
    std::vector<Ref<ActionRecord>> pending;
    MovieInstance* owningMovie = nullptr;
    std::unique_ptr<SpriteScriptState> script;
};

} // namespace swf
