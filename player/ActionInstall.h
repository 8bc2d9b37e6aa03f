#pragma once

namespace swf
{

// Installs the movie script interpreter: the hooks through which sprites run their queued
// actions, clip events and event methods and follow a drag, and the release of the script
// built-ins at shutdown. Called once when the player initialises.
void installActionSupport();

} // namespace swf
