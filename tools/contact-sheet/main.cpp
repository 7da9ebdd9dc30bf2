// vallorn-contact-sheet: draws the generated models offscreen, without GL, so that they can be
// looked at side by side (the contact sheets of docs/, drawn by contact-sheets.sh).
//
//   vallorn-contact-sheet figures DATA OUT_FOLDER MODEL[@FRAME][=FROM:TO] ...
//   vallorn-contact-sheet models DATA OUT.png [--low] [--cell PIXELS] [--columns N]
//   vallorn-contact-sheet --help
//
// `figures` writes one picture per model (figure_pictures.cpp); `models` draws every model of
// the folder into one labelled sheet (model_sheet.cpp).
#include <stb_image.h>

#include <cstdio>
#include <cstring>

#include "sheet_common.h"

namespace vallorn::sheet {

const TTexture* LoadTexture(const std::filesystem::path& file) {
    static std::map<std::string, TTexture> cache;
    const auto found = cache.find(file.string());
    if (found != cache.end()) return found->second.w ? &found->second : nullptr;
    TTexture& t = cache[file.string()];
    int channels = 0;
    unsigned char* p = stbi_load(file.string().c_str(), &t.w, &t.h, &channels, 4);
    if (!p) {
        t.w = t.h = 0;
        return nullptr;
    }
    t.rgba.assign(p, p + size_t(t.w) * size_t(t.h) * 4);
    stbi_image_free(p);
    return &t;
}

}  // namespace vallorn::sheet

namespace {

constexpr const char* kUsage =
    R"(usage: vallorn-contact-sheet figures DATA OUT_FOLDER MODEL[@FRAME][=FROM:TO] ...
       vallorn-contact-sheet models DATA OUT.png [--low] [--cell PIXELS] [--columns N]
       vallorn-contact-sheet --help

Draws the generated models of the data folder DATA offscreen, without GL:
figures  one picture per MODEL (a file of DATA), 200 x 240 pixels, into
         OUT_FOLDER/<model>[_<frame>].png; @FRAME picks the key frame of an MD2 model,
         =FROM:TO draws the picture TO where the model names the picture FROM.
models   every high-detail model of DATA (--low: the low-detail ones) in one labelled sheet
         OUT.png, in cells of PIXELS (200) square, N (10) to a row.
)";

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "figures") == 0)
        return vallorn::sheet::RenderFigures(argc - 1, argv + 1);
    if (argc >= 2 && std::strcmp(argv[1], "models") == 0)
        return vallorn::sheet::DrawModelSheet(argc - 1, argv + 1);
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    std::fputs(kUsage, stderr);
    return 2;
}
