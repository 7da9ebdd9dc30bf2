// render_bench: the park on screen, measured. Opens a 1024 x 768 window with an OpenGL 3.3
// core context, loads the starter park from the build tree (or `--game FILE.ski`), adds skiers, and
// runs frames as the game loop does (tools, frame handler, drawing). Prints frames per second, the
// time to the first drawn frame, the CPU time per frame spent in our own code and that of all the
// process's threads (the software rasteriser's included: on a busy machine a steadier figure of
// the work a frame costs than the frame rate); `--shot FILE.png` saves the last frame. The view is
// the park's opening one (the camera over its saved focus, as a loaded game opens), turned or
// tilted with `--turn` and `--tilt`, or any other with
// `--eye X,Y,Z` and `--focus X,Z` (the eye looks at the ground under the focus): a wide far
// view, say, or one low across the forest.
//
// How the CPU time is measured: the bench defines the OpenGL entry points that do real work
// (draws, clears, buffer and texture uploads, mipmaps, read-back, finish) itself; each
// forwards to the driver's and adds the main thread's CPU time spent inside to a counter.
// Our time per frame = the thread's CPU time over the frame minus the time inside those
// calls and inside the buffer swap. The cheap state calls (binds, uniforms) stay in our
// share, so the figure is an upper bound. Thread CPU time, not wall time, keeps other
// processes on the machine out of it.
#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>
#include <SDL2/SDL.h>
#include <dlfcn.h>
#include <stb_image_write.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "construction/construction.h"
#include "engine/arrivals.h"
#include "engine/clock.h"
#include "engine/engine.h"
#include "persistence/saved_game.h"
#include "presentation/camera.h"
#include "presentation/renderer.h"

using namespace vallorn;

namespace {

double CpuSeconds(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

double ThreadSeconds() {
    return CpuSeconds(CLOCK_THREAD_CPUTIME_ID);
}

double g_glSeconds = 0;  // main-thread CPU time inside the driver's heavy calls

template <typename F>
F Real(const char* name) {
    static_assert(sizeof(F) == sizeof(void*));
    void* p = dlsym(RTLD_NEXT, name);
    if (!p) {
        std::fprintf(stderr, "render_bench: no %s in the GL library\n", name);
        std::exit(3);
    }
    F f;
    std::memcpy(&f, &p, sizeof f);
    return f;
}

struct TInDriver {
    double start = ThreadSeconds();
    ~TInDriver() { g_glSeconds += ThreadSeconds() - start; }
};

}  // namespace

// The driver's heavy entry points, timed (see the top of the file).
#define VALLORN_TIMED_GL(name, params, args)            \
    extern "C" void name params {                       \
        static auto real = Real<void(*) params>(#name); \
        TInDriver timed;                                \
        real args;                                      \
    }
VALLORN_TIMED_GL(glDrawElements, (GLenum m, GLsizei c, GLenum t, const void* i), (m, c, t, i))
VALLORN_TIMED_GL(glDrawArrays, (GLenum m, GLint f, GLsizei c), (m, f, c))
VALLORN_TIMED_GL(glDrawElementsInstanced, (GLenum m, GLsizei c, GLenum t, const void* i, GLsizei n),
                 (m, c, t, i, n))
VALLORN_TIMED_GL(glDrawArraysInstanced, (GLenum m, GLint f, GLsizei c, GLsizei n), (m, f, c, n))
VALLORN_TIMED_GL(glMultiDrawElements,
                 (GLenum m, const GLsizei* c, GLenum t, const void* const* i, GLsizei n),
                 (m, c, t, i, n))
VALLORN_TIMED_GL(glMultiDrawElementsBaseVertex,
                 (GLenum m, const GLsizei* c, GLenum t, const void* const* i, GLsizei n,
                  const GLint* b),
                 (m, c, t, i, n, b))
VALLORN_TIMED_GL(glClear, (GLbitfield b), (b))
VALLORN_TIMED_GL(glTexImage2D,
                 (GLenum a, GLint b, GLint c, GLsizei d, GLsizei e, GLint f, GLenum g, GLenum h,
                  const void* p),
                 (a, b, c, d, e, f, g, h, p))
VALLORN_TIMED_GL(glTexSubImage2D,
                 (GLenum a, GLint b, GLint c, GLint d, GLsizei e, GLsizei f, GLenum g, GLenum h,
                  const void* p),
                 (a, b, c, d, e, f, g, h, p))
VALLORN_TIMED_GL(glGenerateMipmap, (GLenum t), (t))
VALLORN_TIMED_GL(glBufferData, (GLenum t, GLsizeiptr s, const void* d, GLenum u), (t, s, d, u))
VALLORN_TIMED_GL(glBufferSubData, (GLenum t, GLintptr o, GLsizeiptr s, const void* d), (t, o, s, d))
VALLORN_TIMED_GL(glFinish, (), ())
VALLORN_TIMED_GL(glReadPixels,
                 (GLint x, GLint y, GLsizei w, GLsizei h, GLenum f, GLenum t, void* p),
                 (x, y, w, h, f, t, p))
#undef VALLORN_TIMED_GL

namespace {

struct TOptions {
    int frames = 300;
    int skiers = 1000;
    int detail = 1;
    int width = 1024, height = 768;
    std::string shot;
    std::string game;               // a saved game to show instead of the starter park
    float focusX = 1, focusZ = -1;  // focus point, or the saved one
    bool eye = false;               // an eye given: the camera looks from it at the focus
    float eyeX = 0, eyeY = 0, eyeZ = 0;
    float turn = 0;       // degrees the camera orbits before the run
    int flags = -1;       // display flags, or the park's
    float tilt = 0;       // degrees it tilts toward the horizon before the run
    bool editor = false;  // the view as the editor shows it
};

bool Parse(int argc, char** argv, TOptions& o) {
    for (int k = 1; k < argc; ++k) {
        const std::string a = argv[k];
        const char* v = k + 1 < argc ? argv[k + 1] : nullptr;
        if (!v) return false;
        if (a == "--frames")
            o.frames = std::atoi(v);
        else if (a == "--skiers")
            o.skiers = std::atoi(v);
        else if (a == "--detail")
            o.detail = std::atoi(v);
        else if (a == "--game")
            o.game = v;
        else if (a == "--shot")
            o.shot = v;
        else if (a == "--turn")
            o.turn = float(std::atof(v));
        else if (a == "--flags")
            o.flags = std::atoi(v);
        else if (a == "--tilt")
            o.tilt = float(std::atof(v));
        else if (a == "--editor")
            o.editor = std::atoi(v) != 0;
        else if (a == "--focus") {
            if (std::sscanf(v, "%f,%f", &o.focusX, &o.focusZ) != 2) return false;
        } else if (a == "--eye") {
            if (std::sscanf(v, "%f,%f,%f", &o.eyeX, &o.eyeY, &o.eyeZ) != 3) return false;
            o.eye = true;
        } else {
            return false;
        }
        ++k;
    }
    return o.frames > 1;
}

bool SavePng(const std::string& file, int w, int h) {
    std::vector<uint8_t> rgb(size_t(w) * size_t(h) * 3), flipped(rgb.size());
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, w, h, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    const size_t row = size_t(w) * 3;
    for (int y = 0; y < h; ++y)
        std::memcpy(&flipped[size_t(y) * row], &rgb[size_t(h - 1 - y) * row], row);
    return stbi_write_png(file.c_str(), w, h, 3, flipped.data(), int(row)) != 0;
}

}  // namespace

int main(int argc, char** argv) {
    const auto start = std::chrono::steady_clock::now();
    TOptions o;
    if (!Parse(argc, argv, o)) {
        std::fprintf(stderr,
                     "usage: render_bench [--frames N] [--skiers N] [--detail 0|1|2] "
                     "[--focus X,Z] [--eye X,Y,Z] [--turn DEG] [--tilt DEG] [--flags N] "
                     "[--editor 0|1] [--game FILE.ski] "
                     "[--shot FILE.png]\n");
        return 2;
    }
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "render_bench: no display: %s\n", SDL_GetError());
        return 2;
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_FLAGS, SDL_GL_CONTEXT_FORWARD_COMPATIBLE_FLAG);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_Window* window =
        SDL_CreateWindow("VALLORN render bench", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                         o.width, o.height, SDL_WINDOW_OPENGL);
    SDL_GLContext context = window ? SDL_GL_CreateContext(window) : nullptr;
    if (!context) {
        std::fprintf(stderr, "render_bench: no OpenGL 3.3 context: %s\n", SDL_GetError());
        return 2;
    }
    SDL_GL_SetSwapInterval(0);

    const std::string root = VALLORN_BUILD_ROOT;
    TSKIViewState viewState;
    TSKIEngine engine({root, 1, nullptr, &viewState});
    engine.Options.Detail = uint8_t(o.detail);
    if (!LoadGameFile(engine, o.game.empty() ? root + "/worlds/Starter.ski" : o.game)) {
        std::fprintf(stderr, "render_bench: cannot load the park: %s\n", engine.LoadError.c_str());
        return 3;
    }
    engine.Options.Detail = uint8_t(o.detail);
    engine.ViewDistance = ViewDistanceForDetail(o.detail, engine.ViewDistance);
    engine.Park.ParkSpeed = 1.0f;
    if (o.flags >= 0) viewState.DisplayFlags = uint8_t(o.flags);
    engine.EditorOpen = o.editor;
    if (o.skiers > 0) SpawnSkiers(engine, o.skiers, UpdateArrivalPoint(engine), 10, 10, true);
    TSKIToolState toolState;
    TSKIConstruction tools(engine, toolState);

    TSKIRenderer renderer;
    std::string error;
    if (!renderer.Init(engine.Folders.Data, &error)) {
        std::fprintf(stderr, "render_bench: %s\n", error.c_str());
        return 3;
    }
    renderer.LevelChanged(engine);
    TSKICamera camera;
    camera.Resize(o.width, o.height);
    TSKIViewpoint view = engine.Viewpoint;
    if (o.focusZ >= 0) view.FocusX = o.focusX, view.FocusZ = o.focusZ;
    camera.SetViewpoint(engine, view);
    const float dt = 1.0f / 30.0f;
    TSKICameraInput input;
    if (o.turn != 0 || o.tilt != 0) {
        input.Ctrl = true;
        input.DragX = o.turn / (dt * engine.Options.MouseRotSpeed);
        input.DragY = o.tilt / (dt * engine.Options.MouseRotSpeed);
    }
    camera.Update(engine, input, dt);
    (void)camera.TakeArrivedTool();
    if (o.eye) {
        const float x = view.FocusX, z = view.FocusZ;
        camera.Chase({o.eyeX, o.eyeY, o.eyeZ}, {x, engine.GroundHeight(TSKIVector(x, 0, z, 1)), z});
    }

    // Frame 0 loads the level into the view (buffers, textures) and is timed on its own:
    // the figures per frame are over the frames after it.
    double simSeconds = 0, ourSeconds = 0, worstSim = 0, worstView = 0, firstFrame = 0;
    TSKIRenderStats last;
    auto runStart = std::chrono::steady_clock::now();
    double runCpuStart = 0;
    uint64_t cellFlagChanges = ~uint64_t(0);
    for (int frame = 0; frame < o.frames; ++frame) {
        SDL_Event event;
        while (SDL_PollEvent(&event)) {
        }
        const double cpu0 = ThreadSeconds(), gl0 = g_glSeconds;
        camera.Update(engine, TSKICameraInput{}, dt);
        tools.UpdateTools(dt);
        const int64_t days = engine.DayChanges;
        OnProgress(engine, dt);
        viewState.Advance(engine, dt);
        if (engine.DayChanges != days) tools.LeaveTool();
        const double cpuSim = ThreadSeconds();
        renderer.Draw(engine, viewState, toolState, camera, o.width, o.height, frame * double(dt));
        last = renderer.Stats();
        // As the game loop does: the cells the view found (in view, near the camera) go back
        // to the core, which draws the trees and picks the detailed models from them.
        if (renderer.CellFlagChanges() != cellFlagChanges) {
            cellFlagChanges = renderer.CellFlagChanges();
            engine.SetCellViewFlags(renderer.CellFlags());
        }
        const double cpuBeforeSwap = ThreadSeconds(), glBeforeSwap = g_glSeconds;
        // The picture is taken outside the measured time (encoding a PNG takes a while).
        if (frame == o.frames - 1 && !o.shot.empty() && !SavePng(o.shot, o.width, o.height))
            std::fprintf(stderr, "render_bench: cannot write %s\n", o.shot.c_str());
        SDL_GL_SwapWindow(window);
        if (frame == 0) {
            glFinish();
            const auto now = std::chrono::steady_clock::now();
            firstFrame = std::chrono::duration<double>(now - start).count();
            runStart = now;
            runCpuStart = CpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
            continue;
        }
        const double ours = (cpuBeforeSwap - cpu0) - (glBeforeSwap - gl0);
        simSeconds += cpuSim - cpu0;
        ourSeconds += ours;
        worstSim = std::max(worstSim, cpuSim - cpu0);
        worstView = std::max(worstView, ours - (cpuSim - cpu0));
    }
    glFinish();
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - runStart).count();
    const double runCpu = CpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - runCpuStart;
    const int measured = o.frames - 1;
    std::printf("frames            %d after the first (%d x %d, detail %d, %zu skiers)\n", measured,
                o.width, o.height, o.detail, engine.Skiers.size());
    std::printf("frames per second %.1f\n", measured / wall);
    const glm::vec3 eye = camera.Position(), target = camera.Target();
    std::printf("view              --eye %.0f,%.0f,%.0f --focus %.1f,%.1f\n", eye.x, eye.y, eye.z,
                target.x, target.z);
    std::printf("first frame       %.2f s after start\n", firstFrame);
    std::printf("CPU ms per frame  %.2f in our code (simulation %.2f, view %.2f)\n",
                1000.0 * ourSeconds / measured, 1000.0 * simSeconds / measured,
                1000.0 * (ourSeconds - simSeconds) / measured);
    std::printf("CPU ms per frame  %.2f in all threads (the software rasteriser's too)\n",
                1000.0 * runCpu / measured);
    std::printf("worst frame       simulation %.2f ms, view %.2f ms\n", 1000.0 * worstSim,
                1000.0 * worstView);
    std::printf("last frame        %d terrain chunks, %d triangles, %d draw calls, %d instances\n",
                last.TerrainChunksDrawn, last.TerrainTriangles, last.DrawCalls, last.Instances);
    SDL_GL_DeleteContext(context);
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}
