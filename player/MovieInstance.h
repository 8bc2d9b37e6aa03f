#pragma once

#include "player/Forward.h"
#include "player/RefCounted.h"
#include "player/SwfTypes.h"

#include <memory>
#include <string>

namespace swf
{

// A playing copy of a movie definition: its root sprite, the viewport it is drawn into, and the
// mouse state scripts read.
class MovieInstance : public RefCounted
{
  public:
    explicit MovieInstance(Ref<MovieDefinition> definition);
    ~MovieInstance() override;

    MovieDefinition& movieDefinition() const { return *def; }
    SpriteInstance& rootSprite() const { return *rootObject; }

    int currentFrame() const;
    bool hasLooped() const;
    void restart();
    // Advances by `seconds`; the first call also runs the root's load step.
    void advance(float seconds);
    void gotoFrame(int frame);
    [[nodiscard]] bool gotoLabeledFrame(const std::string& label);
    void setPlayState(int state); // 0 play, 1 stop
    int playState() const;

    void setViewport(int x, int y, int width, int height);
    // Draws the movie into the context, the frame rectangle stretched over the viewport.
    void display(cairo_t* cr);
    // Maps twips of the movie to pixels of the viewport.
    Matrix displayMatrix() const;

    void setBackgroundColour(const Rgba& colour) { background = colour; }
    const Rgba& backgroundColour() const { return background; }
    void setBackgroundAlpha(float alpha);
    float backgroundAlpha() const { return background.a / 255.0f; }

    void setMouseState(int x, int y, int buttons);
    int mouseX() const { return mousePosX; }
    int mouseY() const { return mousePosY; }
    int mouseButtons() const { return buttonsDown; }
    float time() const { return timeCounter; }

    // Live display objects of this movie; placements stop once the budget is spent.
    static constexpr int MaxObjects = 20000;
    int liveObjects() const { return *objects; }

  private:
    Ref<MovieDefinition> def;
    Ref<SpriteInstance> rootObject;
    int viewX = 0, viewY = 0, viewWidth = 0, viewHeight = 0;
    int mousePosX = 0, mousePosY = 0, buttonsDown = 0;
    Rgba background{255, 255, 255, 255};
    float timeCounter = 0;
    bool onLoadDone = false;
    std::shared_ptr<int> objects;
};

} // namespace swf
