#include <algorithm>
#include <cstdlib>
#include <limits>
#include <memory>

#include <gtest/gtest.h>

#include "app/Application.h"
#include "engine/FileSystem.h"
#include "engine/platform/HeadlessAudioBackend.h"
#include "fixtures/HeadlessApp.h"
#include "fixtures/OggWriter.h"
#include "media/AudioDevice.h"
#include "media/Sound.h"
#include "media/SoundData.h"
#include "media/SoundManager.h"

namespace {

constexpr int Rate = 22050;
// 8 rotating buffers of 463 frames (21 ms at 22,050 Hz) are queued ahead of
// the output: a sound started now is heard after this many frames.
constexpr int LatencyFrames = 8 * 463;

class MixerTest : public HeadlessApp {
protected:
    void SetUp() override
    {
        HeadlessApp::SetUp();
        ASSERT_TRUE(FileSystem::Get().Init("."));
        auto backend = std::make_unique<HeadlessAudioBackend>();
        output = backend.get();
        ASSERT_TRUE(SoundManager::Get().Open(std::move(backend)));
    }

    void WriteOgg(const std::string& name, const std::vector<int16_t>& samples, int channels, int rate = Rate)
    {
        WriteFile(name + ".ogg", EncodeOggVorbis(samples, channels, rate));
    }

    AudioDevice& Device() { return *SoundManager::Get().Device(); }

    // Pumps frames of output and returns them (interleaved stereo).
    std::vector<int16_t> Pump(int frames)
    {
        output->ClearSamples();
        output->Pump(frames);
        return output->Samples();
    }

    static int Peak(const std::vector<int16_t>& samples)
    {
        int peak = 0;
        for (int16_t s : samples) {
            peak = std::max(peak, std::abs(static_cast<int>(s)));
        }
        return peak;
    }

    static std::vector<int16_t> Constant(size_t frames, int16_t value)
    {
        return std::vector<int16_t>(frames * 2, value);
    }

    HeadlessAudioBackend* output = nullptr;
};

// --- the device on its own ---

TEST_F(MixerTest, OpensAt22050Hz16BitStereoWithFiveVoicesAnd21MsBuffers)
{
    AudioFormatRecord format;
    ASSERT_EQ(Device().GetFormat(format), AudioError::None);
    EXPECT_EQ(format.rate, 22050);
    EXPECT_EQ(format.channels, 2);
    EXPECT_EQ(format.bits, 16);
    EXPECT_EQ(format.bytesPerFrame, 4);
    EXPECT_EQ(Device().VoiceCount(), 5);
    EXPECT_EQ(Device().BufferBytes(), 1852);
    EXPECT_EQ(output->Format().rate, 22050);

    AudioFormatRecord wrongSize;
    wrongSize.size = 100;
    EXPECT_EQ(Device().GetFormat(wrongSize), AudioError::WrongRecordSize);
}

TEST_F(MixerTest, SoundStartsAfterTheQueuedBuffersAndIsScaledByItsVolume)
{
    std::shared_ptr<SoundData> data;
    ASSERT_EQ(Device().CreateDecodedSound(data, Constant(1000, 20000)), AudioError::None);
    int voice = -1;
    ASSERT_EQ(Device().Play(data, voice, 32768, 0, 0, 0, 1), AudioError::None);
    EXPECT_EQ(voice, 0);

    const std::vector<int16_t> queued = Pump(LatencyFrames);
    EXPECT_EQ(Peak(queued), 0);
    const std::vector<int16_t> heard = Pump(1200);
    // (20000 * 32768) >> 16 = 10000, for exactly the 1000 frames of the sound.
    for (size_t i = 0; i < 2000; ++i) {
        ASSERT_EQ(heard[i], 10000) << i;
    }
    for (size_t i = 2000; i < heard.size(); ++i) {
        ASSERT_EQ(heard[i], 0) << i;
    }
}

TEST_F(MixerTest, LoudSoundsSaturateInsteadOfWrappingAround)
{
    std::shared_ptr<SoundData> high;
    std::shared_ptr<SoundData> low;
    ASSERT_EQ(Device().CreateDecodedSound(high, Constant(600, 30000)), AudioError::None);
    ASSERT_EQ(Device().CreateDecodedSound(low, Constant(600, -30000)), AudioError::None);
    int v1 = -1;
    int v2 = -1;
    int v3 = -1;
    int v4 = -1;
    ASSERT_EQ(Device().Play(high, v1, 65535, 0, 0, 0, 1), AudioError::None);
    ASSERT_EQ(Device().Play(high, v2, 65535, 0, 0, 0, 1), AudioError::None);
    Pump(LatencyFrames);
    std::vector<int16_t> heard = Pump(100);
    EXPECT_TRUE(std::all_of(heard.begin(), heard.end(), [](int16_t s) { return s == 32767; }));

    (void)Device().Stop(v1, high.get());
    (void)Device().Stop(v2, high.get());
    Pump(LatencyFrames + 600);
    ASSERT_EQ(Device().Play(low, v3, 65535, 0, 0, 0, 1), AudioError::None);
    ASSERT_EQ(Device().Play(low, v4, 65535, 0, 0, 0, 1), AudioError::None);
    Pump(LatencyFrames);
    heard = Pump(100);
    EXPECT_TRUE(std::all_of(heard.begin(), heard.end(), [](int16_t s) { return s == -32768; }));
}

TEST_F(MixerTest, LoopCountsAndTheEndOfTheDataAreHonoured)
{
    std::vector<int16_t> ramp;
    for (int i = 0; i < 10; ++i) {
        ramp.push_back(static_cast<int16_t>(1000 * (i + 1)));
        ramp.push_back(static_cast<int16_t>(-1000 * (i + 1)));
    }
    std::shared_ptr<SoundData> data;
    ASSERT_EQ(Device().CreateDecodedSound(data, ramp), AudioError::None);
    int voice = -1;
    // Three passes, then free; an end past the data is cut to the data.
    ASSERT_EQ(Device().Play(data, voice, 65535, 0, 0, 1000000, 3), AudioError::None);
    Pump(LatencyFrames);
    const std::vector<int16_t> heard = Pump(40);
    for (int pass = 0; pass < 3; ++pass) {
        for (int i = 0; i < 20; ++i) {
            ASSERT_EQ(heard[static_cast<size_t>(pass * 20 + i)], (ramp[static_cast<size_t>(i)] * 65535) >> 16);
        }
    }
    EXPECT_EQ(Peak(std::vector<int16_t>(heard.begin() + 60, heard.end())), 0);
    EXPECT_EQ(Device().BusyVoices(), 0);
    EXPECT_EQ(data.use_count(), 1);  // the freed voice let go of the data
}

TEST_F(MixerTest, BadRequestsAreRefused)
{
    std::shared_ptr<SoundData> data;
    EXPECT_EQ(Device().CreateDecodedSound(data, {}), AudioError::BadArgument);
    ASSERT_EQ(Device().CreateDecodedSound(data, Constant(10, 1)), AudioError::None);
    int voice = -1;
    EXPECT_EQ(Device().Play(nullptr, voice, 65535, 0, 0, 0, 1), AudioError::BadArgument);
    EXPECT_EQ(Device().Play(data, voice, 65535, 0, 0, 0, 0), AudioError::BadArgument);
    EXPECT_EQ(Device().Stop(7, data.get()), AudioError::BadArgument);
    EXPECT_EQ(Device().Stop(-1, data.get()), AudioError::BadArgument);
    EXPECT_EQ(Device().SetVolume(5, data.get(), 1), AudioError::BadArgument);

    ASSERT_EQ(Device().Play(data, voice, 65535, 0, 0, 0, -1), AudioError::None);
    std::shared_ptr<SoundData> mine = data;
    EXPECT_EQ(Device().ReleaseData(mine), AudioError::DataInUse);
    // A voice answers only for the sound it plays.
    std::shared_ptr<SoundData> other;
    ASSERT_EQ(Device().CreateDecodedSound(other, Constant(10, 1)), AudioError::None);
    EXPECT_EQ(Device().Stop(voice, other.get()), AudioError::BadArgument);
    EXPECT_EQ(Device().SetVolume(voice, nullptr, 1), AudioError::BadArgument);
    EXPECT_EQ(Device().SetVolume(voice, data.get(), 1), AudioError::None);
    EXPECT_EQ(Device().ReleaseData(other), AudioError::None);
    EXPECT_EQ(Device().Stop(voice, data.get()), AudioError::None);
    EXPECT_EQ(Device().ReleaseData(data), AudioError::None);

    AudioDevice closed;
    EXPECT_EQ(closed.Open(nullptr, 175, 2, 16, 22050, 5), AudioError::MissingDevice);
    EXPECT_EQ(closed.Open(std::make_unique<HeadlessAudioBackend>(), 175, 3, 16, 22050, 5), AudioError::BadArgument);
    EXPECT_EQ(closed.Open(std::make_unique<HeadlessAudioBackend>(true), 175, 2, 16, 22050, 5),
              AudioError::DeviceFailure);
}

// --- effects ---

TEST_F(MixerTest, MonoEffectPlaysIdenticallyOnBothChannels)
{
    WriteOgg("Data/Sounds/Mono", SineTone(4000, 1, 441.0, Rate, 12000.0), 1);
    Sound* sound = SoundManager::Get().LoadEffect("Data/Sounds/Mono");
    ASSERT_TRUE(sound->HasData());
    ASSERT_TRUE(sound->Play(false));
    Pump(LatencyFrames);
    const std::vector<int16_t> heard = Pump(4000);
    EXPECT_GT(Peak(heard), 8000);
    for (size_t f = 0; f < 4000; ++f) {
        ASSERT_EQ(heard[f * 2], heard[f * 2 + 1]) << f;
    }
    sound->Release();
}

TEST_F(MixerTest, EffectLoadedTwiceIsSharedAndFreedByTheLastRelease)
{
    WriteOgg("Data/Sounds/Click", SineTone(500, 2, 441.0, Rate, 8000.0), 2);
    Sound* first = SoundManager::Get().LoadEffect("Data/Sounds/Click");
    Sound* second = SoundManager::Get().LoadEffect("data/sounds/CLICK");  // the map ignores case
    ASSERT_EQ(first, second);
    EXPECT_EQ(first->RefCount(), 2);
    first->Release();
    EXPECT_EQ(SoundManager::Get().EffectCount(), 1u);
    EXPECT_TRUE(second->HasData());
    second->Release();
    EXPECT_EQ(SoundManager::Get().EffectCount(), 0u);
}

TEST_F(MixerTest, SixthEffectIsRefusedAndInterruptsNothing)
{
    WriteOgg("Data/Sounds/Tone", SineTone(2000, 2, 441.0, Rate, 3000.0), 2);
    Sound* sound = SoundManager::Get().LoadEffect("Data/Sounds/Tone");
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(sound->Play(true)) << i;
    }
    EXPECT_EQ(sound->Channel(), 4);  // the newest voice
    EXPECT_FALSE(sound->Play(false));
    EXPECT_EQ(Device().BusyVoices(), 5);
    EXPECT_EQ(sound->Channel(), 4);
    sound->Release();
}

TEST_F(MixerTest, FinishedEffectFreesItsVoice)
{
    WriteOgg("Data/Sounds/Short", SineTone(300, 2, 441.0, Rate, 8000.0), 2);
    Sound* sound = SoundManager::Get().LoadEffect("Data/Sounds/Short");
    ASSERT_TRUE(sound->Play(false));
    EXPECT_TRUE(sound->IsPlaying());
    Pump(LatencyFrames + 1000);
    EXPECT_EQ(Device().BusyVoices(), 0);
    EXPECT_FALSE(sound->IsPlaying());
    EXPECT_EQ(sound->Channel(), -1);
    sound->Release();
}

TEST_F(MixerTest, EffectsVolumeReachesPlayingAndLaterEffects)
{
    WriteOgg("Data/Sounds/Long", SineTone(20000, 2, 441.0, Rate, 16000.0), 2);
    WriteOgg("Data/Sounds/Later", SineTone(5000, 2, 441.0, Rate, 16000.0), 2);
    Sound* playing = SoundManager::Get().LoadEffect("Data/Sounds/Long");
    ASSERT_TRUE(playing->Play(false));
    Pump(LatencyFrames);
    const int fullPeak = Peak(Pump(LatencyFrames));
    ASSERT_GT(fullPeak, 14000);

    SoundManager::Get().SetEffectsVolume(0.5f);
    EXPECT_FLOAT_EQ(playing->GetVolume(), 0.5f);
    Pump(LatencyFrames);  // buffers mixed before the change
    const int halfPeak = Peak(Pump(LatencyFrames));
    EXPECT_NEAR(halfPeak, fullPeak / 2, fullPeak / 20);

    Sound* later = SoundManager::Get().LoadEffect("Data/Sounds/Later");
    EXPECT_FLOAT_EQ(later->GetVolume(), 0.5f);

    // Out-of-range and not-a-number volumes never reach the voices.
    SoundManager::Get().SetEffectsVolume(7.0f);
    EXPECT_FLOAT_EQ(SoundManager::Get().GetEffectsVolume(), 1.0f);
    SoundManager::Get().SetEffectsVolume(std::numeric_limits<float>::quiet_NaN());
    EXPECT_FLOAT_EQ(SoundManager::Get().GetEffectsVolume(), 1.0f);
    later->Release();
    playing->Release();
}

TEST_F(MixerTest, DamagedOrMissingEffectFilesGiveASilentSoundAndAMessage)
{
    const std::string good = EncodeOggVorbis(SineTone(8000, 2, 441.0, Rate, 8000.0), 2, Rate);
    WriteFile("Data/Sounds/Garbage.ogg", std::string(3000, '\x5A'));
    WriteFile("Data/Sounds/Truncated.ogg", good.substr(0, good.size() / 2));
    WriteFile("Data/Sounds/Empty.ogg", EncodeOggVorbis({}, 2, Rate));
    std::string damaged = good;
    for (size_t i = good.size() / 3; i < good.size(); i += 97) {
        damaged[i] = static_cast<char>(damaged[i] ^ 0xA5);
    }
    WriteFile("Data/Sounds/Damaged.ogg", damaged);

    for (const char* name : {"Data/Sounds/Missing", "Data/Sounds/Garbage", "Data/Sounds/Empty"}) {
        Platform().ClearMessages();
        Sound* sound = SoundManager::Get().LoadEffect(name);
        ASSERT_NE(sound, nullptr);
        EXPECT_FALSE(sound->HasData()) << name;
        EXPECT_FALSE(sound->Play(false)) << name;
        ASSERT_EQ(Platform().Messages().size(), 1u) << name;
        EXPECT_EQ(Platform().Messages()[0].text, "Unable to load sound file.");
        sound->Release();
    }
    // Damaged streams keep whatever decoded before the damage and play it.
    for (const char* name : {"Data/Sounds/Truncated", "Data/Sounds/Damaged"}) {
        Sound* sound = SoundManager::Get().LoadEffect(name);
        if (sound->HasData()) {
            EXPECT_TRUE(sound->Play(false)) << name;
            Pump(LatencyFrames + 9000);
            EXPECT_EQ(Device().BusyVoices(), 0) << name;
        }
        sound->Release();
    }
}

// --- music ---

TEST_F(MixerTest, LoopingMusicRestartsAtItsFirstSampleWithoutAGap)
{
    const std::string file = EncodeOggVorbis(SineTone(3000, 2, 441.0, Rate, 10000.0), 2, Rate);
    WriteFile("Data/Sounds/Loop.ogg", file);
    const std::vector<int16_t> reference = DecodeOggVorbis(file);
    ASSERT_EQ(reference.size(), 6000u);

    Sound* music = SoundManager::Get().LoadMusic("Data/Sounds/Loop");
    ASSERT_TRUE(music->HasData());
    // The loop flag does not matter: music always repeats.
    ASSERT_TRUE(music->Play(false));
    Pump(LatencyFrames);
    const std::vector<int16_t> heard = Pump(3000 * 3 + 500);
    for (size_t i = 0; i < heard.size(); ++i) {
        ASSERT_EQ(heard[i], (reference[i % reference.size()] * 65535) >> 16) << "sample " << i;
    }
    EXPECT_TRUE(music->IsPlaying());
    EXPECT_TRUE(music->Stop());
    EXPECT_EQ(Device().BusyVoices(), 0);
    music->Release();
}

TEST_F(MixerTest, MusicAtAnotherRateOrChannelCountIsRefused)
{
    WriteOgg("Data/Sounds/Fast", SineTone(2000, 2, 441.0, 44100, 8000.0), 2, 44100);
    WriteOgg("Data/Sounds/Mono", SineTone(2000, 1, 441.0, Rate, 8000.0), 1);
    for (const char* name : {"Data/Sounds/Fast", "Data/Sounds/Mono", "Data/Sounds/Absent"}) {
        Sound* music = SoundManager::Get().LoadMusic(name);
        EXPECT_FALSE(music->HasData()) << name;
        EXPECT_FALSE(music->Play(true)) << name;
        music->Release();
    }
    EXPECT_TRUE(Platform().Messages().empty());  // music fails silently

    std::shared_ptr<SoundData> data;
    const std::string fast = EncodeOggVorbis(SineTone(2000, 2, 441.0, 44100, 8000.0), 2, 44100);
    EXPECT_EQ(Device().CreateStreamedSound(data, reinterpret_cast<const uint8_t*>(fast.data()), fast.size()),
              AudioError::FormatMismatch);
}

TEST_F(MixerTest, MusicWithoutSamplesPlaysSilenceAndStops)
{
    WriteFile("Data/Sounds/Nothing.ogg", EncodeOggVorbis({}, 2, Rate));
    Sound* music = SoundManager::Get().LoadMusic("Data/Sounds/Nothing");
    ASSERT_TRUE(music->HasData());
    ASSERT_TRUE(music->Play(true));
    EXPECT_EQ(Peak(Pump(LatencyFrames * 3)), 0);
    EXPECT_TRUE(music->Stop());
    music->Release();
}

TEST_F(MixerTest, StaleVoiceOfAFinishedEffectLeavesTheMusicThatTookItAlone)
{
    WriteOgg("Data/Sounds/Blip", SineTone(200, 2, 441.0, Rate, 8000.0), 2);
    WriteOgg("Data/Sounds/Theme", SineTone(6000, 2, 441.0, Rate, 10000.0), 2);
    Sound* blip = SoundManager::Get().LoadEffect("Data/Sounds/Blip");
    ASSERT_TRUE(blip->Play(false));
    ASSERT_EQ(blip->Channel(), 0);
    Pump(LatencyFrames + 500);  // the blip ends; its voice is free again

    Sound* theme = SoundManager::Get().LoadMusic("Data/Sounds/Theme");
    ASSERT_TRUE(theme->Play(true));
    ASSERT_EQ(theme->Channel(), 0);  // the voice the blip had

    SoundManager::Get().SetEffectsVolume(0.0f);
    blip->Release();  // stops the blip: must not stop the music
    EXPECT_TRUE(theme->IsPlaying());
    Pump(LatencyFrames);
    EXPECT_GT(Peak(Pump(2000)), 9000);  // still at full music volume
    theme->Release();
}

TEST_F(MixerTest, WithoutAnAudioDeviceEverySoundIsSilentAfterOneMessage)
{
    SoundManager::Destroy();
    Platform().ClearMessages();
    EXPECT_FALSE(SoundManager::Get().Open(std::make_unique<HeadlessAudioBackend>(true)));
    ASSERT_EQ(Platform().Messages().size(), 1u);
    EXPECT_EQ(Platform().Messages()[0].text, "Unable to access audio device.");

    WriteOgg("Data/Sounds/Tone", SineTone(500, 2, 441.0, Rate, 8000.0), 2);
    Sound* effect = SoundManager::Get().LoadEffect("Data/Sounds/Tone");
    Sound* music = SoundManager::Get().LoadMusic("Data/Sounds/Tone");
    EXPECT_FALSE(effect->Play(false));
    EXPECT_FALSE(music->Play(true));
    EXPECT_FALSE(effect->Stop());
    SoundManager::Get().SetMusicVolume(0.3f);
    SoundManager::Get().StopAll();
    effect->Release();
    music->Release();
    EXPECT_EQ(Platform().Messages().size(), 1u);
}

} // namespace
