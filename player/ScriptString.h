#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace swf
{

// Script strings are UTF-8; the string actions and methods count characters, not bytes.
// A byte that starts no valid sequence decodes as U+FFFD and counts as one character.
std::vector<uint32_t> decodeUtf8(const std::string& text);
void appendUtf8(std::string& out, uint32_t code);
std::string encodeUtf8(const std::vector<uint32_t>& codes, std::size_t from, std::size_t count);

// Strings built by scripts are cut to this many bytes, so a doubling loop cannot exhaust memory.
constexpr std::size_t MaxScriptString = 1u << 20;
std::string limitScriptString(std::string text);

} // namespace swf
