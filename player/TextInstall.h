#pragma once
// Installs the text part of the player: the loaders of the font and text tags.

namespace swf
{

// Registers the loaders of DefineFont, DefineText, DefineFontInfo,
// DefineText2, DefineEditText and DefineFont2; called once when the player
// initialises.
void installTextSupport();

} // namespace swf
