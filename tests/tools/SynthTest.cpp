// The synthesizer: its description format, note rendering, seamless loops and
// the Ogg Vorbis files it writes, decoded again with vorbisfile.
#include "Loudness.h"
#include "NoteRenderer.h"
#include "OggEncoder.h"
#include "SoundRenderer.h"
#include "SoundScript.h"

#include "fixtures/OggWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <tuple>

namespace
{

SoundScript Parse(const std::string& text)
{
    std::string error;
    auto script = ParseSoundScript(text, error);
    EXPECT_TRUE(script) << error;
    return script ? *script : SoundScript{};
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

} // namespace

TEST(SoundScriptTest, ReadsNotesChordsRestsAndRepeats)
{
    const SoundScript s = Parse(LoopScript);
    ASSERT_EQ(s.tracks.size(), 2u);
    EXPECT_EQ(std::make_tuple(s.channels, s.loop, s.tracks[1].patterns.size(), s.instruments.at("kick").basePitch),
              std::make_tuple(2, true, 2u, 36));
    const Pattern& chords = s.patterns.at("chords");
    ASSERT_EQ(chords.notes.size(), 2u);
    // F#4 is a sharp, not a comment.
    EXPECT_EQ(std::make_tuple(chords.beats, chords.notes[0].pitches, chords.notes[1].beat, chords.notes[1].pitches[0]),
              std::make_tuple(8, std::vector<double>{60, 64, 67}, 3, 66));
    const Pattern& beat = s.patterns.at("beat");
    EXPECT_EQ(std::make_tuple(beat.notes[4].velocity, beat.notes[0].pitches[0]), std::make_tuple(0.5, -1));

    EXPECT_EQ(std::make_tuple(ParseNoteName("A4").value_or(0), ParseNoteName("Bb2").value_or(0),
                              ParseNoteName("C-1").value_or(-5)),
              std::make_tuple(69, 46, 0));
    for (const char* bad : {"H4", "C", "C44", "c#", "#4"})
        EXPECT_FALSE(ParseNoteName(bad)) << bad;
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
    const auto loudest =
        std::max_element(note.begin(), note.end(), [](float a, float b) { return std::fabs(a) < std::fabs(b); });
    EXPECT_GT(std::fabs(*loudest), 0.1f);
    // The envelope holds its sustain through the gate and falls to nothing over the release.
    in.decay = 0.05;
    in.sustain = 0.5;
    EXPECT_NEAR(NoteRenderer::Envelope(in, 0.15, 0.2), 0.5, 0.01);
    EXPECT_EQ(NoteRenderer::Envelope(in, 0.31, 0.2), 0.0);
    EXPECT_LT(NoteRenderer::Envelope(in, 0.25, 0.2), 0.05);
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
