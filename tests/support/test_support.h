// Helpers shared by the test programs.
#pragma once

#include <filesystem>
#include <string>

namespace vallorn::test {

// The build tree, beside which the generated data/ and worlds/ folders lie.
std::filesystem::path BuildRoot();
std::filesystem::path SourceRoot();

// A fresh folder under the system's temporary folder, removed with everything in it when the
// object goes out of scope.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

// Makes `root` a program folder: data/ with the parameter files of assets/data/ (the ones the
// build ships), and empty worlds/, save/ and addons/.
void MakeProgramFolder(const std::filesystem::path& root);

// A folder under the build tree that the test processes of one build of the running test
// program share (the test levels' meshes, the terrain mesh caches); a rebuilt program starts a
// fresh one, and those of older builds go.
const std::filesystem::path& SharedTestFolder();
// The terrain mesh cache the engines of the fixtures share (TSKIFolders::Cache), so that a
// test level's meshes are parsed once, not in every test process.
std::filesystem::path SharedMeshCache();

std::string ReadText(const std::filesystem::path& path);
void WriteText(const std::filesystem::path& path, const std::string& text);

}  // namespace vallorn::test
