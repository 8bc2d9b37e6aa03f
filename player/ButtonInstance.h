#pragma once

#include "player/DisplayObject.h"

#include <vector>

namespace swf
{

// A placed button: one child per button record, showing the records of its current state.
// Children are detached objects placed by the button itself at every display.
class ButtonInstance : public DisplayObject
{
  public:
    enum class MouseState
    {
        Up = 0,
        Down = 1,
        Over = 2,
    };

    ButtonInstance(Ref<ButtonDefinition> definition, SpriteInstance* parent, int characterId);
    ~ButtonInstance() override;

    void display(RenderContext& context) override;
    void advance(float seconds) override;
    bool pointTest(float x, float y) const override;

    MouseState mouseState() const { return state; }
    void setMouseState(MouseState s) { state = s; }
    // Children shown in the current state.
    std::vector<DisplayObject*> shownChildren() const;

  private:
    struct Child
    {
        uint8_t states;
        Matrix matrix;
        ColorTransform cxform;
        Ref<DisplayObject> object;
    };

    bool shows(const Child& child) const;
    void placeChild(Child& child);

    Ref<ButtonDefinition> buttonDef;
    std::vector<Child> children;
    MouseState state = MouseState::Up;
};

} // namespace swf
