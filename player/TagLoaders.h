#pragma once

#include "player/Forward.h"

#include <cstdint>

namespace swf
{

// A tag loader reads one tag (its header already read) and adds what it reads to `definition`.
using TagLoader = void (*)(SwfStream& stream, int code, TimelineDefinition& definition);

// Registers (or replaces) the loader of a tag code (0..1023).
void registerTagLoader(int code, TagLoader loader);
// Null for codes that are skipped.
TagLoader tagLoader(int code);
// Fills the table with the built-in loaders and installs the text and action support, once.
void ensurePlayerInitialised();

// Reads the tags of `definition` until `end` (or a short read / an early End tag);
// ShowFrame (1) advances the definition's loading frame.
void readTagStream(SwfStream& stream, int64_t end, TimelineDefinition& definition);

} // namespace swf
