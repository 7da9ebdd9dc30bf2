// litehtml's drawing and measuring for the help viewer, done with ImGui: fonts are the
// interface's DejaVu faces at the page's sizes, text and boxes go to the current window's draw
// list, pictures of the help folder become GL textures.
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <litehtml.h>

struct ImDrawList;
struct ImFont;

namespace vallorn {

class TSKIHelpContainer : public litehtml::document_container {
public:
    explicit TSKIHelpContainer(std::filesystem::path helpFolder);
    ~TSKIHelpContainer();

    // The page whose links and pictures are resolved, and the area the page is laid out in.
    void SetPage(const std::filesystem::path& page) { page_ = page; }
    void SetClient(int width, int height) { clientWidth_ = width, clientHeight_ = height; }
    void SetDrawList(ImDrawList* list) { drawList_ = list; }
    // The link clicked since the last call (empty when none), and whether the pointer is over
    // a link now.
    std::string TakeClickedLink();
    bool OverLink() const { return cursor_ == "pointer"; }
    // Forgets the fonts of a document that is gone.
    void ClearFonts() { fonts_.clear(); }

    litehtml::uint_ptr create_font(const litehtml::tchar_t* faceName, int size, int weight,
                                   litehtml::font_style italic, unsigned int decoration,
                                   litehtml::font_metrics* fm) override;
    void delete_font(litehtml::uint_ptr hFont) override;
    int text_width(const litehtml::tchar_t* text, litehtml::uint_ptr hFont) override;
    void draw_text(litehtml::uint_ptr hdc, const litehtml::tchar_t* text, litehtml::uint_ptr hFont,
                   litehtml::web_color color, const litehtml::position& pos) override;
    int pt_to_px(int pt) const override;
    int get_default_font_size() const override;
    const litehtml::tchar_t* get_default_font_name() const override;
    void draw_list_marker(litehtml::uint_ptr hdc, const litehtml::list_marker& marker) override;
    void load_image(const litehtml::tchar_t* src, const litehtml::tchar_t* baseurl,
                    bool redraw_on_ready) override;
    void get_image_size(const litehtml::tchar_t* src, const litehtml::tchar_t* baseurl,
                        litehtml::size& sz) override;
    void draw_background(litehtml::uint_ptr hdc, const litehtml::background_paint& bg) override;
    void draw_borders(litehtml::uint_ptr hdc, const litehtml::borders& borders,
                      const litehtml::position& draw_pos, bool root) override;
    void set_caption(const litehtml::tchar_t* caption) override;
    void set_base_url(const litehtml::tchar_t* base_url) override;
    void link(const std::shared_ptr<litehtml::document>& doc,
              const litehtml::element::ptr& el) override;
    void on_anchor_click(const litehtml::tchar_t* url, const litehtml::element::ptr& el) override;
    void set_cursor(const litehtml::tchar_t* cursor) override;
    void transform_text(litehtml::tstring& text, litehtml::text_transform tt) override;
    void import_css(litehtml::tstring& text, const litehtml::tstring& url,
                    litehtml::tstring& baseurl) override;
    void set_clip(const litehtml::position& pos, const litehtml::border_radiuses& bdr_radius,
                  bool valid_x, bool valid_y) override;
    void del_clip() override;
    void get_client_rect(litehtml::position& client) const override;
    std::shared_ptr<litehtml::element> create_element(
        const litehtml::tchar_t* tag_name, const litehtml::string_map& attributes,
        const std::shared_ptr<litehtml::document>& doc) override;
    void get_media_features(litehtml::media_features& media) const override;
    void get_language(litehtml::tstring& language, litehtml::tstring& culture) const override;

private:
    struct TFont {
        ImFont* Font = nullptr;
        float Size = 16;
        unsigned Decoration = 0;
        int Ascent = 0;
    };
    struct TImage {
        unsigned Texture = 0;
        int Width = 0, Height = 0;
    };
    const TFont* FontOf(litehtml::uint_ptr handle) const;
    const TImage* ImageOf(const std::string& src) const;

    std::filesystem::path folder_, page_;
    int clientWidth_ = 600, clientHeight_ = 400;
    ImDrawList* drawList_ = nullptr;
    std::vector<std::unique_ptr<TFont>> fonts_;
    std::map<std::string, TImage> images_;  // by resolved path
    int clipDepth_ = 0;
    std::string clicked_, cursor_;
};

}  // namespace vallorn
