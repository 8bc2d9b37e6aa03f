// The synthesizer: its description format, note rendering, seamless loops and
// the Ogg Vorbis files it writes, decoded again with vorbisfile.
#include "Loudness.h"
#include "NoteRenderer.h"
#include "OggEncoder.h"
#include "SoundRenderer.h"
#include "SoundScript.h"

#include "fixtures/OggWriter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace
{

SoundScript Parse(const std::string& text)
{
    std::string error;
    auto script = ParseSoundScript(text, error);
    EXPECT_TRUE(script) << error;
    return script ? *script : SoundScript{};
}

std::string ParseError(const std::string& text)
{
    std::string error;
    EXPECT_FALSE(ParseSoundScript(text, error)) << text;
    return error;
}

// A tiny loop whose notes and reverb run over its end.
const char* const LoopScript = R"(
channels 2
loop
tempo 120
meter 4
bars 2
peak 0.3
reverb 1.0 0.4
instrument pad     # a comment
  wave saw
  detune 8 0.7
  lowpass 2000 800 0.2
  envelope 0.01 0.3 0.6 0.8
end
instrument kick
  wave sine
  pitch C2
  sweep 24 0.02
  envelope 0.001 0.2 0 0.05
end
pattern chords
  C4+E4+G4:3 F#4+A4:5
end
pattern beat
  x:1 x:1 x:1 x:0.5 x:0.5@0.5
end
track pad
  reverb 0.5
  echo 0.75 0.5 0.4
  legato 1.5
  play chords
end
track kick
  pan -0.5
  play beat*2
end
)";

// Largest sample-to-sample change inside the sound and the change from the
// last frame back to the first, over all channels.
std::pair<float, float> Steps(const std::vector<float>& s, int channels)
{
    float inside = 0, seam = 0;
    const size_t frames = s.size() / size_t(channels);
    for (int c = 0; c < channels; ++c)
    {
        for (size_t i = 1; i < frames; ++i)
            inside = std::max(inside, std::fabs(s[i * channels + c] - s[(i - 1) * channels + c]));
        seam = std::max(seam, std::fabs(s[size_t(c)] - s[(frames - 1) * channels + c]));
    }
    return {inside, seam};
}

} // namespace

TEST(SoundScriptTest, ReadsNotesChordsRestsAndRepeats)
{
    const SoundScript s = Parse(LoopScript);
    EXPECT_EQ(s.channels, 2);
    EXPECT_TRUE(s.loop);
    ASSERT_EQ(s.tracks.size(), 2u);
    EXPECT_EQ(s.tracks[1].patterns.size(), 2u);
    const Pattern& chords = s.patterns.at("chords");
    EXPECT_EQ(chords.beats, 8);
    ASSERT_EQ(chords.notes.size(), 2u);
    EXPECT_EQ(chords.notes[0].pitches, (std::vector<double>{60, 64, 67}));
    EXPECT_EQ(chords.notes[1].beat, 3);
    EXPECT_EQ(chords.notes[1].pitches[0], 66); // F#4: a sharp, not a comment
    const Pattern& beat = s.patterns.at("beat");
    EXPECT_EQ(beat.notes[4].velocity, 0.5);
    EXPECT_EQ(beat.notes[0].pitches[0], -1);
    EXPECT_EQ(s.instruments.at("kick").basePitch, 36);

    EXPECT_EQ(ParseNoteName("A4").value_or(0), 69);
    EXPECT_EQ(ParseNoteName("Bb2").value_or(0), 46);
    EXPECT_EQ(ParseNoteName("C-1").value_or(-5), 0);
    for (const char* bad : {"H4", "C", "C44", "c#", "#4"})
        EXPECT_FALSE(ParseNoteName(bad)) << bad;
}

TEST(SoundScriptTest, RefusesMistakesWithTheirLine)
{
    EXPECT_NE(ParseError("tempo 120\nwobble 3\n").find("line 2"), std::string::npos);
    ParseError("instrument a\n wave sine\n");                                             // no end
    ParseError("channels 3\ntrack a\nend\n");                                             // bad channels
    ParseError("instrument a\nend\npattern p\n C4\nend\ntrack a\nplay p\nend\n");         // no length
    ParseError("instrument a\nend\ntrack a\nplay nothing\nend\n");                        // unknown pattern
    ParseError("pattern p\n C4:1\nend\ntrack ghost\nplay p\nend\n");                      // unknown instrument
    ParseError("loop\ninstrument a\nend\npattern p\n C4:1\nend\ntrack a\nplay p\nend\n"); // loop without bars
    ParseError("instrument a\n envelope 0.1 0.1 2 0.1\nend\n");                           // sustain above 1
    ParseError("pattern p\n C4:0\nend\n");
    ParseError("pattern p\n C4:1@x\nend\n");
}

TEST(SoundRendererTest, NotesStartAndEndInSilence)
{
    NoteRenderer renderer(22050);
    Instrument in;
    in.wave = Instrument::Wave::Saw;
    in.attack = 0.01;
    in.release = 0.1;
    in.filter = Instrument::Filter::LowPass;
    in.cutoffStart = 5000;
    in.cutoffEnd = 300;
    std::vector<float> note;
    renderer.Render(in, 57, 1.0, 0.2, 3, note);
    EXPECT_EQ(note.size(), size_t(std::ceil(0.3 * 22050)));
    EXPECT_NEAR(note.front(), 0.0f, 1e-6);
    EXPECT_NEAR(note.back(), 0.0f, 1e-3);
    float peak = 0;
    for (float v : note)
        peak = std::max(peak, std::fabs(v));
    EXPECT_GT(peak, 0.1f);
    // The envelope holds its sustain through the gate and falls to nothing over the release.
    in.decay = 0.05;
    in.sustain = 0.5;
    EXPECT_NEAR(NoteRenderer::Envelope(in, 0.15, 0.2), 0.5, 0.01);
    EXPECT_EQ(NoteRenderer::Envelope(in, 0.31, 0.2), 0.0);
    EXPECT_LT(NoteRenderer::Envelope(in, 0.25, 0.2), 0.05);
}

TEST(SoundRendererTest, LoopsHaveExactLengthAndNoStepAtTheSeam)
{
    const SoundScript s = Parse(LoopScript);
    std::string error;
    auto sound = RenderSound(s, error);
    ASSERT_TRUE(sound) << error;
    EXPECT_EQ(sound->channels, 2);
    EXPECT_EQ(sound->Frames(), 88200u); // 8 beats at 120 a minute: exactly 4 s
    float peak = 0;
    for (float v : sound->samples)
        peak = std::max(peak, std::fabs(v));
    EXPECT_NEAR(peak, 0.3f, 1e-6);
    // The tails of the last chord, the echo and the reverb are already
    // sounding at the start, so the seam is like any other sample step.
    const auto [inside, seam] = Steps(sound->samples, 2);
    EXPECT_LE(seam, inside);
    float head = 0;
    for (size_t i = 0; i < 200; ++i)
        head = std::max(head, std::fabs(sound->samples[i]));
    EXPECT_GT(head, 0.01f);

    // A track that does not fill the loop is a mistake, not silence.
    SoundScript shortTrack = s;
    shortTrack.tracks[1].patterns.pop_back();
    EXPECT_FALSE(RenderSound(shortTrack, error));
    EXPECT_NE(error.find("beats"), std::string::npos);
}

// A 997 Hz tone at -20 dBFS in both channels measures -20 LUFS; silence
// between bursts is gated out; a loop mastered to a loudness reaches it.
TEST(LoudnessTest, TonesMeasureAsPublishedAndLoopsAreMasteredToTheirLoudness)
{
    std::vector<float> tone(2 * 22050 * 4), bursts(tone.size(), 0.0f);
    for (size_t i = 0; i < tone.size(); ++i)
    {
        tone[i] = float(0.1 * std::sin(2 * M_PI * 997 * double(i / 2) / 22050));
        if ((i / 2) / 22050 % 2 == 0)
            bursts[i] = tone[i];
    }
    EXPECT_NEAR(IntegratedLoudness(tone, 2, 22050), -20.0, 0.1);
    EXPECT_GT(IntegratedLoudness(bursts, 2, 22050), -21.5); // ungated, half the energy: -23
    EXPECT_LT(IntegratedLoudness(std::vector<float>(tone.size(), 0.0f), 2, 22050), -70);

    SoundScript s = Parse(LoopScript);
    s.loudness = -24;
    std::string error;
    auto sound = RenderSound(s, error);
    ASSERT_TRUE(sound) << error;
    EXPECT_NEAR(IntegratedLoudness(sound->samples, 2, 22050), -24.0, 0.05);
    s.loudness = -8; // louder than the 0.3 ceiling allows
    EXPECT_FALSE(RenderSound(s, error));
}

TEST(SoundRendererTest, OneShotsEndAfterTheirLastNote)
{
    const SoundScript s = Parse("tempo 60\npeak 0.45\ntail 0.05\ninstrument a\n envelope 0.001 0.05 0 0.1\nend\n"
                                "pattern p\n r:0.1 A5:0.1\nend\ntrack a\n legato 1\n play p\nend\n");
    std::string error;
    auto sound = RenderSound(s, error);
    ASSERT_TRUE(sound) << error;
    EXPECT_EQ(sound->channels, 1);
    EXPECT_EQ(sound->Frames(), size_t(std::ceil((0.1 + 0.1 + 0.1 + 0.05) * 22050)));
    EXPECT_EQ(sound->samples.back(), 0.0f);
    EXPECT_EQ(sound->samples.front(), 0.0f);
}

TEST(OggEncoderTest, FilesDecodeAtTheGameRateAndLengthAndRepeatExactly)
{
    const SoundScript s = Parse(LoopScript);
    std::string error;
    auto sound = RenderSound(s, error);
    ASSERT_TRUE(sound) << error;
    auto bytes = EncodeOggVorbis(*sound, 0.4, "Test", error);
    ASSERT_TRUE(bytes) << error;
    auto again = EncodeOggVorbis(*sound, 0.4, "Test", error);
    EXPECT_EQ(*bytes, *again);

    DecodedSound d;
    ASSERT_TRUE(DecodeOggVorbisFloat(*bytes, d));
    EXPECT_EQ(d.channels, 2);
    EXPECT_EQ(d.rate, 22050);
    EXPECT_EQ(d.samples.size(), sound->samples.size());
    const auto [inside, seam] = Steps(d.samples, 2);
    EXPECT_LE(seam, inside);
    float peak = 0;
    for (float v : d.samples)
        peak = std::max(peak, std::fabs(v));
    EXPECT_LT(peak, 0.4f);
}

TEST(SoundScriptTest, DamagedDescriptionsAreRefusedOrRendered)
{
    // Every prefix of a valid description parses or is refused with a
    // message; whatever parses renders or is refused too.
    const std::string text = LoopScript;
    for (size_t n = 0; n <= text.size(); n += 7)
    {
        std::string error;
        auto script = ParseSoundScript(text.substr(0, n), error);
        if (!script)
        {
            EXPECT_FALSE(error.empty()) << n;
            continue;
        }
        script->bars = std::min(script->bars, 1);
        const auto sound = RenderSound(*script, error);
        EXPECT_TRUE(sound || !error.empty());
    }
}
