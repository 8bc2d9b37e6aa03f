#pragma once

#include "engine/KeyCode.h"
#include "game/BoardRules.h"

// The keys that steer the mover and swap under it, shared by the play screen
// and the tutorial. Returns false for any other key.
inline bool ApplyMoverKey(BoardRules& rules, int key)
{
    switch (key)
    {
    case KeyCode::Up:
        rules.MoveMoverUp();
        return true;
    case KeyCode::Down:
        rules.MoveMoverDown();
        return true;
    case KeyCode::Left:
        rules.MoveMoverLeft();
        return true;
    case KeyCode::Right:
        rules.MoveMoverRight();
        return true;
    case KeyCode::Tab:
        rules.FlipMover();
        return true;
    case ' ':
        (void)rules.TrySwap();
        return true;
    default:
        return false;
    }
}
