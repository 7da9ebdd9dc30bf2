#include "presentation/scene_renderer.h"

#include "presentation/sky_renderer.h"

namespace vallorn {

struct TSKISceneRenderer::TImpl {
    TSkyRenderer Sky;
};

TSKISceneRenderer::TSKISceneRenderer() : impl_(std::make_unique<TImpl>()) {}
TSKISceneRenderer::~TSKISceneRenderer() = default;

bool TSKISceneRenderer::Init(const std::filesystem::path& /*dataFolder*/, std::string* error) {
    std::string log;
    if (!impl_->Sky.Init(&log)) {
        if (error) *error = "The sky shader did not build: " + log;
        return false;
    }
    return true;
}

void TSKISceneRenderer::LevelChanged(const TSKIEngine& /*engine*/) {}

void TSKISceneRenderer::Draw(TSKIEngine& /*engine*/, const TSKIToolState& /*tools*/,
                             const TSKIFrameView& frame, double /*seconds*/) {
    stats_ = {};
    impl_->Sky.Draw(frame);
    ++stats_.DrawCalls;
}

}  // namespace vallorn
