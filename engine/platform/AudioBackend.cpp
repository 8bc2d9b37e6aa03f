#include "engine/platform/AudioBackend.h"

#include "engine/platform/SdlAudioBackend.h"

namespace
{
std::function<std::unique_ptr<AudioBackend>()>& Factory()
{
    static std::function<std::unique_ptr<AudioBackend>()> factory;
    return factory;
}
} // namespace

std::unique_ptr<AudioBackend> AudioBackend::Create()
{
    if (Factory())
    {
        return Factory()();
    }
    return std::make_unique<SdlAudioBackend>();
}

void AudioBackend::SetFactory(std::function<std::unique_ptr<AudioBackend>()> factory)
{
    Factory() = std::move(factory);
}
