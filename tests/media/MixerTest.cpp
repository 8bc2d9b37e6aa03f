#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <tuple>

#include <gtest/gtest.h>

#include "engine/FileSystem.h"
#include "engine/platform/HeadlessAudioBackend.h"
#include "fixtures/HeadlessApp.h"
#include "fixtures/OggWriter.h"
#include "media/AudioDevice.h"
#include "media/Sound.h"
#include "media/SoundData.h"
#include "media/SoundManager.h"

namespace
{

constexpr int Rate = 22050;
// 8 rotating buffers of 463 frames are queued ahead of the output.
constexpr int LatencyFrames = 8 * 463;

class MixerTest : public HeadlessApp
{
  protected:
    void SetUp() override
    {
        HeadlessApp::SetUp();
        ASSERT_TRUE(FileSystem::Get().Init("."));
        output = OpenAudio();
        ASSERT_NE(output, nullptr);
    }

    // Writes a sine tone as Data/Sounds/<name>.ogg and loads it as an effect or as music.
    Sound* Load(const std::string& name, int frames, double amplitude = 8000.0, bool music = false, int channels = 2,
                int rate = Rate)
    {
        WriteFile("Data/Sounds/" + name + ".ogg", ToneFile(frames, amplitude, channels, rate));
        return music ? SoundManager::Get().LoadMusic("Data/Sounds/" + name)
                     : SoundManager::Get().LoadEffect("Data/Sounds/" + name);
    }

    AudioDevice& Device() { return *SoundManager::Get().Device(); }

    std::shared_ptr<SoundData> Decoded(const std::vector<int16_t>& samples)
    {
        std::shared_ptr<SoundData> data;
        EXPECT_EQ(Device().CreateDecodedSound(data, samples), AudioError::None);
        return data;
    }

    // Pumps frames of output and returns them (interleaved stereo).
    std::vector<int16_t> Pump(int frames)
    {
        output->ClearSamples();
        output->Pump(frames);
        return output->Samples();
    }
    // What is heard once the queued buffers are through.
    std::vector<int16_t> Heard(int frames)
    {
        Pump(LatencyFrames);
        return Pump(frames);
    }

    static int Peak(const std::vector<int16_t>& samples)
    {
        int peak = 0;
        for (int16_t s : samples)
            peak = std::max(peak, std::abs(static_cast<int>(s)));
        return peak;
    }

    static std::vector<int16_t> Constant(size_t frames, int16_t value)
    {
        return std::vector<int16_t>(frames * 2, value);
    }

    HeadlessAudioBackend* output = nullptr;
};

TEST_F(MixerTest, SoundStartsAfterTheQueuedBuffersScaledByVolumeAndSaturates)
{
    auto data = Decoded(Constant(1000, 20000));
    int voice = -1;
    ASSERT_EQ(Device().Play(data, voice, 32768, 0, 0, 0, 1), AudioError::None);
    EXPECT_EQ(voice, 0);
    EXPECT_EQ(Peak(Pump(LatencyFrames)), 0);
    const std::vector<int16_t> heard = Pump(1200);
    // (20000 * 32768) >> 16 = 10000, for exactly the 1000 frames of the sound.
    for (size_t i = 0; i < heard.size(); ++i)
        ASSERT_EQ(heard[i], i < 2000 ? 10000 : 0) << i;

    for (int16_t level : {30000, -30000})
    {
        auto loud = Decoded(Constant(600, level));
        for (int copy = 0; copy < 2; ++copy)
            ASSERT_EQ(Device().Play(loud, voice, 65535, 0, 0, 0, 1), AudioError::None);
        const std::vector<int16_t> sum = Heard(100);
        EXPECT_TRUE(std::all_of(sum.begin(), sum.end(), [&](int16_t s) { return s == (level > 0 ? 32767 : -32768); }));
        Pump(600); // both copies end
    }
}

TEST_F(MixerTest, LoopCountsAndTheEndOfTheDataAreHonoured)
{
    std::vector<int16_t> ramp;
    for (int i = 1; i <= 10; ++i)
        ramp.insert(ramp.end(), {static_cast<int16_t>(1000 * i), static_cast<int16_t>(-1000 * i)});
    auto data = Decoded(ramp);
    int voice = -1;
    // Three passes, then free; an end past the data is cut to the data.
    ASSERT_EQ(Device().Play(data, voice, 65535, 0, 0, 1000000, 3), AudioError::None);
    const std::vector<int16_t> heard = Heard(40);
    for (size_t i = 0; i < 60; ++i)
        ASSERT_EQ(heard[i], (ramp[i % 20] * 65535) >> 16) << i;
    EXPECT_EQ(Peak(std::vector<int16_t>(heard.begin() + 60, heard.end())), 0);
    EXPECT_EQ(Device().BusyVoices(), 0);
    EXPECT_EQ(data.use_count(), 1); // the freed voice let go of the data
}

TEST_F(MixerTest, BadRequestsAreRefused)
{
    std::shared_ptr<SoundData> data;
    EXPECT_EQ(Device().CreateDecodedSound(data, {}), AudioError::BadArgument);
    data = Decoded(Constant(10, 1));
    int voice = -1;
    // No data, no pass at all, voices out of range: each a bad argument.
    EXPECT_EQ((std::vector<AudioError>{Device().Play(nullptr, voice, 65535, 0, 0, 0, 1),
                                       Device().Play(data, voice, 65535, 0, 0, 0, 0), Device().Stop(7, data.get()),
                                       Device().Stop(-1, data.get()), Device().SetVolume(5, data.get(), 1)}),
              std::vector<AudioError>(5, AudioError::BadArgument));

    ASSERT_EQ(Device().Play(data, voice, 65535, 0, 0, 0, -1), AudioError::None);
    std::shared_ptr<SoundData> mine = data;
    EXPECT_EQ(Device().ReleaseData(mine), AudioError::DataInUse);
    // A voice answers only for the sound it plays.
    auto other = Decoded(Constant(10, 1));
    EXPECT_EQ((std::vector<AudioError>{Device().Stop(voice, other.get()), Device().SetVolume(voice, nullptr, 1),
                                       Device().SetVolume(voice, data.get(), 1), Device().ReleaseData(other),
                                       Device().Stop(voice, data.get()), Device().ReleaseData(data)}),
              (std::vector<AudioError>{AudioError::BadArgument, AudioError::BadArgument, AudioError::None,
                                       AudioError::None, AudioError::None, AudioError::None}));

    AudioDevice closed;
    EXPECT_EQ(closed.Open(nullptr, 175, 2, 16, 22050, 5), AudioError::MissingDevice);
    EXPECT_EQ(closed.Open(std::make_unique<HeadlessAudioBackend>(), 175, 3, 16, 22050, 5), AudioError::BadArgument);
    EXPECT_EQ(closed.Open(std::make_unique<HeadlessAudioBackend>(true), 175, 2, 16, 22050, 5),
              AudioError::DeviceFailure);
}

TEST_F(MixerTest, MonoEffectPlaysIdenticallyOnBothChannelsAndFreesItsVoice)
{
    Sound* sound = Load("Mono", 4000, 12000.0, false, 1);
    ASSERT_TRUE(sound->Play(false));
    const std::vector<int16_t> heard = Heard(4000);
    EXPECT_GT(Peak(heard), 8000);
    for (size_t f = 0; f < 4000; ++f)
        ASSERT_EQ(heard[f * 2], heard[f * 2 + 1]) << f;
    Pump(1000);
    EXPECT_FALSE(sound->IsPlaying());
    EXPECT_EQ(std::make_pair(Device().BusyVoices(), sound->Channel()), std::make_pair(0, -1));
    sound->Release();
}

TEST_F(MixerTest, EffectLoadedTwiceIsSharedAndFreedByTheLastRelease)
{
    Sound* first = Load("Click", 500);
    Sound* second = SoundManager::Get().LoadEffect("data/sounds/CLICK"); // the map ignores case
    ASSERT_EQ(first, second);
    EXPECT_EQ(first->RefCount(), 2);
    first->Release();
    EXPECT_EQ(std::make_pair(SoundManager::Get().EffectCount(), second->HasData()),
              (std::make_pair<size_t, bool>(1, true)));
    second->Release();
    EXPECT_EQ(SoundManager::Get().EffectCount(), 0u);

    // A sixth effect is refused and interrupts nothing.
    Sound* sound = Load("Tone", 2000, 3000.0);
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(sound->Play(true)) << i;
    EXPECT_EQ(sound->Channel(), 4); // the newest voice
    EXPECT_FALSE(sound->Play(false));
    EXPECT_EQ(std::make_pair(Device().BusyVoices(), sound->Channel()), std::make_pair(5, 4));
    sound->Release();
}

TEST_F(MixerTest, EffectsVolumeReachesPlayingAndLaterEffects)
{
    Sound* playing = Load("Long", 20000, 16000.0);
    ASSERT_TRUE(playing->Play(false));
    const int fullPeak = Peak(Heard(LatencyFrames));
    ASSERT_GT(fullPeak, 14000);
    SoundManager::Get().SetEffectsVolume(0.5f);
    EXPECT_FLOAT_EQ(playing->GetVolume(), 0.5f);
    EXPECT_NEAR(Peak(Heard(LatencyFrames)), fullPeak / 2, fullPeak / 20);
    Sound* later = Load("Later", 5000);
    EXPECT_FLOAT_EQ(later->GetVolume(), 0.5f);

    // Out-of-range and not-a-number volumes never reach the voices.
    for (float wild : {7.0f, std::nanf("")})
    {
        SoundManager::Get().SetEffectsVolume(wild);
        EXPECT_FLOAT_EQ(SoundManager::Get().GetEffectsVolume(), 1.0f) << wild;
    }
    later->Release();
    playing->Release();
}

TEST_F(MixerTest, DamagedOrMissingEffectFilesGiveASilentSoundAndAMessage)
{
    const std::string good = ToneFile(8000);
    WriteFile("Data/Sounds/Garbage.ogg", std::string(3000, '\x5A'));
    WriteFile("Data/Sounds/Truncated.ogg", good.substr(0, good.size() / 2));
    WriteFile("Data/Sounds/Empty.ogg", EncodeOggVorbis({}, 2, Rate));
    std::string damaged = good;
    for (size_t i = good.size() / 3; i < good.size(); i += 97)
        damaged[i] = static_cast<char>(damaged[i] ^ 0xA5);
    WriteFile("Data/Sounds/Damaged.ogg", damaged);

    for (const char* name : {"Missing", "Garbage", "Empty"})
    {
        Platform().ClearMessages();
        Platform().AdvanceTicks(1000); // a second apart: each failure is shown
        Sound* sound = SoundManager::Get().LoadEffect(std::string("Data/Sounds/") + name);
        EXPECT_FALSE(sound->HasData() || sound->Play(false)) << name;
        ASSERT_EQ(Platform().Messages().size(), 1u) << name;
        EXPECT_EQ(Platform().Messages()[0].text, "Unable to load sound file.");
        sound->Release();
    }
    // Damaged streams keep whatever decoded before the damage and play it.
    for (const char* name : {"Data/Sounds/Truncated", "Data/Sounds/Damaged"})
    {
        Sound* sound = SoundManager::Get().LoadEffect(name);
        if (sound->HasData())
        {
            EXPECT_TRUE(sound->Play(false)) << name;
            Pump(LatencyFrames + 9000);
            EXPECT_EQ(Device().BusyVoices(), 0) << name;
        }
        sound->Release();
    }
}

TEST_F(MixerTest, LoopingMusicRestartsAtItsFirstSampleWithoutAGap)
{
    Sound* music = Load("Loop", 3000, 10000.0, true);
    const std::string file = ReadFile("Data/Sounds/Loop.ogg");
    DecodedSound reference;
    ASSERT_TRUE(DecodeOggVorbisFloat(std::vector<uint8_t>(file.begin(), file.end()), reference));
    ASSERT_EQ(reference.samples.size(), 6000u);
    ASSERT_TRUE(music->Play(false)); // music always repeats
    const std::vector<int16_t> heard = Heard(3000 * 3 + 500);
    for (size_t i = 0; i < heard.size(); ++i)
    {
        // As the decoder turns its floats into 16-bit samples: rounded, clipped.
        const long sample = std::clamp(std::lrint(reference.samples[i % 6000] * 32768.f), -32768L, 32767L);
        ASSERT_EQ(heard[i], (sample * 65535) >> 16) << "sample " << i;
    }
    EXPECT_TRUE(music->Stop() && Device().BusyVoices() == 0);
    music->Release();
    Pump(LatencyFrames); // the buffers mixed before the stop

    // Music without samples plays silence.
    music = Load("Nothing", 0, 0.0, true);
    ASSERT_TRUE(music->Play(true));
    EXPECT_EQ(Peak(Pump(LatencyFrames * 3)), 0);
    EXPECT_TRUE(music->Stop());
    music->Release();
}

TEST_F(MixerTest, MusicAtAnotherRateOrChannelCountIsRefusedSilently)
{
    for (Sound* music : {Load("Fast", 2000, 8000.0, true, 2, 44100), Load("Mono", 2000, 8000.0, true, 1),
                         SoundManager::Get().LoadMusic("Data/Sounds/Absent")})
    {
        EXPECT_FALSE(music->HasData() || music->Play(true));
        music->Release();
    }
    EXPECT_TRUE(Platform().Messages().empty());
}

TEST_F(MixerTest, StaleVoiceOfAFinishedEffectLeavesTheMusicThatTookItAlone)
{
    Sound* blip = Load("Blip", 200);
    ASSERT_TRUE(blip->Play(false));
    Pump(LatencyFrames + 500); // the blip ends; its voice is free again
    Sound* theme = Load("Theme", 6000, 10000.0, true);
    ASSERT_TRUE(theme->Play(true));
    ASSERT_EQ(theme->Channel(), 0); // the voice the blip had
    SoundManager::Get().SetEffectsVolume(0.0f);
    blip->Release(); // stops the blip: must not stop the music
    EXPECT_TRUE(theme->IsPlaying());
    EXPECT_GT(Peak(Heard(2000)), 9000); // still at full music volume
    theme->Release();
}

TEST_F(MixerTest, WithoutAnAudioDeviceEverySoundIsSilentAfterOneMessage)
{
    SoundManager::Destroy();
    Platform().ClearMessages();
    EXPECT_FALSE(SoundManager::Get().Open(std::make_unique<HeadlessAudioBackend>(true)));
    Sound* effect = Load("Tone", 500);
    Sound* music = SoundManager::Get().LoadMusic("Data/Sounds/Tone");
    EXPECT_FALSE(effect->Play(false) || music->Play(true) || effect->Stop());
    SoundManager::Get().SetMusicVolume(0.3f);
    SoundManager::Get().StopAll();
    effect->Release();
    music->Release();
    ASSERT_EQ(Platform().Messages().size(), 1u);
    EXPECT_EQ(Platform().Messages()[0].text, "Unable to access audio device.");
}

} // namespace
