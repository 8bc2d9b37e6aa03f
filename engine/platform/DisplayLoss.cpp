#include "engine/platform/DisplayLoss.h"

#ifdef QUORVO_HAVE_X11
#include <unistd.h>

#include <X11/Xlib.h>

namespace
{

int OnDisplayLost(Display* display)
{
    (void)display;
    static const char message[] = "quorvo: the connection to the X display was lost; ending.\n";
    (void)!write(STDERR_FILENO, message, sizeof message - 1);
    _exit(1);
}

} // namespace

void EndAtOnceOnDisplayLoss()
{
    XSetIOErrorHandler(OnDisplayLost);
}

#else

void EndAtOnceOnDisplayLoss() {}

#endif
