#include "platform/help_viewer.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <vector>

#include <imgui.h>
#include <litehtml.h>

#include "base/atomic_file.h"
#include "platform/draw_list_cache.h"
#include "platform/help_container.h"
#include "platform/help_links.h"

namespace vallorn {

namespace {

constexpr uint64_t kMaxPageBytes = uint64_t(4) << 20;

// Used when the help folder has no master stylesheet: enough for blocks, headings and lists.
constexpr const char* kFallbackMasterCss = R"css(
html, address, blockquote, body, dd, div, dl, dt, fieldset, form, frame, frameset, h1, h2, h3,
h4, h5, h6, noframes, ol, p, ul, center, dir, hr, menu, pre, table, li { display: block; }
head, title, style, script, meta, link { display: none; }
body { margin: 8px; color: #e6e9ee; }
h1 { font-size: 2em; font-weight: bold; margin: 0.5em 0; }
h2 { font-size: 1.5em; font-weight: bold; margin: 0.6em 0; }
h3 { font-size: 1.17em; font-weight: bold; margin: 0.8em 0; }
p { margin: 0.6em 0; }
ul, ol { margin: 0.6em 0; padding-left: 2em; }
ul { list-style-type: disc; }
ol { list-style-type: decimal; }
li { display: list-item; }
b, strong { font-weight: bold; }
i, em { font-style: italic; }
a { color: #7fb8ff; text-decoration: underline; cursor: pointer; }
table { display: table; } tr { display: table-row; } td, th { display: table-cell; padding: 2px 6px; }
img { display: inline-block; }
br { display: block; }
)css";

std::string EscapeHtml(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '&':
                out += "&amp;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string DecodeEntities(std::string text) {
    static const std::pair<const char*, const char*> kEntities[] = {
        {"&lt;", "<"},  {"&gt;", ">"},   {"&quot;", "\""},
        {"&#39;", "'"}, {"&nbsp;", " "}, {"&amp;", "&"}};  // "&amp;" last: "&amp;lt;" is "&lt;"
    for (auto [from, to] : kEntities) {
        for (size_t at = text.find(from); at != std::string::npos;
             at = text.find(from, at + std::strlen(to)))
            text.replace(at, std::strlen(from), to);
    }
    return text;
}

// The text of the first <title> element, spaces collapsed.
std::string TitleOf(const std::string& html) {
    std::string lower(html.size(), ' ');
    std::transform(html.begin(), html.end(), lower.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    size_t open = lower.find("<title");
    if (open == std::string::npos) return {};
    open = lower.find('>', open);
    if (open == std::string::npos) return {};
    const size_t close = lower.find("</title", open);
    if (close == std::string::npos) return {};
    std::string title;
    bool space = false;
    for (size_t i = open + 1; i < close; ++i) {
        const unsigned char c = static_cast<unsigned char>(html[i]);
        if (std::isspace(c)) {
            space = !title.empty();
            continue;
        }
        if (space) title += ' ';
        space = false;
        title += char(c);
    }
    return DecodeEntities(title);
}

std::string ErrorPage(const std::filesystem::path& file, const std::string& reason) {
    return "<html><head><title>Help</title></head><body><h1>Page not available</h1><p>The help "
           "page <b>" +
           EscapeHtml(file.filename().string()) +
           "</b> could not be opened: " + EscapeHtml(reason) +
           ".</p><p><a href=\"Contents.html\">Contents</a></p></body></html>";
}

}  // namespace

struct TSKIHelpViewer::TImpl {
    explicit TImpl(std::filesystem::path folder) : Folder(std::move(folder)), Container(Folder) {
        std::string css;
        if (!ReadWholeFile(Folder / "master.css", css, nullptr, uint64_t(1) << 20) || css.empty())
            css = kFallbackMasterCss;
        Context.load_master_stylesheet(css.c_str());
    }

    std::filesystem::path Folder, Page;
    std::vector<std::filesystem::path> History;  // pages left through a link
    std::string Html, Title;
    litehtml::context Context;
    TSKIHelpContainer Container;
    litehtml::document::ptr Document;
    int RenderedWidth = -1;
    // The page drawn once for its layout and place on the screen, copied on the frames after.
    TSKIDrawListCache Drawing;
    int64_t Layouts = 0;  // counts the layouts, so that a new one is drawn anew
    bool Hovered = false;
    bool ScrollToTop = false;
    std::string PendingAnchor;

    bool LoadFile(const std::filesystem::path& file, std::string* error) {
        std::string html, reason;
        if (!ReadWholeFile(file, html, &reason, kMaxPageBytes)) {
            Load(file, ErrorPage(file, reason.empty() ? "unreadable" : reason));
            if (error) *error = reason;
            return false;
        }
        Load(file, std::move(html));
        if (error) error->clear();
        return true;
    }

    void Load(const std::filesystem::path& file, std::string html) {
        Document.reset();
        Container.ClearFonts();
        Page = file;
        Html = std::move(html);
        Title = TitleOf(Html);
        RenderedWidth = -1;
        ScrollToTop = true;
        PendingAnchor.clear();
    }

    void Build() {
        if (Document || Html.empty() || !ImGui::GetCurrentContext()) return;
        Container.SetPage(Page);
        Document = litehtml::document::createFromUTF8(Html.c_str(), &Container, &Context);
        RenderedWidth = -1;
    }

    // Scroll offset of the element named by an anchor, or -1.
    float AnchorOffset(const std::string& anchor) const {
        if (!Document || anchor.empty()) return -1;
        for (char c : anchor)
            if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-' && c != '_') return -1;
        litehtml::element::ptr root = Document->root();
        if (!root) return -1;
        litehtml::element::ptr target = root->select_one("#" + anchor);
        if (!target) target = root->select_one("a[name=\"" + anchor + "\"]");
        return target ? float(target->get_placement().y) : -1.0f;
    }
};

TSKIHelpViewer::TSKIHelpViewer(std::filesystem::path helpFolder)
    : impl_(std::make_unique<TImpl>(std::move(helpFolder))) {}

TSKIHelpViewer::~TSKIHelpViewer() = default;

bool TSKIHelpViewer::Open(const std::filesystem::path& file, std::string* error) {
    impl_->History.clear();
    return impl_->LoadFile(file, error);
}

bool TSKIHelpViewer::CanGoBack() const {
    return !impl_->History.empty();
}

bool TSKIHelpViewer::Back() {
    if (impl_->History.empty()) return false;
    const std::filesystem::path previous = impl_->History.back();
    impl_->History.pop_back();
    impl_->LoadFile(previous, nullptr);
    return true;
}

const std::filesystem::path& TSKIHelpViewer::Page() const {
    return impl_->Page;
}

std::string TSKIHelpViewer::Title() const {
    return impl_->Title;
}

void TSKIHelpViewer::Draw() {
    TImpl& m = *impl_;
    m.Build();
    if (!m.Document) return;
    ImGui::BeginChild("##help_page", ImVec2(0, 0), false, ImGuiWindowFlags_HorizontalScrollbar);
    const ImVec2 windowPos = ImGui::GetWindowPos(), windowSize = ImGui::GetWindowSize();
    const int width = std::max(64, int(ImGui::GetContentRegionAvail().x));
    m.Container.SetClient(width, int(windowSize.y));
    if (width != m.RenderedWidth) {
        m.Document->render(width);
        m.RenderedWidth = width;
        ++m.Layouts;
    }
    if (m.ScrollToTop) ImGui::SetScrollY(0);
    m.ScrollToTop = false;
    if (!m.PendingAnchor.empty()) {
        const float y = m.AnchorOffset(m.PendingAnchor);
        if (y >= 0) ImGui::SetScrollY(y);
        m.PendingAnchor.clear();
    }

    const ImVec2 origin = ImGui::GetCursorScreenPos();
    ImGui::Dummy(ImVec2(float(std::max(m.Document->width(), width)),
                        float(std::max(m.Document->height(), 1))));
    ImDrawList& list = *ImGui::GetWindowDrawList();
    const litehtml::position clip(int(windowPos.x), int(windowPos.y), int(windowSize.x) + 1,
                                  int(windowSize.y) + 1);
    // The glyphs' places in the font texture count too: a rebuilt atlas moves them.
    const ImFontAtlas& atlas = *ImGui::GetIO().Fonts;
    std::vector<int64_t> key = {m.Layouts,
                                int64_t(origin.x),
                                int64_t(origin.y),
                                clip.x,
                                clip.y,
                                clip.width,
                                clip.height,
                                atlas.TexWidth,
                                atlas.TexHeight,
                                atlas.Fonts.Size,
                                int64_t(reinterpret_cast<intptr_t>(atlas.TexID))};
    if (!m.Drawing.Holds(key)) {
        m.Container.SetDrawList(m.Drawing.Record(list, std::move(key)));
        m.Document->draw(0, int(origin.x), int(origin.y), &clip);
        m.Container.SetDrawList(nullptr);
    }
    m.Drawing.Replay(list);

    litehtml::position::vector boxes;
    bool changed = false;
    if (ImGui::IsWindowHovered()) {
        const ImVec2 mouse = ImGui::GetMousePos();
        const int x = int(mouse.x - origin.x), y = int(mouse.y - origin.y);
        const int cx = int(mouse.x - windowPos.x), cy = int(mouse.y - windowPos.y);
        changed |= m.Document->on_mouse_over(x, y, cx, cy, boxes);
        if (ImGui::IsMouseClicked(ImGuiMouseButton_Left))
            changed |= m.Document->on_lbutton_down(x, y, cx, cy, boxes);
        if (ImGui::IsMouseReleased(ImGuiMouseButton_Left))
            changed |= m.Document->on_lbutton_up(x, y, cx, cy, boxes);
        if (m.Container.OverLink()) ImGui::SetMouseCursor(ImGuiMouseCursor_Hand);
        m.Hovered = true;
    } else if (m.Hovered) {
        changed |= m.Document->on_mouse_leave(boxes);
        m.Hovered = false;
    }
    if (changed) m.RenderedWidth = -1;  // a hover style may change the layout
    ImGui::EndChild();

    const std::string href = m.Container.TakeClickedLink();
    if (href.empty()) return;
    const TSKIHelpLink link = ResolveHelpLink(m.Folder, m.Page, href);
    if (link.Kind == TSKIHelpLink::TKind::Page) {
        m.History.push_back(m.Page);
        m.LoadFile(link.Page, nullptr);
        m.PendingAnchor = link.Anchor;
    } else if (link.Kind == TSKIHelpLink::TKind::Anchor) {
        m.PendingAnchor = link.Anchor;
    }
}

}  // namespace vallorn
