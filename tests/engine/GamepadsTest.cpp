#include <gtest/gtest.h>

#include "engine/Gamepads.h"
#include "engine/platform/Platform.h"

namespace
{

using Type = PlatformEvent::Type;

PlatformEvent PadEvent(Type type, int pad, int key, int value = 0)
{
    return {type, key, PlatformEvent::Button::Left, value, 0, 0, 0, pad};
}

constexpr int LeftX = static_cast<int>(PadAxis::LeftX);
constexpr int LeftY = static_cast<int>(PadAxis::LeftY);

TEST(GamepadsTest, StickDeadZoneAndRepeatTiming)
{
    Gamepads pads;
    std::vector<PadButton> out;
    pads.Handle(PadEvent(Type::PadAxisMotion, 1, LeftX, Gamepads::DeadZone - 1), 0.0, out);
    pads.Handle(PadEvent(Type::PadAxisMotion, 1, LeftY, -Gamepads::DeadZone + 1), 0.0, out);
    EXPECT_TRUE(out.empty());
    EXPECT_FALSE(pads.NextRepeat());
    pads.Handle(PadEvent(Type::PadAxisMotion, 1, LeftX, -30000), 1.0, out);
    ASSERT_EQ(out, std::vector<PadButton>{PadButton::DPadLeft});
    // Nothing until the delay, then one repeat per interval, one per frame at most.
    for (double t = 1.0; t < 1.0 + Gamepads::RepeatDelay - 0.001; t += 0.016)
        pads.Repeat(t, out);
    EXPECT_EQ(out.size(), 1u);
    for (double t = 1.0 + Gamepads::RepeatDelay; t < 1.0 + Gamepads::RepeatDelay + 4 * Gamepads::RepeatInterval - 0.001;
         t += 0.01)
        pads.Repeat(t, out);
    EXPECT_EQ(out.size(), 5u);
    pads.Repeat(100.0, out); // after a stall: once, not a burst
    pads.Repeat(100.0, out);
    EXPECT_EQ(out.size(), 6u);
    // The stick turning down presses Down; back in the dead zone ends the repeat.
    pads.Handle(PadEvent(Type::PadAxisMotion, 1, LeftY, 32767), 101.0, out);
    EXPECT_EQ(out.back(), PadButton::DPadDown);
    pads.Handle(PadEvent(Type::PadAxisMotion, 1, LeftY, 100), 101.1, out);
    pads.Handle(PadEvent(Type::PadAxisMotion, 1, LeftX, 0), 101.1, out);
    EXPECT_FALSE(pads.NextRepeat());
}

TEST(GamepadsTest, SeveralPadsAndUnpluggingAHeldOne)
{
    Gamepads pads;
    std::vector<PadButton> out;
    pads.Handle(PadEvent(Type::PadAdded, 3, 0), 0.0, out);
    pads.Handle(PadEvent(Type::PadAdded, 4, 0), 0.0, out);
    pads.Handle(PadEvent(Type::PadButtonDown, 4, static_cast<int>(PadButton::A)), 0.0, out);
    pads.Handle(PadEvent(Type::PadButtonDown, 3, static_cast<int>(PadButton::DPadUp)), 0.0, out);
    // Another pad letting go of its own Up does not stop pad 3's repeat.
    pads.Handle(PadEvent(Type::PadButtonUp, 4, static_cast<int>(PadButton::DPadUp)), 0.0, out);
    EXPECT_EQ(out, (std::vector<PadButton>{PadButton::A, PadButton::DPadUp}));
    EXPECT_TRUE(pads.NextRepeat());
    pads.Handle(PadEvent(Type::PadRemoved, 3, 0), 0.1, out);
    EXPECT_EQ(pads.Connected(), 1);
    EXPECT_FALSE(pads.NextRepeat());
    pads.Repeat(5.0, out);
    pads.Handle(PadEvent(Type::PadButtonDown, 4, 99), 5.0, out); // not a button
    EXPECT_EQ(out.size(), 2u);
}

} // namespace
