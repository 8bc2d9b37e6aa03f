#include "engine/platform/HeadlessAudioBackend.h"

#include <cstring>

bool HeadlessAudioBackend::Open(const AudioOutputFormat& wanted, Pull pullFunction, std::string& error)
{
    if (refuseOpen)
    {
        error = "no audio device";
        return false;
    }
    format = wanted;
    pull = std::move(pullFunction);
    open = true;
    return true;
}

void HeadlessAudioBackend::Close()
{
    open = false;
    pull = nullptr;
}

void HeadlessAudioBackend::Pump(int frames)
{
    if (!open || frames <= 0 || format.bits != 16)
    {
        return;
    }
    const size_t sampleCount = static_cast<size_t>(frames) * static_cast<size_t>(format.channels);
    std::vector<uint8_t> bytes(sampleCount * 2);
    pull(bytes.data(), static_cast<int>(bytes.size()));
    const size_t start = samples.size();
    samples.resize(start + sampleCount);
    std::memcpy(samples.data() + start, bytes.data(), bytes.size());
}
