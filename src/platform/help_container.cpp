#include "platform/help_container.h"

#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>

#include <algorithm>
#include <cctype>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <utility>

#include <SDL.h>
#include <imgui.h>
#include <stb_image.h>

#include "base/atomic_file.h"
#include "platform/help_links.h"
#include "platform/window_style.h"

namespace vallorn {

namespace {

constexpr uint64_t kMaxPictureBytes = uint64_t(16) << 20;
constexpr int kMaxPictureSide = 4096;

ImU32 Colour(const litehtml::web_color& c) {
    return IM_COL32(c.red, c.green, c.blue, c.alpha);
}

bool ContainsNoCase(std::string haystack, const char* needle) {
    std::transform(haystack.begin(), haystack.end(), haystack.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return haystack.find(needle) != std::string::npos;
}

// Decimal, letters or roman numerals of an ordered list's item.
std::string MarkerText(litehtml::list_style_type type, int index) {
    switch (type) {
        case litehtml::list_style_type_lower_alpha:
        case litehtml::list_style_type_lower_latin:
            if (index >= 1 && index <= 26) return std::string(1, char('a' + index - 1)) + ".";
            break;
        case litehtml::list_style_type_upper_alpha:
        case litehtml::list_style_type_upper_latin:
            if (index >= 1 && index <= 26) return std::string(1, char('A' + index - 1)) + ".";
            break;
        case litehtml::list_style_type_lower_roman:
        case litehtml::list_style_type_upper_roman: {
            static const std::pair<int, const char*> kNumerals[] = {
                {1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"},
                {90, "xc"},  {50, "l"},   {40, "xl"}, {10, "x"},   {9, "ix"},
                {5, "v"},    {4, "iv"},   {1, "i"}};
            if (index < 1 || index > 3999) break;
            std::string out;
            for (auto [value, text] : kNumerals)
                for (; index >= value; index -= value) out += text;
            if (type == litehtml::list_style_type_upper_roman)
                for (char& c : out) c = char(std::toupper(static_cast<unsigned char>(c)));
            return out + ".";
        }
        case litehtml::list_style_type_decimal_leading_zero:
            if (index >= 0 && index < 10)
                return std::string(1, '0') += std::to_string(index) += ".";
            break;
        default:
            break;
    }
    return std::to_string(index) + ".";
}

}  // namespace

TSKIHelpContainer::TSKIHelpContainer(std::filesystem::path helpFolder)
    : folder_(std::move(helpFolder)) {}

TSKIHelpContainer::~TSKIHelpContainer() {
    // Textures belong to the window's context; without it they went with the context.
    if (SDL_GL_GetCurrentContext() == nullptr) return;
    for (auto& [path, image] : images_)
        if (image.Texture) glDeleteTextures(1, &image.Texture);
}

std::string TSKIHelpContainer::TakeClickedLink() {
    return std::exchange(clicked_, {});
}

const TSKIHelpContainer::TFont* TSKIHelpContainer::FontOf(litehtml::uint_ptr handle) const {
    if (handle == 0 || handle > fonts_.size()) return nullptr;
    return fonts_[handle - 1].get();
}

litehtml::uint_ptr TSKIHelpContainer::create_font(const litehtml::tchar_t* faceName, int size,
                                                  int weight, litehtml::font_style italic,
                                                  unsigned int decoration,
                                                  litehtml::font_metrics* fm) {
    const std::string face = faceName ? faceName : "";
    const bool bold = weight >= 600;
    const bool slanted = italic == litehtml::fontStyleItalic;
    TSKIFontFace slot = TSKIFontFace::Regular;
    if (ContainsNoCase(face, "mono") || ContainsNoCase(face, "courier"))
        slot = TSKIFontFace::Mono;
    else if (bold && slanted)
        slot = TSKIFontFace::BoldItalic;
    else if (bold)
        slot = float(size) > UiFontSize(TSKIFontFace::Bold) * 1.25f ? TSKIFontFace::Heading
                                                                    : TSKIFontFace::Bold;
    else if (slanted)
        slot = TSKIFontFace::Italic;

    auto font = std::make_unique<TFont>();
    font->Font = UiFont(slot);
    font->Size = float(std::max(size, 1));
    font->Decoration = decoration;
    const float scale =
        font->Font && font->Font->FontSize > 0 ? font->Size / font->Font->FontSize : 1.0f;
    const float ascent = font->Font ? font->Font->Ascent * scale : font->Size * 0.8f;
    const float descent = font->Font ? -font->Font->Descent * scale : font->Size * 0.2f;
    font->Ascent = int(std::lround(ascent));
    if (fm) {
        fm->ascent = font->Ascent;
        fm->descent = int(std::lround(descent));
        fm->height = fm->ascent + fm->descent;
        fm->x_height = int(std::lround(font->Size * 0.53f));
        fm->draw_spaces = decoration != litehtml::font_decoration_none;
    }
    fonts_.push_back(std::move(font));
    return fonts_.size();
}

void TSKIHelpContainer::delete_font(litehtml::uint_ptr) {
    // Handles stay valid until the container goes: a document may still measure with them.
}

int TSKIHelpContainer::text_width(const litehtml::tchar_t* text, litehtml::uint_ptr hFont) {
    const TFont* f = FontOf(hFont);
    if (!f || !f->Font || !text) return 0;
    return int(std::ceil(f->Font->CalcTextSizeA(f->Size, FLT_MAX, 0.0f, text).x));
}

void TSKIHelpContainer::draw_text(litehtml::uint_ptr, const litehtml::tchar_t* text,
                                  litehtml::uint_ptr hFont, litehtml::web_color color,
                                  const litehtml::position& pos) {
    const TFont* f = FontOf(hFont);
    if (!drawList_ || !f || !f->Font || !text) return;
    const ImU32 col = Colour(color);
    drawList_->AddText(f->Font, f->Size, ImVec2(float(pos.x), float(pos.y)), col, text);
    const float width = float(text_width(text, hFont));
    auto line = [&](float y) {
        drawList_->AddLine(ImVec2(float(pos.x), y), ImVec2(float(pos.x) + width, y), col,
                           std::max(1.0f, f->Size / 14.0f));
    };
    if (f->Decoration & litehtml::font_decoration_underline)
        line(float(pos.y + f->Ascent) + std::max(1.0f, f->Size / 10.0f));
    if (f->Decoration & litehtml::font_decoration_linethrough)
        line(float(pos.y + f->Ascent) - f->Size * 0.3f);
    if (f->Decoration & litehtml::font_decoration_overline) line(float(pos.y));
}

int TSKIHelpContainer::pt_to_px(int pt) const {
    const float scale = UiFontSize(TSKIFontFace::Regular) / 16.0f;
    return int(std::lround(float(pt) * 96.0f / 72.0f * scale));
}

int TSKIHelpContainer::get_default_font_size() const {
    return int(std::lround(UiFontSize(TSKIFontFace::Regular)));
}

const litehtml::tchar_t* TSKIHelpContainer::get_default_font_name() const {
    return "DejaVu Sans";
}

void TSKIHelpContainer::draw_list_marker(litehtml::uint_ptr hdc, const litehtml::list_marker& m) {
    if (!drawList_) return;
    const ImU32 col = Colour(m.color);
    const float x = float(m.pos.x), y = float(m.pos.y), w = float(m.pos.width),
                h = float(m.pos.height);
    const ImVec2 centre(x + w / 2, y + h / 2);
    const float r = std::max(1.5f, std::min(w, h) / 2);
    switch (m.marker_type) {
        case litehtml::list_style_type_none:
            break;
        case litehtml::list_style_type_disc:
            drawList_->AddCircleFilled(centre, r, col, 12);
            break;
        case litehtml::list_style_type_circle:
            drawList_->AddCircle(centre, r, col, 12, 1.2f);
            break;
        case litehtml::list_style_type_square:
            drawList_->AddRectFilled(ImVec2(x, y), ImVec2(x + w, y + h), col);
            break;
        default: {
            const std::string text = MarkerText(m.marker_type, m.index);
            const int width = text_width(text.c_str(), m.font);
            litehtml::position p = m.pos;
            p.x = m.pos.x + m.pos.width - width;
            const TFont* f = FontOf(m.font);
            p.y = m.pos.y + m.pos.height - (f ? f->Ascent : m.pos.height);
            draw_text(hdc, text.c_str(), m.font, m.color, p);
            break;
        }
    }
}

const TSKIHelpContainer::TImage* TSKIHelpContainer::ImageOf(const std::string& src) const {
    const std::filesystem::path file = ResolveHelpResource(folder_, page_, src);
    if (file.empty()) return nullptr;
    const auto it = images_.find(file.string());
    return it == images_.end() ? nullptr : &it->second;
}

void TSKIHelpContainer::load_image(const litehtml::tchar_t* src, const litehtml::tchar_t*, bool) {
    if (!src) return;
    const std::filesystem::path file = ResolveHelpResource(folder_, page_, src);
    if (file.empty() || images_.count(file.string())) return;
    TImage& image = images_[file.string()];  // a failed load is remembered as empty
    std::string bytes;
    if (!ReadWholeFile(file, bytes, nullptr, kMaxPictureBytes)) return;
    int w = 0, h = 0, n = 0;
    unsigned char* pixels = stbi_load_from_memory(reinterpret_cast<const stbi_uc*>(bytes.data()),
                                                  int(bytes.size()), &w, &h, &n, 4);
    if (!pixels) return;
    if (w > 0 && h > 0 && w <= kMaxPictureSide && h <= kMaxPictureSide &&
        SDL_GL_GetCurrentContext() != nullptr) {
        GLint previous = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous);
        glGenTextures(1, &image.Texture);
        glBindTexture(GL_TEXTURE_2D, image.Texture);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
        glBindTexture(GL_TEXTURE_2D, GLuint(previous));
        image.Width = w;
        image.Height = h;
    }
    stbi_image_free(pixels);
}

void TSKIHelpContainer::get_image_size(const litehtml::tchar_t* src, const litehtml::tchar_t*,
                                       litehtml::size& sz) {
    const TImage* image = src ? ImageOf(src) : nullptr;
    sz.width = image ? image->Width : 0;
    sz.height = image ? image->Height : 0;
}

void TSKIHelpContainer::draw_background(litehtml::uint_ptr, const litehtml::background_paint& bg) {
    if (!drawList_) return;
    const litehtml::position& box = bg.clip_box;
    if (bg.color.alpha > 0)
        drawList_->AddRectFilled(ImVec2(float(box.x), float(box.y)),
                                 ImVec2(float(box.right()), float(box.bottom())), Colour(bg.color),
                                 float(bg.border_radius.top_left_x));
    if (bg.image.empty()) return;
    const TImage* image = ImageOf(bg.image);
    if (!image || !image->Texture || bg.image_size.width <= 0 || bg.image_size.height <= 0) return;
    const ImVec2 from(float(bg.position_x), float(bg.position_y));
    const ImVec2 to(from.x + float(bg.image_size.width), from.y + float(bg.image_size.height));
    drawList_->PushClipRect(ImVec2(float(box.x), float(box.y)),
                            ImVec2(float(box.right()), float(box.bottom())), true);
    drawList_->AddImage(reinterpret_cast<ImTextureID>(static_cast<intptr_t>(image->Texture)), from,
                        to);
    drawList_->PopClipRect();
}

void TSKIHelpContainer::draw_borders(litehtml::uint_ptr, const litehtml::borders& b,
                                     const litehtml::position& p, bool) {
    if (!drawList_) return;
    auto visible = [](const litehtml::border& side) {
        return side.width > 0 && side.style != litehtml::border_style_none &&
               side.style != litehtml::border_style_hidden && side.color.alpha > 0;
    };
    const float l = float(p.x), t = float(p.y), r = float(p.right()), btm = float(p.bottom());
    if (visible(b.top))
        drawList_->AddRectFilled(ImVec2(l, t), ImVec2(r, t + float(b.top.width)),
                                 Colour(b.top.color));
    if (visible(b.bottom))
        drawList_->AddRectFilled(ImVec2(l, btm - float(b.bottom.width)), ImVec2(r, btm),
                                 Colour(b.bottom.color));
    if (visible(b.left))
        drawList_->AddRectFilled(ImVec2(l, t), ImVec2(l + float(b.left.width), btm),
                                 Colour(b.left.color));
    if (visible(b.right))
        drawList_->AddRectFilled(ImVec2(r - float(b.right.width), t), ImVec2(r, btm),
                                 Colour(b.right.color));
}

void TSKIHelpContainer::set_caption(const litehtml::tchar_t*) {}
void TSKIHelpContainer::set_base_url(const litehtml::tchar_t*) {}
void TSKIHelpContainer::link(const std::shared_ptr<litehtml::document>&,
                             const litehtml::element::ptr&) {}

void TSKIHelpContainer::on_anchor_click(const litehtml::tchar_t* url,
                                        const litehtml::element::ptr&) {
    // Followed after the page was drawn: opening a page here would free the document that is
    // calling.
    clicked_ = url ? url : "";
}

void TSKIHelpContainer::set_cursor(const litehtml::tchar_t* cursor) {
    cursor_ = cursor ? cursor : "";
}

void TSKIHelpContainer::transform_text(litehtml::tstring& text, litehtml::text_transform tt) {
    // ASCII only: the pages are English.
    auto upper = [](char c) { return char(std::toupper(static_cast<unsigned char>(c))); };
    auto lower = [](char c) { return char(std::tolower(static_cast<unsigned char>(c))); };
    if (tt == litehtml::text_transform_uppercase)
        std::transform(text.begin(), text.end(), text.begin(), upper);
    else if (tt == litehtml::text_transform_lowercase)
        std::transform(text.begin(), text.end(), text.begin(), lower);
    else if (tt == litehtml::text_transform_capitalize && !text.empty())
        text[0] = upper(text[0]);
}

void TSKIHelpContainer::import_css(litehtml::tstring& text, const litehtml::tstring& url,
                                   litehtml::tstring&) {
    text.clear();
    const std::filesystem::path file = ResolveHelpResource(folder_, page_, url);
    if (!file.empty()) ReadWholeFile(file, text, nullptr, uint64_t(1) << 20);
}

void TSKIHelpContainer::set_clip(const litehtml::position& pos, const litehtml::border_radiuses&,
                                 bool valid_x, bool valid_y) {
    if (!drawList_) return;
    const ImVec4 current = drawList_->_ClipRectStack.Size > 0
                               ? drawList_->_ClipRectStack.back()
                               : ImVec4(-FLT_MAX, -FLT_MAX, FLT_MAX, FLT_MAX);
    ImVec2 from(current.x, current.y), to(current.z, current.w);
    if (valid_x) from.x = float(pos.x), to.x = float(pos.right());
    if (valid_y) from.y = float(pos.y), to.y = float(pos.bottom());
    drawList_->PushClipRect(from, to, true);
    ++clipDepth_;
}

void TSKIHelpContainer::del_clip() {
    if (!drawList_ || clipDepth_ == 0) return;
    drawList_->PopClipRect();
    --clipDepth_;
}

void TSKIHelpContainer::get_client_rect(litehtml::position& client) const {
    client = litehtml::position(0, 0, clientWidth_, clientHeight_);
}

std::shared_ptr<litehtml::element> TSKIHelpContainer::create_element(
    const litehtml::tchar_t*, const litehtml::string_map&,
    const std::shared_ptr<litehtml::document>&) {
    return nullptr;
}

void TSKIHelpContainer::get_media_features(litehtml::media_features& media) const {
    media.type = litehtml::media_type_screen;
    media.width = clientWidth_;
    media.height = clientHeight_;
    media.device_width = clientWidth_;
    media.device_height = clientHeight_;
    media.color = 8;
    media.monochrome = 0;
    media.color_index = 256;
    media.resolution = 96;
}

void TSKIHelpContainer::get_language(litehtml::tstring& language,
                                     litehtml::tstring& culture) const {
    language = "en";
    culture.clear();
}

}  // namespace vallorn
