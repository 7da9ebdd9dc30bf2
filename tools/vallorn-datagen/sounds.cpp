#include "sounds.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "base/atomic_file.h"
#include "base/random.h"
#include "base/wav_file.h"

namespace vallorn::datagen {
namespace {

constexpr double kTau = 6.283185307179586;
constexpr double kRate = kSoundRate;
constexpr double kFade = 0.25;  // seconds of cross-fade that close each loop

// A state-variable filter (trapezoidal, stable at every setting): low-pass, band-pass and
// high-pass outputs of one input. `damping` is 1/Q.
struct TFilter {
    double low = 0, band = 0, high = 0;
    void Run(double x, double hz, double damping) {
        const double g = std::tan(kTau / 2 * std::min(hz, kRate * 0.45) / kRate);
        const double a1 = 1 / (1 + g * (g + damping)), a2 = g * a1, a3 = g * a2;
        const double v3 = x - s2_;
        band = a1 * s1_ + a2 * v3;
        low = s2_ + a2 * s1_ + a3 * v3;
        high = x - damping * band - low;
        s1_ = 2 * band - s1_;
        s2_ = 2 * low - s2_;
    }

private:
    double s1_ = 0, s2_ = 0;
};

// A decaying burst: 1 at `t` = 0, falling to 1/e in `seconds`; 0 before.
double Burst(double t, double seconds) {
    return t < 0 ? 0.0 : std::exp(-t / seconds);
}

// The time since the last event of a train with the given period, with the train's phase.
double SinceLast(double t, double period, double phase = 0) {
    const double u = t - phase;
    return u - period * std::floor(u / period);
}

// `seconds` of `voice` (called with the time of each sample), made into a loop: the extra
// fade at the end is cross-faded into the beginning, then the loop is brought to a common
// peak. Noise fades with equal power; a voice whose periods divide the loop (`periodic`)
// repeats itself, so it fades linearly and keeps its level.
std::vector<float> Loop(double seconds, bool periodic, const std::function<double(double)>& voice) {
    const size_t n = size_t(seconds * kRate), fade = size_t(kFade * kRate);
    std::vector<double> raw(n + fade);
    for (size_t k = 0; k < raw.size(); ++k) raw[k] = voice(double(k) / kRate);
    std::vector<float> out(n);
    double peak = 1e-9;
    for (size_t k = 0; k < n; ++k) {
        double v = raw[k];
        if (k < fade) {
            const double x = (double(k) + 0.5) / double(fade);
            const double in = periodic ? x : std::sin(x * kTau / 4);
            const double out = periodic ? 1 - x : std::cos(x * kTau / 4);
            v = raw[k] * in + raw[n + k] * out;
        }
        raw[k] = v;
        peak = std::max(peak, std::abs(v));
    }
    for (size_t k = 0; k < n; ++k) out[k] = float(0.8 * raw[k] / peak);
    return out;
}

// Wind over the ridges: noise through a band-pass whose centre and level swell in gusts, a
// faint whistle on top, the highs rolled off.
std::vector<float> Wind() {
    TSKIRandom rng(0x57494E44);
    TFilter body, whistle, soft1, soft2;
    return Loop(8.0, false, [&](double t) {
        const double gust = 0.55 + 0.25 * std::sin(kTau * t / 8 + 0.7) +
                            0.15 * std::sin(kTau * t * 3 / 8 + 2.1) +
                            0.05 * std::sin(kTau * t * 7 / 8);
        const double noise = rng.Uniform() * 2 - 1;
        body.Run(noise, 260 + 500 * gust, 0.9);
        whistle.Run(noise, 900 + 700 * gust, 0.08);
        soft1.Run(gust * (body.band + 0.05 * whistle.band * gust), 1400, 1.4);
        soft2.Run(soft1.low, 1400, 1.4);
        return soft2.low;
    });
}

// The lift station: the motor's hum with its harmonics, the bullwheel's steady rumble and a
// double clack each time a carrier passes the wheel.
std::vector<float> Lift() {
    TSKIRandom rng(0x4C494654);
    TFilter rumble, clack;
    return Loop(4.0, true, [&](double t) {
        const double hum = 0.30 * std::sin(kTau * 50 * t) + 0.18 * std::sin(kTau * 100 * t) +
                           0.08 * std::sin(kTau * 150 * t) + 0.05 * std::sin(kTau * 300 * t);
        const double noise = rng.Uniform() * 2 - 1;
        rumble.Run(noise, 120, 0.7);
        const double since = SinceLast(t, 2.0, 0.3);
        const double hit = Burst(since, 0.012) + 0.7 * Burst(since - 0.11, 0.015);
        clack.Run(noise * hit, 1700, 0.15);
        const double ring = 0.15 * hit * std::sin(kTau * 820 * since);
        return hum * (0.8 + 0.2 * std::sin(kTau * t / 4)) + 0.5 * rumble.low + 0.6 * clack.band +
               ring;
    });
}

// The snowmobile: a two-stroke engine at 45 firings a second, each an exhaust pop that rings
// in the pipe, over a buzzing intake, heard through the cowling.
std::vector<float> Scooter() {
    TSKIRandom rng(0x53434F4F);
    TFilter pipe, buzz, cowling;
    return Loop(2.0, true, [&](double t) {
        const double since = SinceLast(t, 1.0 / 45);
        const double noise = rng.Uniform() * 2 - 1;
        const double pop = Burst(since, 0.004) * (0.8 + 0.4 * noise);
        pipe.Run(pop, 180, 0.25);
        const double saw = 2 * SinceLast(t, 1.0 / 90) * 90 - 1;
        buzz.Run(saw + 0.3 * noise, 900, 0.5);
        const double wobble = 1 + 0.15 * std::sin(kTau * t);
        cowling.Run(wobble * (1.5 * pipe.band + 0.25 * buzz.band), 2500, 1.2);
        return cowling.low;
    });
}

// The helicopter: the rotor's chop five times a second, each a low thump with a slap of air,
// the turbine's whine and the wash of the downdraft.
std::vector<float> Heli() {
    TSKIRandom rng(0x48454C49);
    TFilter slap, wash;
    return Loop(3.0, true, [&](double t) {
        const double since = SinceLast(t, 0.2);
        const double noise = rng.Uniform() * 2 - 1;
        const double thump = Burst(since, 0.035) * std::sin(kTau * 62 * since);
        slap.Run(noise * Burst(since, 0.02), 500, 0.6);
        wash.Run(noise, 350, 1.2);
        const double whine = 0.04 * std::sin(kTau * 1320 * t) + 0.02 * std::sin(kTau * 2640 * t);
        return 0.9 * thump + 0.9 * slap.band + 0.25 * wash.band + whine;
    });
}

// The snowcat: a diesel rumble at 25 firings a second and the squeak and clatter of its
// tracks on packed snow.
std::vector<float> Snowcat() {
    TSKIRandom rng(0x53434154);
    TFilter diesel, links, squeak;
    return Loop(4.0, true, [&](double t) {
        const double noise = rng.Uniform() * 2 - 1;
        const double since = SinceLast(t, 1.0 / 25);
        diesel.Run(Burst(since, 0.01) * (1 + 0.3 * noise), 90, 0.3);
        const double link = SinceLast(t, 0.1);
        links.Run(noise * Burst(link, 0.006), 2500, 0.4);
        // Each squeak glides up as a track plate bites the snow.
        const double s = SinceLast(t, 0.4, 0.05);
        const double glide = 1500 + 900 * s / 0.4;
        squeak.Run(noise * Burst(s, 0.07), glide, 0.04);
        return 2.2 * diesel.band + 0.6 * links.band + 0.35 * squeak.band;
    });
}

// The free-ride skier: skis hissing on snow, swelling in each carved turn.
std::vector<float> Avatar() {
    TSKIRandom rng(0x53574F4F);
    TFilter hiss;
    return Loop(4.0, false, [&](double t) {
        const double turn = 0.5 - 0.5 * std::cos(kTau * t / 2);  // two turns in the loop
        hiss.Run(rng.Uniform() * 2 - 1, 1800 + 2200 * turn, 0.7);
        return (0.25 + 0.75 * turn * turn) * hiss.band;
    });
}

}  // namespace

std::vector<TSoundEffect> SynthesiseSounds() {
    return {{"wind", Wind()}, {"lift", Lift()},       {"scooter", Scooter()},
            {"heli", Heli()}, {"snowcat", Snowcat()}, {"avatar", Avatar()}};
}

bool WriteSounds(const std::filesystem::path& dataFolder, size_t* bytes, std::string* error) {
    std::string list;
    size_t total = 0;
    for (const TSoundEffect& effect : SynthesiseSounds()) {
        TSKIWavSound sound;
        sound.Rate = kSoundRate;
        sound.Channels = 1;
        sound.Samples.reserve(effect.samples.size());
        for (float v : effect.samples)
            sound.Samples.push_back(int16_t(std::lround(std::clamp(v, -1.0f, 1.0f) * 32767)));
        const std::string file = EncodeWav(sound);
        if (!WriteFileAtomically(dataFolder / (effect.name + ".wav"), file, error)) return false;
        total += file.size();
        list += effect.name + "\n";
    }
    if (!WriteFileAtomically(dataFolder / "Sounds.txt", list, error)) return false;
    if (bytes) *bytes = total + list.size();
    return true;
}

}  // namespace vallorn::datagen
