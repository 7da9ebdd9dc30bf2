// What each fuzz target feeds to the game's readers, shared by the libFuzzer targets and the
// regression tests that replay the saved reproducers in the ordinary test suites.
//
// Each entry takes the bytes of one file, hands them to the reader the way the game does and
// checks what the game relies on afterwards. A reader may take the file or refuse it; it must
// never crash, hang or leave the game with a value it cannot use. `Broken` names such a value
// (the fuzz targets abort on it, the tests fail on it).
#pragma once

#include <string>
#include <string_view>

namespace vallorn::fuzz {

enum class Outcome { Accepted, Refused, Broken };

struct Result {
    Outcome outcome = Outcome::Refused;
    std::string detail;  // why it was refused or what is broken
};

// An INI text: parsed, every value read in every type, then written and read back, which must
// keep every key with its value in its section. The bytes also drive writes: fields separated
// by NUL bytes, taken three at a time as section, key and value, whose round trip must hold too.
Result FuzzIni(std::string_view data);
// A saved game ("*.ski") of the tiny level "Tiny": loaded, with its level as below; a tick must not
// turn the clock back nor paying the running costs raise the cash; then saved, and what is saved
// must load again.
Result FuzzSavedGame(std::string_view data);
// A level file ("Fuzz.skil") beside the tiny level's meshes and images: loaded; a loaded
// level read no file outside its folder and every cell has a finite height.
Result FuzzLevel(std::string_view data);
// A terrain mesh cache (".vmesh") of the tiny level's surface mesh, in the cache folder: its
// size and hash fields are set to match the mesh so the body is read; then heights are cast
// across the map.
Result FuzzMeshCache(std::string_view data);
// A terrain mesh (".3ds"), read as a level's surface without a cache: a read mesh keeps only
// whole triangles of finite vertices, no more than a terrain holds, and no cast on it tests
// more triangles than one cell may hold; heights cast across the map are finite.
Result FuzzTerrainMesh(std::string_view data);
// A picture (".jpg", the level's ground pictures): read; a read picture has 1..2048 pixels a
// side, three bytes a pixel, and the size its header gives.
Result FuzzJpeg(std::string_view data);
// A link of a help page: the first byte picks the page it is written in (the help's index, a
// page in a subfolder, none), the rest is the link. A page or a resource it leads to lies
// inside the help folder, whatever links on disk lead out of it.
Result FuzzHelpLink(std::string_view data);
// An action script of the headless runner: parsed; every accepted step's numbers fit what the
// runner makes of them.
Result FuzzScript(std::string_view data);
// A player profile ("*.prof"): read; a read profile keeps its values in their ranges, and what
// is written of it reads back.
Result FuzzProfile(std::string_view data);
// A sound sample ("*.wav"): read; a read sound has one or two channels, a usable rate, whole
// frames and no more samples than the file's bytes hold.
Result FuzzWav(std::string_view data);

}  // namespace vallorn::fuzz
