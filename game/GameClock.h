#pragma once

// The clocks of one game, in seconds on the application clock (doubles, so
// long runs keep millisecond precision): the game clock that Time Attack
// counts down from, and the start of the current Marathon queue period.
//
// The game is frozen while it is paused or the end-of-game dialog is open.
// When it thaws, both clocks move forward by the frozen time, but only by
// the part of it after the game clock started: a clock that has not started
// is never shifted, and a clock that started while the game was frozen
// counts from the moment the game thaws. Pause and dialog may overlap (the
// window can lose the focus under the dialog); the whole span from the
// first freeze to the last thaw counts once.
class GameClock
{
  public:
    // A new game: nothing started, nothing frozen, the queue period counted
    // from now.
    void Reset(double now);
    // The game clock starts now, and with it the queue period.
    void Start(double now);
    [[nodiscard]] bool IsStarted() const { return started; }
    [[nodiscard]] double GameStart() const { return gameStart; }
    // Seconds of play since the clock started (0 before it starts).
    [[nodiscard]] double Elapsed(double now) const { return started ? now - gameStart : 0.0; }

    [[nodiscard]] double QueueStart() const { return queueStart; }
    void RestartQueue(double now) { queueStart = now; }
    [[nodiscard]] double QueueBarRefreshed() const { return queueBarRefreshed; }
    void SetQueueBarRefreshed(double now) { queueBarRefreshed = now; }

    // Called after every change of the paused and dialog states.
    void SetFrozen(bool frozen, double now);
    [[nodiscard]] bool IsFrozen() const { return frozen; }

  private:
    bool started = false;
    bool frozen = false;
    double gameStart = 0.0;
    double queueStart = 0.0;
    double queueBarRefreshed = 0.0;
    double frozenSince = 0.0;
};
