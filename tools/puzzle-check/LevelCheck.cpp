#include "LevelCheck.h"

#include <cctype>
#include <charconv>
#include <cstring>

namespace
{

// Finds name="digits" in a tag and reads the number; nullopt when absent or
// not a plain decimal integer.
std::optional<int> Attribute(const std::string& tag, const char* name)
{
    const std::string key = std::string(" ") + name + "=\"";
    const size_t at = tag.find(key);
    if (at == std::string::npos)
        return std::nullopt;
    const char* first = tag.data() + at + key.size();
    const char* last = tag.data() + tag.size();
    int value = 0;
    const auto [end, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || end == last || *end != '"')
        return std::nullopt;
    return value;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size())
    {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

} // namespace

LevelFile ParseLevelText(const std::string& text)
{
    LevelFile level;
    const std::vector<std::string> lines = Lines(text);
    bool movesRead = false;
    std::array<bool, FieldCells> seen{};
    for (size_t i = 0; i < lines.size(); ++i)
    {
        const std::string& line = lines[i];
        const std::string where = "line " + std::to_string(i + 1) + ": ";
        if (line.rfind("<qvl", 0) == 0)
        {
            const std::optional<int> moves = Attribute(line, "moves");
            if (moves)
                level.moves = *moves;
            movesRead = moves.has_value();
            continue;
        }
        if (line.rfind("   <block ", 0) == 0)
        {
            const std::optional<int> x = Attribute(line, "x");
            const std::optional<int> y = Attribute(line, "y");
            const std::optional<int> colour = Attribute(line, "color");
            if (!x || !y || !colour)
            {
                level.errors.push_back(where + "block without x, y or color");
                continue;
            }
            if (*x < 0 || *x >= FieldColumns || *y < 0 || *y >= FieldRows)
            {
                level.errors.push_back(where + "block outside the field");
                continue;
            }
            if (!IsColour(static_cast<uint8_t>(*colour)) && *colour != WildCode)
            {
                level.errors.push_back(where + "bad colour code " + std::to_string(*colour));
                continue;
            }
            const size_t index = static_cast<size_t>(*y * FieldColumns + *x);
            if (seen[index])
                level.errors.push_back(where + "cell given twice");
            seen[index] = true;
            level.field.Set(*x, *y, static_cast<uint8_t>(*colour));
            continue;
        }
        if (line != "</qvl>")
            level.errors.push_back(where + "unexpected text");
    }
    if (!movesRead)
        level.errors.push_back("no move count: the file needs a <qvl moves=\"N\"> line");
    // The shipped text is what the editor would save, so a file re-saved from
    // the editor shows no change.
    if (level.errors.empty() && LevelText(level.field, level.moves) != text)
        level.errors.push_back("not in the level writer's form (row-major block lines, LF line ends)");
    return level;
}

std::string LevelText(const PuzzleField& field, int moves)
{
    std::string text = "<qvl moves=\"" + std::to_string(moves) + "\">\n";
    for (int row = 0; row < FieldRows; ++row)
    {
        for (int column = 0; column < FieldColumns; ++column)
        {
            const uint8_t code = field.At(column, row);
            if (code == EmptyCode)
                continue;
            text += "   <block x=\"" + std::to_string(column) + "\" y=\"" + std::to_string(row) + "\" color=\"" +
                    std::to_string(code) + "\"/>\n";
        }
    }
    text += "</qvl>\n";
    return text;
}

LevelReport CheckLevel(const std::string& text, MoveAllowance allowance, int maxMoves)
{
    LevelReport report;
    LevelFile level = ParseLevelText(text);
    report.moves = level.moves;
    report.errors = level.errors;
    const PuzzleField& field = level.field;

    if (level.moves < 1 || level.moves > 99)
        report.errors.push_back("move count " + std::to_string(level.moves) + " outside 1..99");
    if (field.IsEmpty())
        report.errors.push_back("no blocks");
    if (!field.IsAtRest())
        report.errors.push_back("not at rest: a block floats over an empty cell");
    std::array<bool, FieldCells> marked{};
    if (field.IsAtRest() && field.FindSets(marked) > 0)
        report.errors.push_back("a set is ready-made and clears before the first move");
    const bool wilds = field.Count(WildCode) > 0;
    for (uint8_t colour = 0; colour < ColourCount; ++colour)
    {
        const int n = field.Count(colour);
        if (!wilds && (n == 1 || n == 2))
            report.errors.push_back("colour " + std::to_string(colour) + " has " + std::to_string(n) +
                                    " block(s) and no Wild: it can never clear");
    }
    if (field.IsEmpty())
        return report;

    PuzzleSolver solver;
    report.measures = solver.Measure(field, maxMoves);
    if (report.measures.par == 0)
    {
        report.errors.push_back("no solution within " + std::to_string(maxMoves) + " moves");
        return report;
    }
    report.par = report.measures.par;
    report.solution = solver.Moves();
    const int par = *report.par;
    const bool allowed = level.moves == par || (allowance == MoveAllowance::ParOrOneMore && level.moves == par + 1);
    if (!allowed)
        report.errors.push_back("moves " + std::to_string(level.moves) + " but par is " + std::to_string(par) +
                                (allowance == MoveAllowance::ParOrOneMore ? " (par or par + 1 allowed)" : ""));
    return report;
}
