// The game's sound effects: short mono samples synthesised from fixed seeds (wind, the lift
// station's machinery, the three vehicles, the free-ride skier's swoosh), each a seamless loop,
// written as 16-bit WAV files with the list "Sounds.txt" that the game loads them by.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace vallorn::datagen {

constexpr int kSoundRate = 22050;

// One effect: its name in "Sounds.txt" (the file is name + ".wav") and its samples in -1..1,
// which loop without a click.
struct TSoundEffect {
    std::string name;
    std::vector<float> samples;
};

// Every effect, in the order of "Sounds.txt".
std::vector<TSoundEffect> SynthesiseSounds();

// Writes every effect and "Sounds.txt" under `dataFolder`; the bytes written in `bytes`.
bool WriteSounds(const std::filesystem::path& dataFolder, size_t* bytes, std::string* error);

}  // namespace vallorn::datagen
