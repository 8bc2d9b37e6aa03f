#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "engine/platform/SdlAudioBackend.h"
#include "fixtures/ScopedEnv.h"
#include "media/AudioDevice.h"
#include "media/SoundData.h"

namespace
{

std::vector<int16_t> ReadSamples(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<int16_t> samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 2); // in the machine's byte order, as SDL writes it
    return samples;
}

// SDL's disk driver writes exactly what the mixer hands it, so the whole path
// from a voice to the output can be checked sample by sample.
TEST(SdlAudioBackendTest, MixedSamplesReachTheOutputUnchangedAfterTheQueuedBuffers)
{
    const std::string file = std::filesystem::temp_directory_path() / ("quorvo-audio-" + std::to_string(getpid()));
    ScopedEnv driver("SDL_AUDIODRIVER", "disk");
    ScopedEnv output("SDL_DISKAUDIOFILE", file);
    ScopedEnv delay("SDL_DISKAUDIODELAY", "0"); // no waiting between writes

    AudioDevice device;
    ASSERT_EQ(device.Open(std::make_unique<SdlAudioBackend>(), 175, 2, 16, 22050, 5), AudioError::None);
    AudioFormatRecord format;
    ASSERT_EQ(device.GetFormat(format), AudioError::None);
    EXPECT_NE(std::string(format.description).find("disk"), std::string::npos) << format.description;

    std::vector<int16_t> ramp;
    for (int i = 0; i < 3000; ++i)
        ramp.insert(ramp.end(), {static_cast<int16_t>(i * 10), static_cast<int16_t>(-i * 10)});
    std::shared_ptr<SoundData> data;
    ASSERT_EQ(device.CreateDecodedSound(data, ramp), AudioError::None);
    int voice = -1;
    ASSERT_EQ(device.Play(data, voice, 65535, 0, 0, 0, -1), AudioError::None);
    const auto enough = [&] { return std::filesystem::exists(file) && std::filesystem::file_size(file) > 400000; };
    for (int i = 0; i < 200 && device.IsPlaying(voice, data.get()) && !enough(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    device.Close();

    const std::vector<int16_t> written = ReadSamples(file);
    std::filesystem::remove(file);
    ASSERT_GT(written.size(), 100000u);
    // Find where the ramp begins (the output may have started before Play)
    // and check a few passes of it, looping without a gap.
    size_t start = 0;
    while (start < written.size() && written[start] == 0)
        ++start;
    ASSERT_GE(start, 2u);
    start -= 2; // the ramp's first frame is silent
    const size_t checked = std::min<size_t>(written.size() - start, ramp.size() * 3);
    ASSERT_GT(checked, ramp.size() * 2);
    for (size_t i = 0; i < checked; ++i)
        ASSERT_EQ(written[start + i], (ramp[i % ramp.size()] * 65535) >> 16) << "sample " << i;
}

TEST(SdlAudioBackendTest, MissingDriverIsReportedAsADeviceFailure)
{
    ScopedEnv driver("SDL_AUDIODRIVER", "no-such-driver");
    AudioDevice device;
    EXPECT_EQ(device.Open(std::make_unique<SdlAudioBackend>(), 175, 2, 16, 22050, 5), AudioError::DeviceFailure);
    EXPECT_FALSE(device.IsOpen());
}

} // namespace
