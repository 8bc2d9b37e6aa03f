#pragma once

#include <cstdint>

#include "game/BoardRulesHost.h"

// Score, combo counters and the Marathon level. Sets found while the board
// is in motion add to the chain; the chain is paid out as one combo once
// nothing falls or clears any more.
class Scoring
{
  public:
    static constexpr int PointsPerBlock = 25;
    static constexpr int MaxLevel = 10;
    static constexpr double MinQueuePeriod = 2.0; // seconds

    // Start level of a difficulty value: 1 (Easy), 3 (Medium), anything
    // else plays as Hard, 6.
    [[nodiscard]] static int StartLevelOf(int difficulty);
    // The Marathon queue period in seconds at a level: 9.5 - 0.8 x level.
    [[nodiscard]] static double QueuePeriodAt(int level);
    // The first period of a Marathon game, set when its clock starts: 9.5 s
    // from level 1, QueuePeriodAt(start level) from any other.
    [[nodiscard]] static double StartQueuePeriod(int startLevel);
    // The praise for a chain multiplier, or null for none (0 or 1).
    [[nodiscard]] static const char* MessageFor(int multiplier);
    // The score at which a game started at startLevel reaches level
    // (500 x (level - 1)^2 - 500 x (startLevel - 1)^2).
    [[nodiscard]] static int64_t ScoreForLevel(int level, int startLevel);

    // A new game: score and chain 0, level from the difficulty, the best
    // scores shown during play. The queue stays stopped (period 0) until
    // the game clock starts.
    void StartGame(int difficulty, int bestMarathonScore, int bestTimeAttackScore);

    // One set of `length` blocks: the multiplier grows by length - 2.
    void AddSet(int length);
    // One block of a set that was not already clearing: 25 points.
    void AddBlock();

    // The payout step of one update. Puzzle Challenge earns nothing. While
    // anything falls or clears the chain goes on; otherwise the chain is
    // praised, paid into the score and reset. True when points were paid.
    bool Payout(RulesKind kind, bool anyFalling, bool anyClearing, BoardRulesHost& host);
    // Marathon level-up test, at most one level per call. True on a level-up.
    bool LevelUp(BoardRulesHost& host);

    [[nodiscard]] int Score() const { return score; }
    [[nodiscard]] int ChainPoints() const { return chainPoints; }
    [[nodiscard]] int ChainMultiplier() const { return chainMultiplier; }
    [[nodiscard]] int Level() const { return level; }
    [[nodiscard]] int StartLevel() const { return startLevel; }
    [[nodiscard]] int BestMarathon() const { return bestMarathon; }
    [[nodiscard]] int BestTimeAttack() const { return bestTimeAttack; }
    [[nodiscard]] double QueuePeriod() const { return queuePeriod; }
    // The game end stops the queue (period 0); the clock start sets the first period.
    void SetQueuePeriod(double seconds) { queuePeriod = seconds; }
    void ResetChain();

  private:
    int score = 0;
    int chainPoints = 0;
    int chainMultiplier = 0;
    int level = 1;
    int startLevel = 1;
    int bestMarathon = 0;
    int bestTimeAttack = 0;
    double queuePeriod = 0.0; // seconds between Marathon drops
};
