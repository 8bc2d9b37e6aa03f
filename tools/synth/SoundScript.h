#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

// A sound description as read from assets/sounds/*.sound: global settings,
// instruments, note patterns and the tracks that play them. The format is
// described in assets/README.md.

struct Instrument
{
    enum class Wave
    {
        Sine,
        Triangle,
        Square,
        Saw,
        Pulse,
        Noise
    };
    Wave wave = Wave::Sine;
    double duty = 0.5;             // pulse width (Pulse)
    std::vector<double> harmonics; // additive sine partials 1..n (replaces wave when set)
    double partialDecay = 0;       // extra decay per second for partial k, times (k - 1)
    double detuneCents = 0;        // second oscillator, same wave, this far above
    double detuneMix = 0;          // its level (0 = off)
    double subMix = 0;             // sine one octave below
    double noiseMix = 0;           // white noise added to the wave
    double attack = 0.005, decay = 0.1, sustain = 1.0, release = 0.05; // seconds, level 0..1
    double sweepSemitones = 0;                                  // pitch starts this far off and glides to the note
    double sweepTime = 0.05;                                    // seconds (time constant)
    double vibratoRate = 0, vibratoDepth = 0, vibratoDelay = 0; // Hz, semitones, seconds
    enum class Filter
    {
        None,
        LowPass,
        HighPass,
        BandPass
    };
    Filter filter = Filter::None;
    double cutoffStart = 20000, cutoffEnd = 20000, cutoffTime = 0.1; // Hz, Hz, seconds
    double resonance = 0.7;                                          // Q
    double gain = 1;
    double basePitch = 60; // MIDI note for "x" hits
};

struct NoteEvent
{
    double beat = 0;             // start, from the pattern's start
    double length = 0;           // beats
    std::vector<double> pitches; // MIDI note numbers (chords hold several)
    double velocity = 1;
};

struct Pattern
{
    double beats = 0;
    std::vector<NoteEvent> notes;
};

struct Track
{
    std::string instrument;
    double volume = 1;
    double pan = 0; // -1 left .. 1 right
    double reverbSend = 0;
    double echoBeats = 0, echoFeedback = 0, echoMix = 0;
    double legato = 0.9;               // fraction of a note's length it is held
    std::vector<std::string> patterns; // played one after another
};

struct SoundScript
{
    int channels = 1;
    bool loop = false;
    double tempo = 60;          // beats per minute
    int meter = 4;              // beats per bar
    int bars = 0;               // loop length (0: the sound ends with its last note)
    double tail = 0.1;          // seconds kept after the last note ends (one-shot sounds)
    double peak = 0.45;         // the loudest sample after normalising
    double loudness = 0;        // integrated loudness to master to, LUFS (0: normalise to the peak)
    double limit = 1;           // share of the peak above which samples are softly squeezed (1: off)
    double reverbTime = 1.2;    // seconds for the reverb to fall 60 dB
    double reverbDamping = 0.4; // 0..1, high frequencies lost per echo
    double quality = 0.4;       // Vorbis quality, -0.1..1
    std::map<std::string, Instrument> instruments;
    std::map<std::string, Pattern> patterns;
    std::vector<Track> tracks;
};

// Reads a description; on failure returns nullopt with "line N: what".
[[nodiscard]] std::optional<SoundScript> ParseSoundScript(const std::string& text, std::string& error);

// "C4" = 60, "F#3", "Bb2"; nullopt for anything else.
[[nodiscard]] std::optional<int> ParseNoteName(const std::string& name);
