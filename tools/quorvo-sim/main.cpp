// quorvo-sim: reads a play script on standard input, prints state lines.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <unistd.h>

#include "app/Shutdown.h"
#include "tools/quorvo-sim/Simulator.h"

namespace
{

// The game folder holds the data archive; the tools folder sits beside it.
std::string GameArchive()
{
    char buffer[4096];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n > 0)
    {
        std::string exe(buffer, static_cast<size_t>(n));
        const size_t slash = exe.find_last_of('/');
        if (slash != std::string::npos)
        {
            const std::string candidate = exe.substr(0, slash) + "/../game/Quorvo.VKR";
            if (access(candidate.c_str(), R_OK) == 0)
                return candidate;
        }
    }
    return std::string(QUORVO_GAME_DIR) + "/Quorvo.VKR";
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1)
    {
        std::fputs(Simulator::Usage(), stdout);
        return argc == 2 && std::string(argv[1]) == "--help" ? 0 : 2;
    }
    // Saves go nowhere that outlives the run: into a scratch folder.
    char scratch[] = "/tmp/quorvo-sim-XXXXXX";
    const bool haveScratch = mkdtemp(scratch) != nullptr;
    if (haveScratch)
        setenv("XDG_DATA_HOME", scratch, 1);

    std::string error;
    int status = 0;
    {
        Simulator simulator;
        if (!haveScratch)
        {
            error = "cannot make a scratch folder for the save files";
            status = 2;
        }
        else if (!simulator.Open(GameArchive(), scratch, error))
        {
            status = 2;
        }
        else
        {
            status = simulator.Run(std::cin, std::cout, error);
        }
    }
    std::cout.flush();
    if (status != 0)
        std::cerr << "quorvo-sim: " << error << "\n";
    DestroyGameObjects();
    ShutdownEngine();
    if (haveScratch)
    {
        std::error_code ignored;
        std::filesystem::remove_all(scratch, ignored);
    }
    return status;
}
