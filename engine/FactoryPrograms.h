#pragma once
// Sound design of the factory bank, included only by FactoryBank.cpp (and the
// bank's tests). Each program starts from a family voice (bass, lead, pad,
// pluck, keys, organ, bell, brass, drum) and states what makes it itself, in
// musical units (see FactoryPatch.h). Fixed facts every program keeps:
// Osc-Routing 2 only in programs 0, 1, 8, 11, 14, 18, 25, 30, 37, 43, 44;
// Osc1W 2.578 (plays wave 39) only in 34, 36, 42, 81; 4..12 voices; bend range
// 2 semitones; glide type, 63, 64 and Modwheel 0; every other value in 0..1.
// Design rules: "Wide" and "Dual" use Voice-Mode 1, "Unison" Voice-Mode 2; no
// shared filter with Voice-Mode 2; glide only on unison and four-voice
// (played-as-mono) programs.
// Levels: each program's gain() puts the loudest 10 ms of a held note (velocity 100,
// averaged over C2, C4 and C6) near -18 dBFS RMS (pads -19, basses and drums -17,
// hats -20) with a single-note peak below -6 dBFS, lowered where a five-note chord
// would pass full scale (drums excepted).
//
// Wave numbers: 1 sine, 2 saw, 3 square, 4-7 saturated saw/square sums, 8 pulse 25 %,
// 9 pulse 12.5 %, 10 triangle, 11 pulse 6.25 %, 12 warm saw, 13 saw with octave,
// 14-17 organ registrations, 18 reed, 19-23 vowels a e i o u, 24 hollow clarinet,
// 25 hollow odd, 26 pulse 33 %, 27 buzz, 28/29 resonant saws, 30/31 sync saws,
// 32-39 soft-clipped sines from round (32) to square-like (39).

#include "engine/FactoryPatch.h"

namespace factory {

// "Init Patch" (program 127), parameter 0..81; the start of every family voice.
inline constexpr float kInitPatch[kNumParams] = {
    0.516f, 0.528f, 0.0f,   0.0f,   0.606f, 0.0f,   0.047f, 0.0f,   0.0f,   1.0f,    // 0..9
    0.52f,  0.427f, 0.516f, 0.525f, 0.0f,   1.0f,   1.0f,   0.008f, 0.0f,   0.494f,  // 10..19
    0.0f,   0.502f, 0.515f, 0.636f, 0.026f, 0.026f, 0.0f,   0.0f,   0.0f,   1.0f,    // 20..29
    0.0f,   0.0f,   0.0f,   0.0f,   0.0f,   0.0f,   0.0f,   0.496f, 1.0f,   0.0f,    // 30..39
    0.75f,  0.567f, 0.981f, 0.0f,   0.876f, 0.102f, 0.511f, 1.0f,   1.0f,   0.0f,    // 40..49
    0.5f,   0.0f,   0.0f,   0.0f,   0.0f,   0.0f,   1.0f,   0.0f,   0.273f, 0.06f,   // 50..59
    0.02f,  0.0f,   0.0f,   0.0f,   0.0f,   0.51f,  0.505f, 0.505f, 0.525f, 0.0f,    // 60..69
    0.0f,   0.0f,   0.0f,   1.0f,   0.0f,   0.0f,   0.25f,  0.0f,   0.0f,   0.0f,    // 70..79
    0.0f,   0.0f,                                                                    // 80..81
};

// A neutral voice: two saws a few cents apart, open low-pass, organ-like gate, no effects.
constexpr Patch neutral()
{
    Patch p(kInitPatch);
    p.perc(false).osc1(2).osc2(2, 0, 4).amp(6, 3500, 1.0, 200);
    p.filter(Filter::LowPass, 8000, 0.0, 0.35).filterEnv(0, 2.2, 500, 1.0, 200).separation(0.75);
    p.osc3(0, 0, 0, 0, 0).lfo(5.0, 400).velocity(0.7).wheel(0.25, 0.0, 0.0);
    p.chorus(0, 8, 2, 0.5, 1.0, 0).chorusTone(15000, 5).outputBand(20000, 3).gain(0).voices(8);
    return p;
}

// Basses: a saw over a square an octave below, snappy percussive filter envelope, four voices.
constexpr Patch bassVoice()
{
    Patch p = neutral();
    p.perc(true).osc1(2).osc2(3, -12, 5).amp(2, 900, 0.7, 120);
    p.filter(Filter::LowPass, 320, 0.3, 0.35).filterEnv(3.0, 2.2, 260, 0.15, 120);
    p.velocity(0.6, 0.08).bass(0.25, 0.4, 140).voices(4);
    p.wheel(0.2, 0.6, 0.0).pressure(0.0, 0.5, 0.0);  // the wheel opens the filter
    return p;
}

// Leads: two detuned saws, bright filter, delayed vibrato, a little chorus.
constexpr Patch leadVoice()
{
    Patch p = neutral();
    p.osc1(2, 0, 3).osc2(2, 0, -3).amp(6, 1500, 0.8, 250);
    p.filter(Filter::LowPass, 2600, 0.2, 0.4).filterEnv(1.5, 2.2, 450, 0.5, 250);
    p.lfo(5.5, 700).vibrato(1.5).chorus(0.2, 12, 2, 0.6, 0.8).voices(6);
    p.wheel(0.3, 0.3, 0.0).pressure(0.6, 0.5, 0.0);  // wheel and pressure deepen the vibrato
    return p;
}

// Pads: slow attack and release, slow filter swell, wide chorus, twelve voices.
constexpr Patch padVoice()
{
    Patch p = neutral();
    p.osc1(12, 0, 4).osc2(2, 0, -5).amp(700, 3500, 0.85, 2200);
    p.filter(Filter::LowPass, 1400, 0.15, 0.3).filterEnv(1.2, 900, 2500, 0.6, 2000);
    p.lfo(0.3, 1500).wobble(0.15).chorus(0.55, 14, 3, 0.35, 1.0, 0.2).chorusTone(9000, 60).voices(12);
    p.wheel(0.15, 0.5, 0.0).pressure(0.3, 0.5, 0.0);  // the wheel brightens
    return p;
}

// Plucks: percussive filter and amplitude decay to silence.
constexpr Patch pluckVoice()
{
    Patch p = neutral();
    p.perc(true).osc1(2, 0, 3).osc2(8, 0, -3).amp(2, 380, 0.0, 300);
    p.filter(Filter::LowPass, 700, 0.25, 0.45).filterEnv(3.5, 2.2, 180, 0.0, 200);
    p.velocity(0.8, 0.05).chorus(0.25, 10, 2, 0.8, 0.8).voices(8);
    p.wheel(0.2, 0.5, 0.0);
    return p;
}

// Keys: struck, decaying to a low sustain, gentle chorus.
constexpr Patch keysVoice()
{
    Patch p = neutral();
    p.perc(true).osc1(10).osc2(1, 12).amp(2, 1600, 0.15, 450);
    p.filter(Filter::LowPass, 1800, 0.1, 0.4).filterEnv(1.5, 2.2, 400, 0.2, 300);
    p.velocity(0.8, 0.05).chorus(0.35, 9, 2, 0.8, 1.0).voices(10);
    p.wheel(0.2, 0.4, 0.0);
    return p;
}

// Organs: drawbar waves, gate envelope, rotary-like chorus.
constexpr Patch organVoice()
{
    Patch p = neutral();
    p.osc1(15).osc2(14, 12, 2).amp(6, 3500, 1.0, 70);
    p.filter(Filter::LowPass, 6000, 0.0, 0.3).velocity(0.2);
    p.chorus(0.4, 4, 1.5, 5.5, 0.6).voices(10);
    return p;
}

// Bells: sine carrier under a decaying FM index, long ring, chained routing.
constexpr Patch bellVoice()
{
    Patch p = neutral();
    p.perc(true).routing(Routing::Chain).osc1(1).osc2(1, 6, 0).fmIndex(1.2).osc2Env(900, 0.05);
    p.amp(2, 700, 0.0, 1800).filter(Filter::LowPass, 9000, 0.0, 0.2).velocity(0.8);
    p.chorus(0.3, 18, 2, 0.3, 1.0, 0.25).voices(10);
    return p;
}

// Brass: saws with a slower filter opening than the amplitude.
constexpr Patch brassVoice()
{
    Patch p = neutral();
    p.osc1(2, 0, 4).osc2(2, 0, -4).amp(25, 2500, 0.8, 220);
    p.filter(Filter::LowPass, 500, 0.15, 0.5).filterEnv(2.5, 70, 900, 0.55, 250);
    p.lfo(5.0, 900).vibrato(1.2).velocity(0.6, 0.08).voices(8);
    p.wheel(0.3, 0.4, 0.0).pressure(0.5, 0.6, 0.0);  // pressure makes it blare
    return p;
}

// Drums: percussive envelopes, pitch falling from above, no sustain.
constexpr Patch drumVoice()
{
    Patch p = neutral();
    p.perc(true).osc1(1).osc2Off().amp(2, 350, 0.0, 200).pitchUp(12, 0, 60);
    p.filter(Filter::LowPass, 9000, 0.0, 0.0).velocity(0.8).voices(6).wheel(0.0, 0.3, 0.0);
    return p;
}

// One program: name and values.
struct FactoryProgram {
    const char* name;
    Patch patch;
};

// Programs 1..126 in order.
inline constexpr FactoryProgram kFactoryPrograms[126] = {
    // 1: an organ growling through parallel FM, into a dub echo.
    {"Dub Organ", organVoice().routing(Routing::Parallel).osc1(14).osc2(1, -12).fmIndex(0.5).osc2Env(0, 1)
                      .filter(Filter::LowPass, 1400, 0.3, 0.3).echo(0.35, 6, 0.45).gain(4.5)},
    {"Bellpad", padVoice().routing(Routing::Chain).osc1(32, 0, 3).osc2(1, 12, -5).fmIndex(1.3)
                    .osc2Env(900, 0.15).amp(4, 700, 0.1, 2600).velocity(0.4).filterEnv(1.0, 2.2, 1500, 0.4, 2000)
                    .filter(Filter::LowPass, 3000, 0.1, 0.3).gain(18.5)},
    // 3: a hollow sine with breath: Osc3 far off any harmonic scatters Osc2 into noise.
    {"Bottle Blow", leadVoice().osc1(1).osc2(1, 0, 6).osc3(37, 17, 20, 0, 1).osc2Env(200, 0.3).amp(90, 3500, 0.9, 300)
                        .filter(Filter::LowPass, 1400, 0.3, 0.6).filterEnv(0.5, 120, 800, 0.5, 300)
                        .pitchDown(1, 0, 150).lfo(4.8, 500).vibrato(1.0).chorus(0.3, 20, 2, 0.5, 1.0).gain(2.5)},
    {"Bamboo", pluckVoice().osc1(10).osc2(1, 12).ring(0.45).amp(2, 260, 0.0, 220)
                   .filter(Filter::LowPass, 1500, 0.3, 0.5).filterEnv(2.0, 2.2, 100, 0.0, 150)
                   .pitchUp(5, 0, 8).gain(7)},
    {"Dravenor Bass I", bassVoice().gain(2)},
    {"Dravenor Bass II", bassVoice().osc1(8, -12).osc2(2, -12, -6).filter(Filter::LowPass, 260, 0.5, 0.35)
                             .filterEnv(3.5, 2.2, 200, 0.1, 120).drive1(8).gain(-1.5)},
    {"Cute Lead", leadVoice().osc1(26).osc2(1, 12).filter(Filter::LowPass, 3500, 0.1, 0.4)
                      .amp(6, 1200, 0.7, 200).lfo(6.0, 350).vibrato(1.8).gain(0.5)},
    // 8: a saw struck by a fast-decaying parallel FM index.
    {"Hard Pluck", pluckVoice().routing(Routing::Parallel).osc1(2).osc2(1, 12).fmIndex(2.5).osc2Env(120, 0.0)
                       .filter(Filter::LowPass, 1100, 0.3, 0.45).amp(2, 320, 0.0, 250).gain(10)},
    {"Wabber", leadVoice().osc1(2, -12).osc2(8, -12, 5).filter(Filter::LowPass, 350, 0.6, 0.3)
                   .filterEnv(0.5, 2.2, 500, 0.5, 200).lfo(4.0, 1).wobble(2.0).vibrato(0).voices(6).gain(-6)},
    {"Glasshopper", bellVoice().osc2(1, 12, 22).fmIndex(0.9).osc2Env(400, 0.1).amp(2, 450, 0.0, 700)
                        .pitchUp(12, 0, 12).osc3(24, 0, 0.6, 200, 0.0, 0.5).gain(8)},
    // 11: a slow pad through one shared filter; parallel FM gives it a breath.
    {"Monopad", padVoice().routing(Routing::Parallel).osc1(12, 0, 0).osc2(1, -12).fmIndex(0.35).osc2Env(0, 1)
                    .sharedFilter().filter(Filter::LowPass, 900, 0.35, 0.0).filterEnv(1.5, 1200, 2500, 0.6, 2000)
                    .amp(500, 3500, 0.9, 1800).voices(4).gain(2.5)},
    {"Wide Bass", bassVoice().wide(8).osc2(2, -12, 8).filter(Filter::LowPass, 380, 0.3, 0.35).gain(4)},
    {"Wide Saw", leadVoice().wide(10).filter(Filter::LowPass, 4000, 0.1, 0.4).chorus(0.3, 15, 2.5, 0.4, 1.0)
                     .gain(0.5)},
    // 14: a soft sine pad with a slow sub-octave FM shimmer.
    {"Sleep Well", padVoice().routing(Routing::Parallel).osc1(32).osc2(1, -12, 2).fmIndex(0.45).osc2Env(3000, 0.4)
                       .amp(1200, 3500, 0.9, 3500).filter(Filter::LowPass, 2500, 0.0, 0.2)
                       .chorus(0.5, 20, 3, 0.25, 1.0, 0.3).gain(16.5)},
    {"Funk Bass", bassVoice().osc1(8, -12).osc2(3, -12, 4).filter(Filter::LowPass, 220, 0.55, 0.35)
                      .filterEnv(4.0, 2.2, 130, 0.08, 100).amp(2, 700, 0.5, 90).gain(-3.5)},
    {"Reso Bass", bassVoice().osc1(2, -12).osc2Off().filter(Filter::LowPass, 200, 0.78, 0.35)
                      .filterEnv(3.5, 2.2, 300, 0.1, 150).gain(-1.5)},
    {"Another Lead", leadVoice().osc1(2, 0, 4).osc2(26, 0, -4).filter(Filter::LowPass, 1800, 0.35, 0.4)
                         .filterEnv(2.5, 2.2, 300, 0.4, 250).gain(0.5)},
    // 18: warm saw pad with a slow parallel FM colour from Osc3.
    {"Another Pad", padVoice().routing(Routing::Parallel).osc1(12).fmIndex(0.2).osc2(1, 7).osc2Env(0, 1)
                        .osc3(12, 3, 0.3, 2500, 0.5, 0.3).amp(500, 3500, 0.85, 2000).gain(4.5)},
    {"Obo", leadVoice().osc1(18).osc2(24, 0, 2).filter(Filter::BandPass, 1300, 0.4, 0.6)
                .filterEnv(0.5, 30, 400, 0.6, 150)
                .amp(35, 3500, 0.9, 150).lfo(5.2, 400).vibrato(1.5).chorus(0.1, 12, 1.5, 0.5, 0.8).gain(3)},
    {"Heavy Metal", leadVoice().routing(Routing::Chain).osc1(3).osc2(1, 11, 20).fmIndex(3.0).osc2Env(600, 0.5)
                        .distortion(14).filter(Filter::LowPass, 3000, 0.2, 0.4).outputBand(9000, 40).gain(-11)},
    // 21: round and plain, sitting in any mix: little snap, the velocity opens it.
    {"Useful Bass", bassVoice().osc2(1, -12).filter(Filter::LowPass, 420, 0.15, 0.5)
                        .filterEnv(1.5, 2.2, 400, 0.35, 150).amp(2, 1500, 0.85, 120).velocity(0.6, 0.15).gain(4)},
    {"Room Bass", bassVoice().osc1(12, -12).osc2(10, -12).chorus(0.25, 28, 1.5, 0.2, 0.5, 0.3)
                      .chorusTone(3000, 80).gain(0)},
    {"Solid Dub Bass", bassVoice().perc(false).osc1(1, -12).osc2(10, -12).filter(Filter::LowPass, 300, 0.1, 0.2)
                           .filterEnv(0.5, 2.2, 300, 0.3, 150).amp(6, 3500, 1.0, 150).bass(0.45, 0.5, 120).gain(2.5)},
    {"Rave Bass", bassVoice().osc1(13, -12, 6).osc2(2, -12, -6).filter(Filter::LowPass, 400, 0.45, 0.35)
                      .filterEnv(4.0, 2.2, 350, 0.2, 150).distortion(6).gain(-4)},
    // 25: a reed sound with a square wave bleeding in through parallel FM.
    {"Reed Bleed", leadVoice().routing(Routing::Parallel).osc1(18).osc2(3).fmIndex(0.4).osc2Env(700, 0.4)
                       .filter(Filter::LowPass, 2200, 0.2, 0.45).amp(30, 3500, 0.85, 200).gain(7.5)},
    {"Soft Ethno Bell", bellVoice().osc2(1, 5).fmIndex(1.3).osc2Env(700, 0.0).amp(3, 600, 0.0, 1500).velocity(0.9)
                            .filter(Filter::LowPass, 3000, 0.0, 0.3).gain(8.5)},
    {"Hornet", leadVoice().osc1(27).osc2(9, 0, 7).filter(Filter::BandPass, 1500, 0.55, 0.5).lfo(9.0, 150)
                   .vibrato(3.0).wobble(0.3).gain(5)},
    {"Woody Bass", bassVoice().osc1(10, -12).osc2(1, -12).amp(2, 800, 0.3, 120)
                       .filter(Filter::LowPass, 450, 0.2, 0.35)
                       .filterEnv(2.0, 2.2, 120, 0.0, 100).gain(2)},
    {"Lead On", leadVoice().osc1(2, 0, 6).osc2(2, 0, -6).filter(Filter::LowPass, 4000, 0.15, 0.4)
                    .chorus(0.3, 14, 2, 0.5, 1.0).gain(3.5)},
    // 30: a sine bell struck by two parallel modulators, ringing long in a wide chorus.
    {"Celestial Bell", bellVoice().routing(Routing::Parallel).osc2(1, 12, 3).fmIndex(1.4).osc2Env(1800, 0.0)
                           .osc3(31, 0, 0.8, 250, 0.0, 0.4).amp(2, 800, 0.0, 3000)
                           .chorus(0.4, 25, 3, 0.2, 1.0, 0.2).gain(8.5)},
    {"Echo Lead", leadVoice().osc1(8).osc2(2, 0, 4).echo(0.4, 6, 0.45).gain(2.5)},
    {"Filter Pad", padVoice().filter(Filter::LowPass, 700, 0.45, 0.3).lfo(0.25, 2000).wobble(1.5).gain(-2.5)},
    {"Harmless", keysVoice().perc(false).osc1(10).osc2(1, 0, 4).amp(60, 3500, 0.7, 900)
                     .filter(Filter::LowPass, 1500, 0.0, 0.3).chorus(0.4, 12, 2, 0.4, 1.0).gain(0.5)},
    {"Voice Pad", padVoice().osc1BeyondBank(0, 4).osc2(19, 0, 5).filter(Filter::LowPass, 1600, 0.25, 0.3)
                      .lfo(4.5, 1500).vibrato(1.0).gain(-1.5)},
    {"Harpsi", pluckVoice().osc1(9).osc2(2, 12, 2).amp(2, 1100, 0.0, 250).filter(Filter::LowPass, 3500, 0.1, 0.5)
                   .filterEnv(1.5, 2.2, 300, 0.2, 200).chorus(0.15, 8, 1.5, 0.5, 0.8).gain(6.5)},
    {"Growing Pad", padVoice().osc1BeyondBank(0, 4).osc2(2, 0, -6).amp(2000, 3500, 0.9, 2500)
                        .filterEnv(2.0, 2200, 2500, 0.8, 2500).filter(Filter::LowPass, 500, 0.3, 0.3).gain(-2)},
    // 37: a round sine pad with a light octave FM sparkle.
    {"Lullaby Pad", padVoice().routing(Routing::Parallel).osc1(33).osc2(1, 12).fmIndex(0.3).osc2Env(2000, 0.3)
                        .amp(800, 3500, 0.85, 2800).filter(Filter::LowPass, 2000, 0.0, 0.3).gain(11.5)},
    {"Friendly", leadVoice().osc1(26).osc2(10, 0, 5).filter(Filter::LowPass, 1500, 0.1, 0.5)
                     .amp(8, 2000, 0.75, 300).gain(1)},
    {"Organ Synth", organVoice().osc1(15).osc2(2, 0, 5).filter(Filter::LowPass, 2500, 0.3, 0.4)
                        .filterEnv(1.5, 2.2, 250, 0.0, 100).perc(true).gain(0)},
    {"Not-so-friendly", leadVoice().osc1(9).osc2(27, 0, 6).filter(Filter::LowPass, 2000, 0.5, 0.4).drive1(10)
                            .gain(1.5)},
    {"Hostile", leadVoice().osc1(31).osc2(30, 0, 7).ring(0.5).distortion(20).outputBand(8000, 60)
                    .filter(Filter::LowPass, 3500, 0.4, 0.4).gain(-11.5)},
    {"Dark Drones", padVoice().osc1BeyondBank(-12, 0).osc2(2, -12, -7)
                        .filter(Filter::LowPass, 380, 0.4, 0.2).amp(1500, 3500, 0.9, 4000).lfo(0.12, 3000)
                        .wobble(0.8).gain(-2.5)},
    // 43: an electric-piano tine: a sine struck by a decaying octave modulator, in chorus.
    {"Moody Keys", keysVoice().routing(Routing::Parallel).osc1(1).osc2(1, 12).fmIndex(1.6).osc2Env(600, 0.1)
                       .amp(2, 1800, 0.15, 500).chorus(0.4, 6, 2.5, 1.2, 1.0).gain(8)},
    // 44: bubbles: sine blips rising from below, sub FM, fast resonant band-pass.
    {"Bubble Bath", pluckVoice().routing(Routing::Parallel).osc1(1).osc2(1, -12).fmIndex(1.0).osc2Env(150, 0.0)
                        .pitchDown(12, 0, 40).filter(Filter::LowPass, 2500, 0.5, 0.5).lfo(7.0, 1).wobble(0.8)
                        .amp(2, 400, 0.0, 350).echo(0.3, 3, 0.4).gain(8.5)},
    {"Beauty Pad", padVoice().osc1(2, 0, 8).osc2(12, 0, -8).chorus(0.6, 16, 3.5, 0.3, 1.0, 0.25)
                       .filter(Filter::LowPass, 1800, 0.15, 0.3).gain(0)},
    {"Lonesome Pad", padVoice().osc1(23).osc2Off().lfo(4.0, 2000).vibrato(0.8).echo(0.3, 8, 0.5)
                         .amp(1000, 3500, 0.9, 3000).filter(Filter::LowPass, 2500, 0.1, 0.3).gain(8.5)},
    {"Wabber Pad", padVoice().filter(Filter::LowPass, 800, 0.5, 0.3).lfo(3.0, 1500).wobble(1.2).gain(-5)},
    {"Organ Pad", organVoice().osc1(16).osc2(15, 0, 5).amp(400, 3500, 1.0, 1500).chorus(0.5, 10, 2, 0.8, 1.0)
                      .gain(4)},
    {"Muted Trumpet", brassVoice().osc2(8, 0, -3).filter(Filter::LowPass, 600, 0.3, 0.5)
                          .filterEnv(1.5, 40, 500, 0.4, 150).gain(2)},
    {"FM Brass", brassVoice().routing(Routing::Chain).osc1(1).osc2(1).fmIndex(2.5).osc2Env(400, 0.6)
                     .filter(Filter::LowPass, 900, 0.0, 0.5).filterEnv(2.5, 80, 800, 0.6, 200).gain(5)},
    {"FM Hammer", keysVoice().routing(Routing::Chain).osc1(1).osc2(1, 12).fmIndex(3.0).osc2Env(150, 0.1)
                      .amp(2, 1500, 0.1, 400).filter(Filter::LowPass, 6000, 0.0, 0.3).gain(6.5)},
    {"FM Pad I", padVoice().routing(Routing::Chain).osc1(1).osc2(1, 0, 3).fmIndex(1.0).osc2Env(0, 1)
                     .filter(Filter::LowPass, 4000, 0.0, 0.3).gain(2.5)},
    {"FM Pad II", padVoice().routing(Routing::Chain).osc1(1).osc2(1, 7, 2).fmIndex(0.8).osc2Env(0, 1)
                      .osc3(-12, 0, 0.3, 0, 1).filter(Filter::LowPass, 4000, 0.0, 0.3).gain(2)},
    {"Cheapo Clarinet", leadVoice().osc1(24).osc2Off().filter(Filter::LowPass, 2000, 0.1, 0.4).amp(30, 3500, 0.9, 150)
                            .chorus(0, 10, 1, 0.5).gain(9)},
    {"Cheapo Organ", organVoice().osc1(14).osc2Off().chorus(0, 5, 1, 0.5).gain(7)},
    {"Cheapo Sax", leadVoice().osc1(18).osc2(27, 0, 5).filter(Filter::BandPass, 1100, 0.3, 0.5)
                       .filterEnv(1.0, 40, 300, 0.5, 150).amp(25, 3500, 0.85, 150).chorus(0, 10, 1, 0.5).gain(11)},
    {"Cheapo Synth", leadVoice().osc1(3).osc2(2, 0, 5).filter(Filter::LowPass, 2500, 0.2, 0.4).chorus(0, 10, 1, 0.5)
                         .vibrato(0).gain(0.5)},
    {"Cheapo Violin", leadVoice().osc1(2).osc2(2, 0, 6).amp(120, 3500, 0.9, 300)
                          .filter(Filter::LowPass, 2500, 0.1, 0.4)
                          .lfo(6.0, 500).vibrato(2.0).chorus(0, 10, 1, 0.5).gain(4.5)},
    {"Good Bass 1", bassVoice().osc1(3).osc2(2, -12, 4).filter(Filter::LowPass, 300, 0.4, 0.35)
                        .filterEnv(3.5, 2.2, 180, 0.1, 120).drive1(6).gain(-2)},
    {"Good Bass 2", bassVoice().osc1(8, -12).osc2(10, -12).filter(Filter::LowPass, 400, 0.3, 0.35).gain(2)},
    {"Fretless Deep", bassVoice().perc(false).osc1(1, -12).osc2(10, -12).amp(20, 3500, 0.9, 200)
                          .filter(Filter::LowPass, 500, 0.2, 0.3).filterEnv(0.8, 30, 400, 0.3, 150)
                          .pitchDown(1, 0, 90).glide(70).gain(-1.5)},
    {"Nice Lead", leadVoice().osc1(12, 0, 4).osc2(2, 0, -4).filter(Filter::LowPass, 2800, 0.3, 0.4)
                      .filterEnv(2.0, 2.2, 600, 0.45, 250).chorus(0.3, 14, 2, 0.5, 1.0).gain(0.5)},
    {"Perc Lead", leadVoice().perc(true).amp(2, 600, 0.4, 250).filterEnv(2.5, 2.2, 150, 0.2, 200)
                      .filter(Filter::LowPass, 1500, 0.3, 0.4).gain(6.5)},
    {"Saw Lead I", leadVoice().osc2(2, -12).filter(Filter::LowPass, 3000, 0.3, 0.4).chorus(0, 12, 2, 0.6)
                       .gain(2)},
    {"Saw Lead II", leadVoice().osc1(2, 0, 8).osc2(2, 12, -8).filter(Filter::LowPass, 4500, 0.15, 0.4)
                        .filterEnv(2.5, 2.2, 300, 0.5, 250).chorus(0.35, 16, 2.5, 0.5, 1.0).gain(4.5)},
    // 66-68: kicks: a sine falling from two or three octaves above onto two octaves below the key
    // (coarse -12 plus a held pitch-down of 12), so that A3 gives a 55 Hz body.
    {"Deep Kick A 3", drumVoice().osc1(1, -12).pitchDown(12, 0, 0).pitchUp(24, 0, 35).amp(2, 380, 0.0, 150).bass(0.4, 0.3, 120)
                          .gain(8.5)},
    {"Phat Kick A 3", drumVoice().osc1(1, -12).osc2(10, -12).pitchDown(12, 0, 0).pitchUp(30, 0, 45).drive1(9).amp(2, 450, 0.0, 150)
                          .bass(0.6, 0.6, 150).gain(0.5)},
    {"Dirt Kick A3", drumVoice().osc1(1, -12).pitchDown(12, 0, 0).pitchUp(36, 0, 25).drive1(18).distortion(10).outputBand(2500, 20)
                         .amp(2, 300, 0.0, 120).gain(-1.5)},
    // 69-70: hats: square carriers in an inharmonic FM chain, through a high-pass.
    {"Closed Hihat", drumVoice().routing(Routing::Chain).osc1(3, 12).osc2(3, 6, 23).fmIndex(12).osc2Env(0, 1)
                         .osc3(37, 17, 20, 0, 1).pitchUp(0, 0, 0).filter(Filter::HighPass, 7000, 0.1, 0.0)
                         .amp(2, 60, 0.0, 50).gain(14)},
    {"Open Hihat", drumVoice().routing(Routing::Chain).osc1(3, 12).osc2(3, 6, 23).fmIndex(12).osc2Env(0, 1)
                       .osc3(37, 17, 20, 0, 1).pitchUp(0, 0, 0).filter(Filter::HighPass, 6000, 0.1, 0.0)
                       .amp(2, 450, 0.0, 300).gain(8)},
    {"Steel Drum", bellVoice().osc2(1, 12, 6).fmIndex(1.1).osc2Env(250, 0.1).amp(2, 650, 0.0, 500)
                       .pitchUp(1, 0, 20).filter(Filter::LowPass, 5000, 0.0, 0.3).gain(8)},
    {"Tom Drum I", drumVoice().osc1(1).osc2(10, 0, 5).pitchUp(12, 0, 80).amp(2, 500, 0.0, 250).gain(5.5)},
    {"Tom Drum II", drumVoice().osc1(1, -5).osc2(10, -5, 5).pitchUp(10, 0, 150).amp(2, 700, 0.0, 300).gain(4.5)},
    {"Plucked Lead", pluckVoice().osc1(2, 0, 4).osc2(26, 0, -4).amp(2, 900, 0.0, 350)
                         .filter(Filter::LowPass, 1200, 0.3, 0.45)
                         .filterEnv(3.0, 2.2, 220, 0.1, 250).voices(6).gain(4)},
    {"Dual Saw", leadVoice().osc1(2).osc2(2).wide(10).filter(Filter::LowPass, 3500, 0.15, 0.4).gain(1)},
    {"Dual Brass", brassVoice().wide(7).gain(2)},
    {"Acid Lead 1", leadVoice().osc1(2).osc2Off().perc(true).filter(Filter::LowPass, 500, 0.82, 0.4)
                        .filterEnv(3.0, 2.2, 220, 0.2, 150).amp(2, 1200, 0.7, 150).glide(60).voices(4).distortion(4)
                        .vibrato(0).gain(-7)},
    {"Acid Lead 2", leadVoice().osc1(3).osc2Off().perc(true).filter(Filter::LowPass, 450, 0.86, 0.4)
                        .filterEnv(3.5, 2.2, 300, 0.15, 150).amp(2, 1200, 0.7, 150).glide(80).voices(4)
                        .vibrato(0).gain(-12.5)},
    {"Nice Square", leadVoice().osc1(3).osc2(3, 12, 4).filter(Filter::LowPass, 2500, 0.1, 0.4)
                        .filterEnv(0, 2.2, 500, 1, 250).lfo(5.0, 400).vibrato(2.0).chorus(0.3, 12, 2, 0.5, 1.0).gain(0.5)},
    {"Saw Pad", padVoice().osc1(2, 0, 7).osc2(2, 0, -7).gain(3.5)},
    {"Wow Pad", padVoice().osc1BeyondBank(0, 4).osc2(8, 0, -6).filter(Filter::LowPass, 500, 0.55, 0.3)
                    .filterEnv(3.0, 1800, 2500, 0.4, 2000).lfo(0.4, 1500).wobble(0.6).gain(-7.5)},
    {"Disco Tom", drumVoice().osc1(1).osc2(10, 0, 4).pitchUp(14, 0, 200).amp(2, 800, 0.0, 300)
                      .chorus(0.2, 30, 1, 0.2, 0.5, 0.3).gain(4.5)},
    {"Lively Lead", leadVoice().osc1(8).osc2(2, 0, 5).lfo(6.5, 200).vibrato(2.0).wobble(0.3).gain(2)},
    {"Fifth Element", leadVoice().osc1(2, 0, 3).osc2(2, 7, -3).filter(Filter::LowPass, 3500, 0.2, 0.4)
                          .echo(0.3, 6, 0.35).gain(5)},
    {"Hollow Sky", padVoice().osc1(25).osc2(23, 12, 5).amp(900, 3500, 0.85, 3000)
                       .chorus(0.6, 40, 3, 0.2, 1.0, 0.4).gain(3.5)},
    {"Woop Bass", bassVoice().perc(false).pitchDown(10, 0, 120).filterEnv(3.0, 2.2, 500, 0.2, 120).gain(2)},
    {"Butterflies", keysVoice().osc1(1, 12).osc2(10, 0, 6).lfo(7.5, 300).vibrato(4.0).wobble(0.4)
                        .amp(20, 1500, 0.3, 1200).echo(0.4, 3, 0.5).gain(5)},
    {"Bass Organ Stab", organVoice().osc1(15, -12).osc2(14, 0, 3).amp(6, 450, 0.15, 120).gain(3.5)},
    {"Voiced Lead", leadVoice().osc1(20).osc2(19, 0, 5).filter(Filter::BandPass, 1400, 0.3, 0.6).gain(9)},
    {"Club Bass", bassVoice().osc1(8).osc2(1, -12).filter(Filter::LowPass, 350, 0.3, 0.35).bass(0.6, 0.7, 130)
                      .distortion(6).gain(-4.5)},
    {"Jungle Sub", bassVoice().osc1(1, -12).osc2Off().pitchUp(3, 0, 20).amp(2, 3500, 1.0, 150).bass(0.5, 0.4, 110)
                       .filter(Filter::LowPass, 2000, 0.0, 0.3).gain(4)},
    {"Sub Organ", organVoice().osc1(14, -12).osc2(1, -12).filter(Filter::LowPass, 2000, 0.0, 0.3).gain(-0.5)},
    {"Solid Woof", bassVoice().osc1(10, -12).osc2(1, -12).drive1(8).filter(Filter::LowPass, 250, 0.3, 0.35)
                       .filterEnv(3.0, 2.2, 150, 0.1, 100).gain(-3)},
    {"Space Wow", leadVoice().osc1(29).osc2(30, 0, 7).lfo(0.3, 1).vibrato(8).filter(Filter::LowPass, 900, 0.6, 0.3)
                      .wobble(1.5).echo(0.45, 7, 0.6).gain(-1)},
    {"Windy Horn", brassVoice().osc1(24).osc2(2, 0, 5).osc3(31, 23, 6, 400, 0.3).amp(80, 3500, 0.85, 300)
                       .filterEnv(2.0, 150, 1200, 0.6, 300).gain(4.5)},
    {"Pleasant Organ", organVoice().osc1(16).osc2(14, 0, 4).filter(Filter::LowPass, 4000, 0.0, 0.3).gain(2)},
    {"Club Organ", organVoice().perc(true).osc1(17).osc2(14, 0, 3).amp(2, 1200, 0.4, 120)
                       .chorus(0.2, 4, 1, 5, 0.6).gain(4)},
    {"Ethnic Perc", drumVoice().routing(Routing::Chain).osc1(1).osc2(1, 7).fmIndex(1.5).osc2Env(120, 0.0)
                        .pitchUp(5, 0, 60).amp(2, 350, 0.0, 250).gain(11)},
    {"Plucked Bass", bassVoice().amp(2, 650, 0.0, 150).filterEnv(3.0, 2.2, 120, 0.0, 100).gain(3.5)},
    {"Synth Clap", drumVoice().routing(Routing::Chain).osc1(3, -12).osc2(3, -7, 31).fmIndex(14).osc2Env(0, 1)
                       .osc3(29, 11, 24, 0, 1).pitchUp(0, 0, 0).filter(Filter::BandPass, 1200, 0.3, 0.0)
                       .amp(2, 220, 0.0, 150).chorus(0.4, 11, 1, 0.5, 1.0, 0.3).gain(17.5)},
    {"I'm Morphing", padVoice().osc1(5).osc2(28, 0, 5).ring(0.3).filter(Filter::BandPass, 900, 0.5, 0.4)
                         .lfo(0.2, 1).wobble(1.5).amp(200, 3500, 0.85, 1200).gain(1)},
    {"Worf", leadVoice().osc1(30, -12).osc2(3, -12, 5).ring(0.5).filter(Filter::LowPass, 700, 0.5, 0.3)
                 .lfo(6.0, 1).wobble(0.7).vibrato(0).voices(4).gain(0)},
    {"Deep Drivin'", bassVoice().osc1(2, -12).osc2(8, -12, -5).distortion(10)
                         .filter(Filter::LowPass, 500, 0.3, 0.35).gain(-8)},
    {"Dravenistix", drumVoice().routing(Routing::Chain).osc1(10, 12).osc2(1, 12, 37).fmIndex(4).osc2Env(40, 0.0)
                        .pitchUp(7, 0, 10).filter(Filter::BandPass, 1200, 0.3, 0.6).amp(2, 120, 0.0, 100).gain(21)},
    {"Canada", leadVoice().osc1(2, 0, 4).osc2(2, 7, -4).amp(40, 3500, 0.85, 900).chorus(0.5, 18, 3, 0.4, 1.0, 0.2)
                   .filter(Filter::LowPass, 2500, 0.1, 0.4).voices(8).gain(6)},
    {"Nasty Edge", leadVoice().osc1(31).osc2(11, 0, 5).filter(Filter::LowPass, 2500, 0.55, 0.4).distortion(8)
                       .gain(-6)},
    {"True Love", padVoice().osc1(10).osc2(32, 12, 4).amp(300, 3500, 0.85, 2000)
                      .filter(Filter::LowPass, 2500, 0.0, 0.3).gain(5)},
    {"Pure Evil", leadVoice().osc1(31, -12).osc2(9, -11, 9).ring(0.7).distortion(18).pitchUp(12, 0, 400)
                      .filter(Filter::LowPass, 1500, 0.5, 0.3).outputBand(7000, 50).gain(-9.5)},
    {"SyntheSax", leadVoice().osc1(18).osc2(27, 0, 4).filter(Filter::BandPass, 1200, 0.35, 0.5)
                      .filterEnv(1.0, 60, 400, 0.5, 150).amp(30, 3500, 0.85, 150).pitchDown(1, 0, 70).gain(9.5)},
    {"Lead or Bass", leadVoice().osc1(2, -12).osc2(3, -12, 5).filter(Filter::LowPass, 900, 0.35, 0.4)
                         .filterEnv(2.5, 2.2, 300, 0.3, 150).glide(50).voices(4).gain(-0.5)},
    {"Thingonastring", pluckVoice().osc1(10).osc2(2, 0, 3).amp(2, 1400, 0.0, 500)
                           .filter(Filter::LowPass, 1800, 0.2, 0.5)
                           .filterEnv(2.0, 2.2, 250, 0.0, 250).gain(4)},
    {"Keys Please", keysVoice().osc1(10).osc2(1, 12, 2).ring(0.2).gain(4)},
    {"How", leadVoice().osc1(22).osc2(23, 0, 5).filter(Filter::BandPass, 400, 0.45, 0.4)
                .filterEnv(2.0, 180, 900, 0.5, 300).gain(6)},
    {"Distorted Lead", leadVoice().osc1(2).osc2(3, 0, 6).distortion(18).outputBand(7000, 60).gain(-16)},
    {"Unison Synth I", leadVoice().unison(6, 4).chorus(0.2, 12, 2, 0.5, 1.0).gain(-5)},
    {"Unison Synth II", leadVoice().unison(8, 3).osc1(3, 0, 3).osc2(2, 0, -3).glide(40).gain(-12)},
    {"Funky Bassline", bassVoice().osc1(8, -12).osc2(2, -12, 5).filter(Filter::LowPass, 240, 0.5, 0.35)
                           .filterEnv(3.5, 2.2, 110, 0.05, 80).amp(2, 600, 0.45, 80).gain(0)},
    {"Arp Pluck I", pluckVoice().amp(2, 250, 0.0, 200).gain(3)},
    {"Arp Pluck II", pluckVoice().osc2(2, 7, 4).amp(2, 300, 0.0, 220).filter(Filter::LowPass, 1000, 0.35, 0.45)
                         .gain(2.5)},
    {"Arp Lead", leadVoice().perc(true).amp(2, 450, 0.5, 180).echo(0.3, 3, 0.35).gain(6.5)},
    {"Wabber Bass", bassVoice().perc(false).filter(Filter::LowPass, 250, 0.55, 0.3).filterEnv(0.5, 2.2, 500, 0.5, 100)
                        .amp(6, 3500, 1.0, 120).lfo(3.0, 1).wobble(2.2).gain(-6)},
    {"Nice Bass", bassVoice().osc1(12, -12).osc2(10, -12, 4).filter(Filter::LowPass, 500, 0.2, 0.35)
                      .chorus(0.2, 10, 1.5, 0.4, 1.0).chorusTone(4000, 150).bass(0.4, 0.3, 110).gain(2)},
    {"Double Note", leadVoice().osc1(8, 0, 3).osc2(8, 12, -3).filter(Filter::LowPass, 3000, 0.25, 0.4)
                        .filterEnv(2.0, 2.2, 350, 0.4, 250).vibrato(0).gain(1.5)},
    {"Dravenor Attack", brassVoice().perc(true).amp(2, 1200, 0.6, 250).filterEnv(3.0, 2.2, 250, 0.35, 200)
                            .osc1(2, 0, 6).osc2(8, 0, -6).gain(4.5)},
    {"Times Square", leadVoice().osc1(30).osc2(3, 0, 5).filter(Filter::LowPass, 4000, 0.2, 0.4)
                         .echo(0.25, 4, 0.35).gain(1)},
    {"Accordion", organVoice().osc1(18).osc2(18, 0, 10).amp(30, 3500, 1.0, 120)
                      .filter(Filter::LowPass, 3000, 0.1, 0.3)
                      .lfo(6.0, 1).vibrato(0.5).chorus(0, 5, 1, 0.5).gain(2.5)},
};

} // namespace factory
