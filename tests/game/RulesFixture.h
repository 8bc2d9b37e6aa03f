#pragma once

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/Application.h"
#include "fixtures/HeadlessApp.h"
#include "game/BlockMover.h"
#include "game/Board.h"
#include "game/BoardRules.h"
#include "game/Scoring.h"

// Records everything the rules ask of the screen that owns the board.
class RecordingHost : public BoardRulesHost
{
  public:
    struct Multiplier
    {
        int value;
        SetArea area;
    };

    RulesKind kind = RulesKind::Marathon;
    std::vector<std::string> messages, sounds;
    std::vector<Multiplier> multipliers;
    std::vector<int> highScores, levels;

    RulesKind GetRulesKind() const override { return kind; }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    void PlaySound(const std::string& name) override { sounds.push_back(name); }
    void ShowMultiplier(int multiplier, const SetArea& area) override { multipliers.push_back({multiplier, area}); }
    void MovesLeftChanged(int) override {}
    void ScoreChanged(int) override {}
    void HighScoreChanged(int best) override { highScores.push_back(best); }
    void LevelChanged(int level) override { levels.push_back(level); }
    void UndoApplied(int, int) override {}

    [[nodiscard]] int CountSound(const std::string& name) const
    {
        return static_cast<int>(std::count(sounds.begin(), sounds.end(), name));
    }
};

// A board with its mover, scoring and rules on a headless 640 x 480
// application whose clock the test moves by hand.
class RulesFixture : public HeadlessApp
{
  protected:
    void SetUp() override
    {
        HeadlessApp::SetUp();
        ASSERT_TRUE(OpenWindow(640, 480));
        App().time = 100.0;
        board = std::make_unique<Board>();
        mover = std::make_unique<BlockMover>();
        scoring = std::make_unique<Scoring>();
        rules = std::make_unique<BoardRules>(*board, *mover, *scoring, host);
        board->SetGeometry(640, 480);
        for (int i = 0; i < Board::CellCount; ++i)
        {
            board->CellAtIndex(i).SetSize(board->Geometry().cellWidth, board->Geometry().cellHeight);
            board->PlaceCell(i % Board::Columns, i / Board::Columns);
        }
        rules->PlaceMover(0, 0);
    }

    void TearDown() override
    {
        rules.reset();
        scoring.reset();
        mover.reset();
        board.reset();
        HeadlessApp::TearDown();
    }

    // Up to ten rows of six Letters (below), top row first.
    void Layout(const std::vector<std::string>& rows)
    {
        Board::Codes codes{};
        codes.fill(BlockType::Empty);
        const int first = Board::Rows - static_cast<int>(rows.size());
        for (size_t i = 0; i < rows.size(); ++i)
            for (int c = 0; c < Board::Columns; ++c)
                codes[static_cast<size_t>((first + static_cast<int>(i)) * Board::Columns + c)] =
                    CodeOf(rows[i][static_cast<size_t>(c)]);
        board->SetCodes(codes);
    }

    // Codes 0..7 as characters: the colours, '5' the code without a picture, '.' Empty, 'W' Wild.
    static constexpr const char* Letters = "ROBPG5.W";
    [[nodiscard]] static BlockType CodeOf(char ch)
    {
        const char* at = std::strchr(Letters, ch);
        return at != nullptr && ch != 0 ? static_cast<BlockType>(at - Letters) : BlockType::Empty;
    }
    [[nodiscard]] static char CharOf(BlockType type)
    {
        const int code = static_cast<int>(type);
        return code >= 0 && code < 8 ? Letters[code] : '.';
    }

    // One row as characters.
    [[nodiscard]] std::string Row(int r) const
    {
        std::string text;
        for (int c = 0; c < Board::Columns; ++c)
            text += CharOf(board->Cell(c, r).GetType());
        return text;
    }

    [[nodiscard]] BlockType At(int c, int r) const { return board->Cell(c, r).GetType(); }

    // One update: the clock moves by step seconds, then the rules run.
    RulesStepResult Step(double step = 0.02)
    {
        App().time += step;
        return rules->RulesStep();
    }

    // Steps until nothing falls, clears or swaps (at most `limit` steps);
    // pays out every step like the play screen does. Returns the steps run.
    int Settle(double step = 0.02, int limit = 2000)
    {
        for (int i = 0; i < limit; ++i)
        {
            const RulesStepResult r = Step(step);
            scoring->Payout(host.kind, r.falling, r.clearing, host);
            if (!r.falling && !r.clearing && !rules->IsSwapPending() && !r.setsFound)
                return i + 1;
        }
        return limit;
    }

    RecordingHost host;
    std::unique_ptr<Board> board;
    std::unique_ptr<BlockMover> mover;
    std::unique_ptr<Scoring> scoring;
    std::unique_ptr<BoardRules> rules;
};
