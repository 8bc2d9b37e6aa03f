#pragma once
// UTF-8 helpers for the text a movie's text fields hold.

#include <cstddef>
#include <string>

namespace swf
{

// The replacement character given for every invalid, truncated, over-long
// or surrogate sequence.
constexpr char32_t ReplacementCharacter = 0xFFFD;

// Decodes the character that starts at byte `pos` of `text` and moves `pos`
// past it. A sequence that is cut short consumes only its valid prefix, so
// the byte that broke it starts the next character.
[[nodiscard]] char32_t decodeUtf8(const std::string& text, std::size_t& pos);

// The first `count` characters of `text` (never splitting a sequence).
[[nodiscard]] std::string utf8Prefix(const std::string& text, std::size_t count);

// Number of characters in `text` as decodeUtf8 counts them.
[[nodiscard]] std::size_t utf8Length(const std::string& text);

} // namespace swf
