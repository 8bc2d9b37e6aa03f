#pragma once

// Where SDL draws through X11: should the X server go away (killed, or the
// connection broken), the process ends at once with a line on standard
// error. Xlib's own handler ends it through exit(), whose clean-up closes
// the window once more over the dead connection and waits there for an
// answer that never comes, spinning for ever. Without Xlib, nothing.
void EndAtOnceOnDisplayLoss();
