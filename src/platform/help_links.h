// Where a link of a help page leads: another page of the help folder (and an anchor in it),
// an anchor of the page shown, or nowhere. Only pages inside the help folder are ever opened:
// absolute paths, ".." that climbs out, symbolic links that lead out and other schemes than
// plain relative paths are refused.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace vallorn {

struct TSKIHelpLink {
    enum class TKind { Ignored, Anchor, Page } Kind = TKind::Ignored;
    std::filesystem::path Page;  // Page: the file to open
    std::string Anchor;          // Anchor, and Page with "#name": the element's id or name
    std::string Reason;          // Ignored: why
};

// `href` as written in `currentPage` (a file inside `helpFolder`).
TSKIHelpLink ResolveHelpLink(const std::filesystem::path& helpFolder,
                             const std::filesystem::path& currentPage, std::string_view href);

// As above for a resource of a page (a picture, a style sheet): any file type, same rules.
// Empty when refused.
std::filesystem::path ResolveHelpResource(const std::filesystem::path& helpFolder,
                                          const std::filesystem::path& currentPage,
                                          std::string_view href);

}  // namespace vallorn
