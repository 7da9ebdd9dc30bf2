#include "platform/draw_list_cache.h"

#include <algorithm>
#include <climits>

namespace vallorn {

TSKIDrawListCache::TSKIDrawListCache() = default;
TSKIDrawListCache::~TSKIDrawListCache() = default;

ImDrawList* TSKIDrawListCache::Record(const ImDrawList& target, std::vector<int64_t> key) {
    if (!list_) list_ = std::make_unique<ImDrawList>(ImGui::GetDrawListSharedData());
    list_->_ResetForNewFrame();
    list_->Flags = target.Flags;
    list_->PushTextureID(ImGui::GetIO().Fonts->TexID);
    list_->PushClipRect(target.GetClipRectMin(), target.GetClipRectMax());
    key_ = std::move(key);
    recorded_ = true;
    return list_.get();
}

void TSKIDrawListCache::Replay(ImDrawList& target) const {
    if (!recorded_ || !list_) return;
    const ImDrawList& from = *list_;
    for (const ImDrawCmd& cmd : from.CmdBuffer) {
        if (cmd.UserCallback || cmd.ElemCount == 0) continue;
        const ImDrawIdx* indices = from.IdxBuffer.Data + cmd.IdxOffset;
        unsigned lo = UINT_MAX, hi = 0;
        for (unsigned k = 0; k < cmd.ElemCount; ++k) {
            lo = std::min<unsigned>(lo, indices[k]);
            hi = std::max<unsigned>(hi, indices[k]);
        }
        if (cmd.VtxOffset + hi >= unsigned(from.VtxBuffer.Size)) continue;  // not ours to read
        target.PushClipRect(ImVec2(cmd.ClipRect.x, cmd.ClipRect.y),
                            ImVec2(cmd.ClipRect.z, cmd.ClipRect.w));
        target.PushTextureID(cmd.TextureId);
        const int count = int(hi - lo + 1);
        target.PrimReserve(int(cmd.ElemCount), count);
        const unsigned base = target._VtxCurrentIdx;
        for (unsigned v = lo; v <= hi; ++v) {
            const ImDrawVert& x = from.VtxBuffer[int(cmd.VtxOffset + v)];
            target.PrimWriteVtx(x.pos, x.uv, x.col);
        }
        for (unsigned k = 0; k < cmd.ElemCount; ++k)
            target.PrimWriteIdx(ImDrawIdx(base + indices[k] - lo));
        target.PopTextureID();
        target.PopClipRect();
    }
}

}  // namespace vallorn
