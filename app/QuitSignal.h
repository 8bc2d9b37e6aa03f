#pragma once

// SIGTERM (logging out, kill) and SIGINT (Ctrl+C) end the game the way its
// close box does: the main loop stops at its next frame and the options are
// saved. A second signal while the first is pending ends the process at once.
class QuitSignal
{
  public:
    static void Install();
    // Back to the default handlers, and forgets a received signal.
    static void Uninstall();
    [[nodiscard]] static bool Received();
};
