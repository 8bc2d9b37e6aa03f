#include "game/Scoring.h"

#include <limits>

namespace
{

// Adds without passing the largest int: an absurd combo saturates instead of
// wrapping into a negative score.
int SaturatingAdd(int value, int64_t amount)
{
    const int64_t sum = static_cast<int64_t>(value) + amount;
    if (sum > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    return static_cast<int>(sum);
}

} // namespace

int Scoring::StartLevelOf(int difficulty)
{
    if (difficulty == 1)
        return 1;
    if (difficulty == 3)
        return 3;
    return 6;
}

double Scoring::QueuePeriodAt(int level)
{
    return 9.5 - 0.8 * level;
}

double Scoring::StartQueuePeriod(int startLevel)
{
    return startLevel == 1 ? 9.5 : QueuePeriodAt(startLevel);
}

const char* Scoring::MessageFor(int multiplier)
{
    if (multiplier <= 1)
        return nullptr;
    switch (multiplier)
    {
    case 2:
        return "Good!";
    case 3:
        return "Very Good!";
    case 4:
        return "Great!";
    default:
        return "Excellent!";
    }
}

int64_t Scoring::ScoreForLevel(int level, int startLevel)
{
    const int64_t l = level - 1;
    const int64_t s = startLevel - 1;
    return 500 * l * l - 500 * s * s;
}

void Scoring::StartGame(int difficulty, int bestMarathonScore, int bestTimeAttackScore)
{
    score = 0;
    chainPoints = 0;
    chainMultiplier = 0;
    startLevel = StartLevelOf(difficulty);
    level = startLevel;
    bestMarathon = bestMarathonScore;
    bestTimeAttack = bestTimeAttackScore;
    queuePeriod = 0.0;
}

void Scoring::AddSet(int length)
{
    chainMultiplier = SaturatingAdd(chainMultiplier, length - 2);
}

void Scoring::AddBlock()
{
    chainPoints = SaturatingAdd(chainPoints, PointsPerBlock);
}

void Scoring::ResetChain()
{
    chainPoints = 0;
    chainMultiplier = 0;
}

bool Scoring::Payout(RulesKind kind, bool anyFalling, bool anyClearing, BoardRulesHost& host)
{
    if (kind == RulesKind::PuzzleChallenge)
        ResetChain();
    if (anyFalling || anyClearing)
        return false;

    const int multiplier = chainMultiplier;
    const int64_t points = static_cast<int64_t>(chainPoints) * multiplier;
    if (const char* message = MessageFor(multiplier))
        host.ShowMessage(message);

    bool paid = false;
    if (points > 0)
    {
        score = SaturatingAdd(score, points);
        host.ScoreChanged(score);
        if (kind == RulesKind::Marathon && score >= bestMarathon)
        {
            bestMarathon = score;
            host.HighScoreChanged(bestMarathon);
        }
        else if (kind == RulesKind::TimeAttack && score >= bestTimeAttack)
        {
            bestTimeAttack = score;
            host.HighScoreChanged(bestTimeAttack);
        }
        paid = true;
    }
    ResetChain();
    return paid;
}

bool Scoring::LevelUp(BoardRulesHost& host)
{
    if (host.GetRulesKind() != RulesKind::Marathon)
        return false;
    // The start level is credited with the score it would have taken to reach it.
    const int64_t l = level;
    const int64_t s = startLevel - 1;
    if (500 * l * l > 500 * s * s + score)
        return false;
    queuePeriod = QueuePeriodAt(level);
    if (queuePeriod >= MinQueuePeriod)
    {
        host.ShowMessage("Level Up!");
        ++level;
        host.LevelChanged(level);
        return true;
    }
    queuePeriod = MinQueuePeriod;
    return false;
}
