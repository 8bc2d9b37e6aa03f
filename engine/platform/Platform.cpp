#include "engine/platform/Platform.h"

#include "engine/platform/SdlPlatform.h"

namespace
{
std::unique_ptr<Platform> installed;
}

void Platform::Install(std::unique_ptr<Platform> platform)
{
    installed = std::move(platform);
}

Platform& Platform::Get()
{
    if (!installed)
        installed = std::make_unique<SdlPlatform>();
    return *installed;
}

bool Platform::IsInstalled()
{
    return installed != nullptr;
}

void Platform::Uninstall()
{
    if (installed && installed->IsWindowOpen())
        installed->CloseWindow();
    installed.reset();
}
