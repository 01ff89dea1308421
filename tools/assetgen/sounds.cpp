// The six sound cues. Lengths and rates are fixed by the game's catalogue; everything
// else is free, so each cue is shaped to its moment and faded so nothing clicks.
#include <cmath>
#include <vector>

#include "assets.h"
#include "synth.h"
#include "wav_writer.h"

namespace assetgen {

namespace {

Signal silence(std::size_t samples) {
    return Signal(samples, 0.0);
}

Bytes wav8(double rate, bool extra_size, const Signal& s, const std::vector<InfoEntry>& info = {}) {
    return wav_file({static_cast<std::uint32_t>(rate), 8, extra_size}, to_unsigned8(s), info);
}

// A note of additive tone with its own attack and ring-out, added into `s`.
void add_note(Signal& s, double rate, double start, double freq, double gain, Wave wave,
              double tilt, double tau, double attack = 0.004) {
    Phase phase;
    const std::size_t first = static_cast<std::size_t>(start * rate);
    for (std::size_t i = first; i < s.size(); ++i) {
        const double t = (i - first) / rate;
        const double env = hit_envelope(t, attack, tau);
        if (t > attack && env < 1e-4) break;
        // Harmonics fade faster than the fundamental, like a plucked or struck tone.
        const double bright = tilt * (0.55 + 0.45 * exp_det(-t / (tau * 0.5)));
        s[i] += gain * env * band_limited(wave, phase.advance(freq, rate), freq, rate, bright);
    }
}

}  // namespace

// Single shot: a sharp crack over a short low thump, with a little room after it.
Bytes shot_sound() {
    const double rate = 11025;
    Signal s = silence(5830);
    Rng rng(0x5407ull);
    OnePole crack_filter, body_filter, tail_a, tail_b;
    Phase thump;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = i / rate;
        const double noise = rng.signed_unit();
        const double crack =
            crack_filter.highpass(noise, 1800, rate) * hit_envelope(t, 0.0006, 0.010);
        const double body = body_filter.lowpass(noise, 1400, rate) * hit_envelope(t, 0.001, 0.040);
        const double freq = 52 + 95 * exp_det(-t / 0.030);
        const double low = sin_turns(thump.advance(freq, rate)) * hit_envelope(t, 0.002, 0.065);
        const double room = tail_b.lowpass(tail_a.lowpass(noise, 500, rate), 500, rate) *
                            hit_envelope(t, 0.02, 0.13);
        s[i] = soft_clip(1.6 * crack + 1.5 * body + 0.9 * low + 1.2 * room);
    }
    finish(s, rate, 0.92, 0.0005, 0.05);
    return wav8(rate, false, s);
}

// A balloon bursting: a bright snap, then the torn rubber fluttering for a moment.
Bytes pop_sound() {
    const double rate = 11025;
    Signal s = silence(6426);
    Rng rng(0x909ull);
    OnePole snap_filter;
    BandPass flutter_filter, rubber_filter;
    Phase flutter, wobble;
    // A few pieces of rubber flicking against each other.
    std::vector<double> ticks;
    for (int k = 0; k < 5; ++k) ticks.push_back(rng.range(0.07, 0.30));
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = i / rate;
        const double noise = rng.signed_unit();
        const double snap =
            snap_filter.highpass(noise, 2500, rate) * hit_envelope(t, 0.0004, 0.006);
        const double rate_hz = 24 + 20 * exp_det(-t / 0.08);
        const double flap = 0.5 + 0.5 * sin_turns(flutter.advance(rate_hz, rate));
        const double flutter_noise =
            flutter_filter.process(noise, 900 - 300 * clamp01(t / 0.3), 2.5, rate);
        const double body = flutter_noise * flap * flap * hit_envelope(t, 0.004, 0.085);
        const double rubber =
            rubber_filter.process(noise, 320, 4.0, rate) * hit_envelope(t, 0.002, 0.05);
        const double low = sin_turns(wobble.advance(95 + 90 * exp_det(-t / 0.04), rate)) *
                           hit_envelope(t, 0.002, 0.05);
        double tick = 0.0;
        for (double at : ticks) tick += hit_envelope(t - at, 0.0005, 0.004);
        s[i] = soft_clip(2.2 * snap + 3.0 * body + 1.2 * rubber + 0.35 * low + 0.2 * tick * noise);
    }
    finish(s, rate, 0.9, 0.0003, 0.06);
    return wav8(rate, false, s);
}

// Smart bomb: a crack, a deep falling boom and a long low rumble rolling away.
Bytes bomb_sound() {
    const double rate = 22050;
    Signal s = silence(31705);
    Rng rng(0xB0B0ull);
    OnePole crack_filter, rumble_a, rumble_b, roll_a;
    Phase boom;
    double roll = 0.0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = i / rate;
        const double noise = rng.signed_unit();
        const double crack =
            crack_filter.highpass(noise, 1500, rate) * hit_envelope(t, 0.0008, 0.018);
        const double freq = 34 + 70 * exp_det(-t / 0.09);
        const double low = sin_turns(boom.advance(freq, rate)) * hit_envelope(t, 0.006, 0.38);
        const double cutoff = 110 + 900 * exp_det(-t / 0.12);
        const double rumble = rumble_b.lowpass(rumble_a.lowpass(noise, cutoff, rate), cutoff, rate);
        // Slow random swell, so the rumble rolls rather than hisses.
        if (i % 64 == 0) roll = rng.uniform();
        const double swell = 0.7 + 0.6 * roll_a.lowpass(roll, 6, rate);
        s[i] =
            soft_clip(1.2 * crack + 1.5 * low + 5.0 * rumble * swell * hit_envelope(t, 0.01, 0.42));
    }
    finish(s, rate, 0.92, 0.0005, 0.15);
    return wav8(rate, true, s);
}

// A balloon got away: a sagging "wah-wah", sliding down an octave.
Bytes miss_sound() {
    const double rate = 22050;
    Signal s = silence(12522);
    const double length = s.size() / rate;
    Phase phase, vibrato;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = i / rate;
        const double u = t / length;
        const double wobble =
            1.0 + 0.012 * smoothstep(0.3, 0.8, u) * sin_turns(vibrato.advance(7.0, rate));
        const double freq = 392.0 * exp2_det(-u) * wobble;  // one octave down over the cue
        // Two "wah"s: the tone opens up and closes again, like a trumpet mute.
        double open = 0.0;
        if (u < 0.38) {
            open = sin_turns(0.5 * u / 0.38);
        } else {
            const double w = (u - 0.38) / 0.62;
            open = smoothstep(0.0, 0.22, w) * (1.0 - 0.6 * smoothstep(0.35, 1.0, w));
        }
        const double p = phase.advance(freq, rate);
        const double tone = 0.7 * band_limited(Wave::Square, p, freq, rate, 0.3 + 0.55 * open) +
                            0.5 * band_limited(Wave::Triangle, p, freq, rate);
        s[i] = (0.3 + 0.7 * open) * tone;
    }
    finish(s, rate, 0.85, 0.01, 0.08);
    return wav8(rate, true, s, {{"ISFT", "Puffpop 1.0"}});
}

// The round is over: three falling notes in a minor key, the last one left to ring.
Bytes end_sound() {
    const double rate = 11025;
    Signal s = silence(4930);
    const double notes[] = {783.99, 622.25, 523.25};  // G5, E-flat 5, C5
    for (int n = 0; n < 3; ++n) {
        const double start = 0.125 * n;
        add_note(s, rate, start, notes[n], 1.0, Wave::Square, 0.62, n < 2 ? 0.09 : 0.16);
        add_note(s, rate, start, notes[n] * 0.5, 0.45, Wave::Triangle, 1.0, n < 2 ? 0.08 : 0.16);
    }
    finish(s, rate, 0.85, 0.002, 0.06);
    return wav8(rate, true, s);
}

// A round begins: a bright rising arpeggio that lands on a ringing chord.
Bytes start_sound() {
    const double rate = 16000;
    Signal s = silence(25776 / 2);
    const double notes[] = {523.25, 659.25, 783.99, 1046.50};  // C5 E5 G5 C6
    for (int n = 0; n < 4; ++n) {
        const double start = 0.09 * n;
        const double tau = n < 3 ? 0.22 : 0.30;
        add_note(s, rate, start, notes[n], 1.0, Wave::Saw, 0.72, tau, 0.003);
        add_note(s, rate, start, notes[n] * 2.0, 0.25, Wave::Sine, 1.0, tau * 0.6,
                 0.003);  // sparkle
    }
    add_note(s, rate, 0.27, 261.63, 0.5, Wave::Triangle, 1.0, 0.35, 0.01);  // C4 under the landing
    finish(s, rate, 0.85, 0.002, 0.08);
    return wav_file(
        {16000, 16, false}, to_signed16(s),
        {{"INAM", "Puffpop - a new round begins!"}, {"ISFT", "Puffpop assetgen v1.0.0"}});
}

}  // namespace assetgen
