// The game's music: calm winter pieces composed by our own synthesiser (pads, a bell
// melody, a soft bass and sparkling arpeggios in a small hall) and encoded to MP3 with LAME.
// Every note comes from fixed seeds, so two runs give the same bytes.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace vallorn::datagen {

constexpr int kMusicRate = 44100;

struct TMusicTrack {
    const char* file;  // name in the data folder
    unsigned seed;     // the melody's and the voicing's choices
    int tonic;         // MIDI note of the key's root
    double tempo;      // beats per minute
    int progression;   // which chord sequence (0..2)
};

// The three tracks listed in data/music.txt, in that order.
const std::vector<TMusicTrack>& MusicTracks();

struct TStereo {
    std::vector<float> left, right;  // samples in -1..1 at kMusicRate
};

// The piece, about 70 s long.
TStereo ComposeTrack(const TMusicTrack& track);

// Encodes the samples as an MP3 with its LAME tag (exact length for gapless decoders).
bool EncodeMp3(const TStereo& samples, std::string& out, std::string* error);

// Composes and writes every track and data/music.txt under `dataFolder`.
bool WriteMusic(const std::filesystem::path& dataFolder, std::string* error);

}  // namespace vallorn::datagen
