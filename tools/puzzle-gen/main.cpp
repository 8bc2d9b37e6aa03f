// puzzle-gen: proposes candidate puzzles that need exactly a given number of
// moves, with the measures used to grade the shipped collection.
//
//   puzzle-gen --par N [--count N] [--seed N] [--blocks MIN MAX]
//              [--colours MIN MAX] [--wilds MAX] [--budget SECONDS]
//
// Each candidate is a random field at rest with no ready-made set, every
// colour three blocks or more (beyond par 3, one of par 3 made deeper by
// swaps that each undo themselves); the solver must prove it clears in par
// moves and not fewer within the time budget (so its hint stays quick). Prints one
// line per candidate: the measures, then the 60 cell codes row by row
// ('.' empty, R O B P G the colours, W Wild). Fields that are mirror images of
// one printed before are skipped.
#include "game/PuzzleSolver.h"

#include <algorithm>
#include <charconv>
#include <iostream>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace
{

struct Options
{
    int par = 1;
    int count = 10;
    unsigned seed = 1;
    int minBlocks = 6;
    int maxBlocks = 12;
    int minColours = 2;
    int maxColours = 3;
    int maxWilds = 0;
    double budget = 0.1;
};

bool ReadInt(const char* text, int& value)
{
    const char* end = text + std::char_traits<char>::length(text);
    const auto [stop, ec] = std::from_chars(text, end, value);
    return ec == std::errc() && stop == end;
}

std::string Letters(const PuzzleField& field)
{
    static const char letters[] = "ROBPG5.W";
    std::string text;
    for (uint8_t code : field.Codes())
        text += letters[code & 7u];
    return text;
}

PuzzleField Mirrored(const PuzzleField& field)
{
    PuzzleField mirror;
    for (int row = 0; row < FieldRows; ++row)
    {
        for (int column = 0; column < FieldColumns; ++column)
            mirror.Set(FieldColumns - 1 - column, row, field.At(column, row));
    }
    return mirror;
}

// A field at rest: the blocks stacked in columns of random heights, colours
// dealt from a shuffled pile.
PuzzleField RandomField(const Options& options, std::mt19937& random)
{
    std::uniform_int_distribution<int> colourCount(options.minColours, options.maxColours);
    std::uniform_int_distribution<int> wildCount(0, options.maxWilds);
    std::uniform_int_distribution<int> extra(0, 2);
    std::vector<uint8_t> pile;
    std::vector<uint8_t> colours = {0, 1, 2, 3, 4};
    std::shuffle(colours.begin(), colours.end(), random);
    const int used = colourCount(random);
    for (int i = 0; i < used; ++i)
    {
        // Three of a colour, sometimes a fourth or fifth, or six.
        const int roll = extra(random);
        const int n = roll == 0 ? 3 : roll == 1 ? 3 + extra(random) : 6;
        pile.insert(pile.end(), static_cast<size_t>(n), colours[static_cast<size_t>(i)]);
    }
    pile.insert(pile.end(), static_cast<size_t>(wildCount(random)), WildCode);
    std::shuffle(pile.begin(), pile.end(), random);
    PuzzleField field;
    int heights[FieldColumns] = {};
    std::uniform_int_distribution<int> column(0, FieldColumns - 1);
    for (uint8_t code : pile)
    {
        int c = column(random);
        while (heights[c] >= FieldRows - 2)
            c = column(random);
        field.Set(c, FieldRows - 1 - heights[c], code);
        ++heights[c];
    }
    return field;
}

// True when the solver proves the field clears in exactly par moves within the budget.
bool HasPar(PuzzleSolver& solver, const PuzzleField& field, int par, double budget)
{
    solver.Start(field, par);
    return solver.Step(budget) == PuzzleSolver::Status::Solved && static_cast<int>(solver.Moves().size()) == par;
}

// Makes a field one move deeper at a time: a swap of two blocks that makes
// no set undoes itself, so the result clears within one move more; it is
// kept when the solver finds no shorter way.
bool Deepen(PuzzleField& field, int par, int targetPar, const Options& options, PuzzleSolver& solver,
            std::mt19937& random)
{
    std::uniform_int_distribution<int> pick(0, SwapCount - 1);
    while (par < targetPar)
    {
        bool deeper = false;
        for (int attempt = 0; attempt < 40 && !deeper; ++attempt)
        {
            const Swap swap = SwapAt(pick(random));
            const uint8_t a = field.At(swap.column, swap.row);
            const uint8_t b = field.At(swap.SecondColumn(), swap.SecondRow());
            if (a == b || a == EmptyCode || b == EmptyCode)
                continue;
            PuzzleField next = field;
            next.Set(swap.column, swap.row, b);
            next.Set(swap.SecondColumn(), swap.SecondRow(), a);
            std::array<bool, FieldCells> marked{};
            if (next.FindSets(marked) > 0 || !HasPar(solver, next, par + 1, options.budget))
                continue;
            field = next;
            deeper = true;
        }
        if (!deeper)
            return false;
        ++par;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    Options options;
    for (int i = 1; i < argc; ++i)
    {
        const std::string arg = argv[i];
        int value = 0;
        int second = 0;
        const bool one = i + 1 < argc && ReadInt(argv[i + 1], value);
        const bool two = one && i + 2 < argc && ReadInt(argv[i + 2], second);
        if (arg == "--par" && one)
            options.par = value, ++i;
        else if (arg == "--count" && one)
            options.count = value, ++i;
        else if (arg == "--seed" && one)
            options.seed = static_cast<unsigned>(value), ++i;
        else if (arg == "--wilds" && one)
            options.maxWilds = value, ++i;
        else if (arg == "--budget" && one)
            options.budget = value / 1000.0, ++i;
        else if (arg == "--blocks" && two)
            options.minBlocks = value, options.maxBlocks = second, i += 2;
        else if (arg == "--colours" && two)
            options.minColours = value, options.maxColours = second, i += 2;
        else
        {
            std::cerr << "usage: puzzle-gen --par N [--count N] [--seed N] [--blocks MIN MAX] [--colours MIN MAX]"
                         " [--wilds MAX] [--budget MILLISECONDS]\n";
            return 2;
        }
    }
    if (options.par < 1 || options.minColours < 1 || options.maxColours > ColourCount ||
        options.minColours > options.maxColours || options.minBlocks > options.maxBlocks)
    {
        std::cerr << "puzzle-gen: bad ranges\n";
        return 2;
    }

    std::mt19937 random(options.seed);
    std::set<std::string> seen;
    PuzzleSolver solver;
    int found = 0;
    while (found < options.count)
    {
        const PuzzleField field = RandomField(options, random);
        const int blocks = FieldCells - field.Count(EmptyCode);
        std::array<bool, FieldCells> marked{};
        if (blocks < options.minBlocks || blocks > options.maxBlocks || field.FindSets(marked) > 0 ||
            PuzzleSolver::IsHopeless(field))
            continue;
        const std::string key = std::min(Letters(field), Letters(Mirrored(field)));
        if (!seen.insert(key).second)
            continue;
        // Deep puzzles start from a random one of par 3 made deeper swap by swap.
        const int basePar = std::min(options.par, 3);
        PuzzleField puzzle = field;
        if (!HasPar(solver, puzzle, basePar, options.budget) ||
            !Deepen(puzzle, basePar, options.par, options, solver, random))
            continue;
        const std::string puzzleKey = std::min(Letters(puzzle), Letters(Mirrored(puzzle)));
        if (puzzleKey != key && !seen.insert(puzzleKey).second)
            continue;
        const PuzzleSolver::Measures m = solver.Measure(puzzle, options.par);
        ++found;
        std::cout << "par " << m.par << " solutions " << m.solutions << " searched " << m.searched << " wilds "
                  << m.wilds << " cascades " << m.cascades << " blocks " << blocks << " " << Letters(puzzle) << "\n"
                  << std::flush;
    }
    return 0;
}
