#include "music.h"

#include <lame.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <memory>

#include "base/atomic_file.h"
#include "base/random.h"

namespace vallorn::datagen {
namespace {

constexpr double kTau = 6.283185307179586;
constexpr double kLength = 68;  // seconds of music before the last chord rings out

// A single cycle of a waveform, read with linear interpolation.
class TWaveTable {
public:
    // Harmonic n has amplitude n^-rolloff, up to `harmonics`.
    TWaveTable(int harmonics, double rolloff) {
        for (size_t k = 0; k < kSize; ++k) {
            double v = 0;
            for (int n = 1; n <= harmonics; ++n)
                v += std::sin(kTau * n * double(k) / kSize) / std::pow(n, rolloff);
            table_[k] = v;
        }
        const double peak = *std::max_element(table_.begin(), table_.end());
        for (double& v : table_) v /= peak;
        table_[kSize] = table_[0];
    }
    double operator()(double phase) const {
        const double p = (phase - std::floor(phase)) * kSize;
        const size_t i = size_t(p);
        return table_[i] + (table_[i + 1] - table_[i]) * (p - double(i));
    }

private:
    static constexpr size_t kSize = 4096;
    std::array<double, kSize + 1> table_{};
};

// The note moved by whole octaves into low..low + 11.
int IntoOctave(int midi, int low) {
    while (midi < low) midi += 12;
    while (midi >= low + 12) midi -= 12;
    return midi;
}

// The factor that makes a level fall to 1/e in `seconds`, one sample at a time.
double Decay(double seconds) {
    return std::exp(-1.0 / (seconds * kMusicRate));
}

double NoteHz(double midi) {
    return 440.0 * std::pow(2.0, (midi - 69) / 12);
}

// Rising and falling edges of a note, 0..1.
double Envelope(double t, double attack, double hold, double release) {
    if (t < 0) return 0;
    if (t < attack) return t / attack;
    if (t < hold) return 1;
    const double r = (t - hold) / release;
    return r >= 1 ? 0 : 1 - r * r * (3 - 2 * r);
}

struct TChord {
    int root;                // semitones above the tonic
    std::vector<int> notes;  // semitones above the root
};

// Four chords per round, one a bar: warm sevenths, suspended and added-ninth chords.
std::vector<TChord> Progression(int which) {
    const std::vector<int> maj7{0, 4, 7, 11}, min7{0, 3, 7, 10}, add9{0, 4, 7, 14},
        sus2{0, 2, 7, 12}, minor6{0, 3, 7, 9};
    switch (which) {
        case 1:
            return {{9, min7}, {5, maj7}, {0, add9}, {7, sus2}};
        case 2:
            return {{0, maj7}, {4, min7}, {5, maj7}, {5, minor6}};
        default:
            return {{0, add9}, {9, min7}, {5, maj7}, {7, sus2}};
    }
}

class TComposer {
public:
    explicit TComposer(const TMusicTrack& track)
        : track_(track),
          random_(track.seed),
          beat_(60.0 / track.tempo),
          chords_(Progression(track.progression)),
          pad_(6, 1.8),
          soft_(3, 2.5),
          sine_(1, 1) {
        bars_ = std::max(8, int(std::lround(kLength / (4 * beat_))));
        const size_t total = size_t((bars_ * 4 * beat_ + 6) * kMusicRate);
        for (auto* channel : {&dry_[0], &dry_[1], &wet_[0], &wet_[1]}) channel->assign(total, 0);
    }

    TStereo Compose() {
        for (int bar = 0; bar < bars_; ++bar) {
            const TChord& chord = ChordAt(bar);
            const bool last = bar == bars_ - 1;
            const double start = bar * 4 * beat_;
            const double length = (last ? 8 : 4) * beat_;
            PadChord(chord, start, length);
            Bass(IntoOctave(track_.tonic + chord.root, 36), start, length);
            if (Section(bar) >= 2) Sparkles(chord, start);
        }
        Melody();
        return Mix();
    }

private:
    // The intro plays the round's last two chords, so the themes start on its first; the
    // piece ends on the tonic.
    const TChord& ChordAt(int bar) const {
        static const TChord home{0, {0, 4, 7, 14}};
        return bar >= bars_ - 1 ? home : chords_[size_t((bar + 2) % 4)];
    }

    // 0: intro, 1: first theme, 2: second theme with sparkles, 3: first theme again, 4: outro.
    int Section(int bar) const {
        if (bar < 2) return 0;
        if (bar >= bars_ - 2) return 4;
        const int body = bars_ - 4, b = bar - 2;
        if (b < body * 3 / 8) return 1;
        if (b < body * 6 / 8) return 2;
        return 3;
    }

    // Close voicing around the middle of the keyboard, two slightly detuned voices a note.
    void PadChord(const TChord& chord, double start, double length) {
        for (int interval : chord.notes) {
            int midi = track_.tonic + chord.root + interval;
            while (midi > 71) midi -= 12;
            while (midi < 55) midi += 12;
            for (double cents : {-6.0, 6.0}) {  // one voice a side
                const double hz = NoteHz(midi + cents / 100);
                Render(start, length + 1.8, 0.35, cents / 10,
                       [&, hz, length](double t, double& phase) {
                           phase += hz / kMusicRate;
                           return pad_(phase) * Envelope(t, 1.4, length, 1.8) * 0.027;
                       });
            }
        }
    }

    void Bass(int midi, double start, double length) {
        const double hz = NoteHz(midi);
        Render(start, length + 1, 0, 0,
               [&, hz, length, fade = Decay(0.8), decay = 1.0](double t, double& phase) mutable {
                   phase += hz / kMusicRate;
                   decay *= fade;
                   return soft_(phase) * Envelope(t, 0.04, length - 0.1, 0.9) *
                          (0.55 + 0.45 * decay) * 0.08;
               });
    }

    // A bell: frequency modulation at an inharmonic ratio, its brightness dying first.
    void Bell(double midi, double start, double gain, double pan) {
        const double hz = NoteHz(midi);
        Render(start, 4.5, 0.5, pan,
               [&, hz, gain, index = 1.6, body = 1.0, shimmer = 0.25](double t,
                                                                      double& phase) mutable {
                   phase += hz / kMusicRate;
                   index *= kIndexFade;
                   body *= kBodyFade;
                   shimmer *= kShimmerFade;
                   const double mod = sine_(phase * 3.5) * index / kTau;
                   const double v = sine_(phase + mod) * body + sine_(phase * 2.0) * shimmer;
                   return v * std::min(1.0, t / 0.004) * gain;
               });
    }

    // Quiet eighth-note plucks climbing through the chord, high up, mostly heard as echo.
    void Sparkles(const TChord& chord, double start) {
        for (int k = 0; k < 8; ++k) {
            const int interval = chord.notes[size_t(k % int(chord.notes.size()))];
            const int midi =
                IntoOctave(track_.tonic + chord.root, 79) + interval + (k >= 4 ? 12 : 0);
            const double hz = NoteHz(midi > 98 ? midi - 12 : midi);
            Render(start + k * beat_ / 2, 1.2, 0.8, k % 2 ? 0.35 : -0.35,
                   [&, hz, fade = Decay(0.25), level = 0.03](double t, double& phase) mutable {
                       phase += hz / kMusicRate;
                       level *= fade;
                       return sine_(phase) * level * std::min(1.0, t / 0.003);
                   });
        }
    }

    // Two four-bar themes on the major pentatonic scale, chord tones on the strong beats.
    void Melody() {
        const std::vector<std::vector<double>> rhythms = {
            {2, 1, 1}, {1, 1, 2}, {3, 1}, {1.5, 0.5, 2}, {2, 2}, {1, 1, 1, 1}, {4}};
        auto theme = [&]() {
            std::vector<std::pair<double, int>> notes;  // beat offset in the 4 bars, scale step
            int step = random_.Range(3, 6);
            for (int bar = 0; bar < 4; ++bar) {
                const auto& rhythm = rhythms[size_t(random_.Below(int(rhythms.size())))];
                double beat = 0;
                for (double length : rhythm) {
                    step = std::clamp(step + random_.Range(-2, 2), 0, 8);
                    if (bar == 3 && beat + length >= 4) step = 5;  // phrases end on the tonic
                    if (!(bar == 3 && beat >= 3)) notes.push_back({bar * 4 + beat, step});
                    beat += length;
                }
            }
            return notes;
        };
        const auto first = theme(), second = theme();
        const int pentatonic[] = {0, 2, 4, 7, 9};
        struct TNote {
            int pitch;
            double beat, gain;
        };
        std::vector<TNote> melody;
        for (int bar = 2; bar + 4 <= bars_ - 2; bar += 4) {
            const int section = Section(bar);
            const auto& notes = section == 2 ? second : first;
            for (const auto& [beat, step] : notes) {
                const TChord& chord = ChordAt(bar + int(beat) / 4);
                int pitch = melodyRoot_ + 12 * (step / 5) + pentatonic[step % 5];
                if (std::fmod(beat, 2.0) == 0) pitch = NearestChordTone(pitch, chord);
                melody.push_back({pitch, bar * 4 + beat, section == 3 ? 0.15 : 0.13});
            }
        }
        // Higher notes sound a little to the right of the melody's middle, lower ones left.
        double middle = 0;
        for (const TNote& note : melody) middle += note.pitch / double(melody.size());
        for (const TNote& note : melody)
            Bell(note.pitch, note.beat * beat_, note.gain,
                 std::clamp((note.pitch - middle) / 16, -0.3, 0.3));
        Bell(melodyRoot_ + 12, (bars_ - 2) * 4 * beat_, 0.11, 0);
        Bell(melodyRoot_ + 7, (bars_ - 1) * 4 * beat_ + beat_, 0.09, 0);
    }

    int NearestChordTone(int pitch, const TChord& chord) const {
        int best = pitch, distance = 99;
        for (int interval : chord.notes)
            for (int octave = -2; octave <= 8; ++octave) {
                const int candidate = track_.tonic + chord.root + interval + 12 * octave;
                if (std::abs(candidate - pitch) < distance) {
                    distance = std::abs(candidate - pitch);
                    best = candidate;
                }
            }
        return best;
    }

    // Adds a voice from `start`, placed at `pan` (-1 left .. 1 right, equal power), and
    // `send` times it to the hall's input.
    template <class TVoice>
    void Render(double start, double seconds, double send, double pan, TVoice voice) {
        const size_t first = size_t(start * kMusicRate);
        const size_t count = std::min(size_t(seconds * kMusicRate), dry_[0].size() - first);
        const double angle = (pan + 1) * kTau / 8;
        const double gains[2] = {std::cos(angle) * std::sqrt(2.0),
                                 std::sin(angle) * std::sqrt(2.0)};
        double phase = 0;
        for (size_t k = 0; k < count; ++k) {
            const double v = voice(double(k) / kMusicRate, phase);
            for (int c = 0; c < 2; ++c) {
                dry_[c][first + k] += float(v * gains[c]);
                wet_[c][first + k] += float(v * gains[c] * send);
            }
        }
    }

    // A small hall (parallel damped combs into all-pass filters, a little longer on the right
    // so that the two sides differ) behind a ping-pong echo on the sends, a gentle low-pass,
    // no DC, then the level set to about -14 dBFS RMS.
    TStereo Mix() {
        const size_t size = dry_[0].size();
        const size_t echo = size_t(0.75 * beat_ * kMusicRate);
        for (size_t k = echo; k < size; ++k) {
            wet_[0][k] += 0.4f * wet_[1][k - echo];
            wet_[1][k] += 0.4f * wet_[0][k - echo];
        }
        std::vector<double> out[2];
        for (int c = 0; c < 2; ++c) {
            const int spread = c * 23;
            std::vector<std::vector<double>> combs, allpasses;
            for (int n : {1557, 1617, 1491, 1422}) combs.emplace_back(size_t(n + spread), 0.0);
            for (int n : {556, 441}) allpasses.emplace_back(size_t(n + spread), 0.0);
            std::array<double, 4> damp{};
            double low = 0, dcIn = 0, dcOut = 0;
            out[c].resize(size);
            for (size_t k = 0; k < size; ++k) {
                const double input = 0.5 * (wet_[0][k] + wet_[1][k]);
                double hall = 0;
                for (size_t n = 0; n < combs.size(); ++n) {
                    auto& line = combs[n];
                    double& cell = line[k % line.size()];
                    damp[n] = cell * 0.7 + damp[n] * 0.3;
                    hall += cell;
                    cell = input * 0.25 + damp[n] * 0.84;
                }
                for (auto& line : allpasses) {
                    double& cell = line[k % line.size()];
                    const double delayed = cell;
                    cell = hall + delayed * 0.5;
                    hall = delayed - hall * 0.5;
                }
                const double mixed = dry_[c][k] + 0.5 * hall;
                low += (mixed - low) * 0.55;  // about 5.6 kHz
                dcOut = low - dcIn + 0.9995 * dcOut;
                dcIn = low;
                out[c][k] = dcOut;
            }
        }
        const size_t fadeIn = size_t(1.0 * kMusicRate), fadeOut = size_t(4.0 * kMusicRate);
        double gains[2];
        for (int c = 0; c < 2; ++c) {  // each side on its own, which also balances them
            std::vector<double>& channel = out[c];
            for (size_t k = 0; k < fadeIn; ++k) channel[k] *= double(k) / double(fadeIn);
            for (size_t k = 0; k < fadeOut; ++k)
                channel[size - 1 - k] *= double(k) / double(fadeOut);
            double sum = 0;
            for (double v : channel) sum += v * v;
            const double rms = std::sqrt(sum / double(size));
            gains[c] = rms > 0 ? std::pow(10.0, -14.0 / 20) / rms : 0;
        }
        TStereo result;
        for (int c = 0; c < 2; ++c) {
            std::vector<float>& samples = c == 0 ? result.left : result.right;
            samples.resize(size);
            for (size_t k = 0; k < size; ++k) {
                double v = out[c][k] * gains[c];
                // Soft knee above -3 dBFS keeps the rare bell peak from clipping.
                const double knee = 0.7;
                if (std::abs(v) > knee)
                    v = std::copysign(
                        knee + (1 - knee) * std::tanh((std::abs(v) - knee) / (1 - knee)), v);
                samples[k] = float(v * 0.97);
            }
        }
        return result;
    }

    TMusicTrack track_;
    TSKIRandom random_;
    double beat_;
    std::vector<TChord> chords_;
    TWaveTable pad_, soft_, sine_;
    // A bell's brightness, body and shimmer fade at their own speeds.
    const double kIndexFade = Decay(0.5), kBodyFade = Decay(1.3), kShimmerFade = Decay(0.4);
    int bars_ = 0;
    int melodyRoot_ = IntoOctave(track_.tonic, 64);  // the melody's lowest tonic
    std::vector<float> dry_[2], wet_[2];
};

}  // namespace

const std::vector<TMusicTrack>& MusicTracks() {
    static const std::vector<TMusicTrack> tracks = {
        {"FirstSnow.mp3", 11, 62, 72, 0},      // D major
        {"QuietSummit.mp3", 23, 57, 66, 1},    // A major, starting on its minor chord
        {"LanternValley.mp3", 37, 65, 78, 2},  // F major
    };
    return tracks;
}

TStereo ComposeTrack(const TMusicTrack& track) {
    return TComposer(track).Compose();
}

bool EncodeMp3(const TStereo& samples, std::string& out, std::string* error) {
    std::unique_ptr<lame_global_flags, int (*)(lame_global_flags*)> lame(lame_init(), lame_close);
    if (!lame) {
        *error = "cannot start the MP3 encoder";
        return false;
    }
    lame_global_flags* gf = lame.get();
    lame_set_in_samplerate(gf, kMusicRate);
    lame_set_out_samplerate(gf, kMusicRate);
    lame_set_num_channels(gf, 2);
    lame_set_mode(gf, JOINT_STEREO);
    lame_set_brate(gf, 128);
    lame_set_quality(gf, 7);
    lame_set_bWriteVbrTag(gf, 1);
    lame_set_write_id3tag_automatic(gf, 0);
    if (lame_init_params(gf) < 0) {
        *error = "the MP3 encoder refused its settings";
        return false;
    }
    out.clear();
    std::vector<unsigned char> buffer;
    const size_t chunk = 8192;
    if (samples.left.size() != samples.right.size()) {
        *error = "the two channels differ in length";
        return false;
    }
    for (size_t at = 0; at < samples.left.size(); at += chunk) {
        const int n = int(std::min(chunk, samples.left.size() - at));
        buffer.resize(size_t(1.25 * n + 7200));
        const int bytes =
            lame_encode_buffer_ieee_float(gf, samples.left.data() + at, samples.right.data() + at,
                                          n, buffer.data(), int(buffer.size()));
        if (bytes < 0) {
            *error = "MP3 encoding failed (" + std::to_string(bytes) + ")";
            return false;
        }
        out.append(reinterpret_cast<const char*>(buffer.data()), size_t(bytes));
    }
    buffer.resize(7200);
    const int tail = lame_encode_flush(gf, buffer.data(), int(buffer.size()));
    if (tail < 0) {
        *error = "MP3 encoding failed at the end";
        return false;
    }
    out.append(reinterpret_cast<const char*>(buffer.data()), size_t(tail));
    // The LAME tag over the first frame gives decoders the exact length (no padding heard).
    std::vector<unsigned char> tag(2880);
    const size_t tagBytes = lame_get_lametag_frame(gf, tag.data(), tag.size());
    if (tagBytes == 0 || tagBytes > tag.size() || tagBytes > out.size()) {
        *error = "the MP3 encoder gave no LAME tag";
        return false;
    }
    std::memcpy(out.data(), tag.data(), tagBytes);
    return true;
}

bool WriteMusic(const std::filesystem::path& dataFolder, std::string* error) {
    std::string list;
    for (const TMusicTrack& track : MusicTracks()) {
        std::string mp3;
        if (!EncodeMp3(ComposeTrack(track), mp3, error)) {
            *error = std::string(track.file) + ": " + *error;
            return false;
        }
        if (!WriteFileAtomically(dataFolder / track.file, mp3, error)) return false;
        list += std::string(track.file) + "\n";
    }
    return WriteFileAtomically(dataFolder / "music.txt", list, error);
}

}  // namespace vallorn::datagen
