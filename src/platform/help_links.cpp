#include "platform/help_links.h"

#include <algorithm>
#include <cctype>

namespace vallorn {

namespace {

bool HasScheme(std::string_view href) {
    // RFC 3986: ALPHA *( ALPHA / DIGIT / "+" / "-" / "." ) ":"
    if (href.empty() || !std::isalpha(static_cast<unsigned char>(href[0]))) return false;
    for (char c : href) {
        if (c == ':') return true;
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '+' && c != '-' && c != '.')
            return false;
    }
    return false;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = char(std::tolower(static_cast<unsigned char>(c)));
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// %XX decoded; false on a broken escape or a decoded control character.
bool PercentDecode(std::string_view in, std::string& out) {
    out.clear();
    for (size_t i = 0; i < in.size(); ++i) {
        char c = in[i];
        if (c == '%') {
            if (i + 2 >= in.size()) return false;
            const int hi = HexValue(in[i + 1]), lo = HexValue(in[i + 2]);
            if (hi < 0 || lo < 0) return false;
            c = char(hi * 16 + lo);
            i += 2;
        }
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) return false;
        out.push_back(c);
    }
    return true;
}

// The path inside the folder, or empty with the reason.
std::filesystem::path Contained(const std::filesystem::path& helpFolder,
                                const std::filesystem::path& currentPage, std::string_view href,
                                std::string& reason) {
    namespace fs = std::filesystem;
    if (HasScheme(href)) {
        reason = "not a page of the help";
        return {};
    }
    std::string path;
    if (!PercentDecode(href, path) || path.empty()) {
        reason = "not a valid link";
        return {};
    }
    if (path[0] == '/' || path[0] == '\\') {
        reason = "absolute paths are not followed";
        return {};
    }
    std::error_code ec;
    const fs::path root = fs::weakly_canonical(fs::absolute(helpFolder, ec), ec);
    if (ec) {
        reason = "no help folder";
        return {};
    }
    fs::path base = fs::absolute(currentPage, ec).parent_path();
    if (currentPage.empty()) base = root;
    // Lexically first: ".." must not climb out of the folder, whatever the links on disk.
    const fs::path lexical = (fs::weakly_canonical(base, ec) / path).lexically_normal();
    const fs::path relative = lexical.lexically_relative(root);
    if (relative.empty() || *relative.begin() == "..") {
        reason = "leads out of the help folder";
        return {};
    }
    // Then on disk: a symbolic link must not lead out either.
    const fs::path real = fs::weakly_canonical(lexical, ec);
    const fs::path realRelative = real.lexically_relative(root);
    if (ec || realRelative.empty() || *realRelative.begin() == "..") {
        reason = "leads out of the help folder";
        return {};
    }
    return lexical;
}

}  // namespace

TSKIHelpLink ResolveHelpLink(const std::filesystem::path& helpFolder,
                             const std::filesystem::path& currentPage, std::string_view href) {
    TSKIHelpLink link;
    while (!href.empty() && std::isspace(static_cast<unsigned char>(href.front())))
        href.remove_prefix(1);
    while (!href.empty() && std::isspace(static_cast<unsigned char>(href.back())))
        href.remove_suffix(1);
    std::string_view fragment;
    if (const size_t hash = href.find('#'); hash != std::string_view::npos) {
        fragment = href.substr(hash + 1);
        href = href.substr(0, hash);
    }
    if (const size_t query = href.find('?'); query != std::string_view::npos)
        href = href.substr(0, query);
    std::string anchor;
    if (!PercentDecode(fragment, anchor)) anchor.clear();
    if (href.empty()) {
        if (anchor.empty()) {
            link.Reason = "empty link";
            return link;
        }
        link.Kind = TSKIHelpLink::TKind::Anchor;
        link.Anchor = anchor;
        return link;
    }
    std::string reason;
    std::filesystem::path page = Contained(helpFolder, currentPage, href, reason);
    if (page.empty()) {
        link.Reason = reason;
        return link;
    }
    std::string ext = page.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    if (ext != ".html" && ext != ".htm") {
        link.Reason = "not a page of the help";
        return link;
    }
    link.Kind = TSKIHelpLink::TKind::Page;
    link.Page = std::move(page);
    link.Anchor = anchor;
    return link;
}

std::filesystem::path ResolveHelpResource(const std::filesystem::path& helpFolder,
                                          const std::filesystem::path& currentPage,
                                          std::string_view href) {
    std::string reason;
    if (const size_t cut = href.find_first_of("?#"); cut != std::string_view::npos)
        href = href.substr(0, cut);
    return Contained(helpFolder, currentPage, href, reason);
}

}  // namespace vallorn
