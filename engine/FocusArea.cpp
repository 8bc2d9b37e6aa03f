#include "engine/FocusArea.h"

bool FocusArea::HitTest(int px, int py)
{
    (void)px;
    (void)py;
    return false;
}

bool FocusArea::Activate()
{
    return !hidden && onPress && onPress();
}

bool FocusArea::Steer(PadButton direction, bool repeat)
{
    return !hidden && onSteer && onSteer(direction, repeat);
}
