#pragma once

#include <optional>
#include <string_view>

// Reads the numbers of SVG attribute values ("10,20 -3.5e2.5"): numbers are
// separated by white space and at most one comma, or simply run together
// where the next one starts with a sign or a second decimal point.
class NumberScanner
{
  public:
    explicit NumberScanner(std::string_view text) : text(text) {}

    [[nodiscard]] std::optional<double> Number();
    // A single "0" or "1" (arc flags may be written without separators).
    [[nodiscard]] std::optional<bool> Flag();
    void SkipSeparators();
    bool AtEnd();
    // Next non-separator character, or 0 at the end (not consumed).
    char Peek();
    void Advance() { ++pos; }
    size_t Position() const { return pos; }

  private:
    std::string_view text;
    size_t pos = 0;
};

// The number at the start of text, ignoring a trailing unit or "%"; nullopt
// when text does not start with a number.
[[nodiscard]] std::optional<double> ParseLength(std::string_view text);
