#include "game/GameClock.h"

#include <algorithm>

void GameClock::Reset(double now)
{
    started = false;
    frozen = false;
    gameStart = 0.0;
    queueStart = now;
    queueBarRefreshed = now;
    frozenSince = now;
}

void GameClock::Start(double now)
{
    started = true;
    gameStart = now;
    queueStart = now;
    queueBarRefreshed = now;
}

void GameClock::SetFrozen(bool value, double now)
{
    if (value == frozen)
        return;
    frozen = value;
    if (frozen)
    {
        frozenSince = now;
        return;
    }
    if (!started)
        return;
    const double shift = now - std::max(frozenSince, gameStart);
    if (shift > 0.0)
    {
        gameStart += shift;
        queueStart += shift;
    }
}
