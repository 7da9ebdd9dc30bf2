// Links of the help pages: pages of the help folder open, anchors scroll, and nothing leads
// out of the folder, however it is written. A page's title, and the error page in place of a
// page that cannot be read.
#include <gtest/gtest.h>

#include "platform/help_links.h"
#include "platform/help_viewer.h"
#include "support/test_support.h"

namespace vallorn {
namespace {

using TKind = TSKIHelpLink::TKind;

class HelpLinks : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(dir / "help" / "lifts");
        std::filesystem::create_directories(dir / "elsewhere");
        for (const char* page : {"help/Contents.html", "help/Welcome.htm", "help/lifts/Tbar.html",
                                 "elsewhere/secret.html"})
            test::WriteText(dir / page, "<html></html>");
        std::filesystem::create_symlink(dir / "elsewhere" / "secret.html",
                                        dir / "help" / "Leak.html");
        std::filesystem::create_directory_symlink(dir / "elsewhere", dir / "help" / "more");
    }
    TSKIHelpLink Resolve(const std::string& from, const std::string& href) {
        return ResolveHelpLink(help, help / from, href);
    }

    test::TempDir dir;
    std::filesystem::path help = dir / "help";
};

TEST_F(HelpLinks, PagesOfTheFolderOpenWithTheirAnchor) {
    const auto page = Resolve("Contents.html", "lifts/Tbar.html#capacity");
    ASSERT_EQ(page.Kind, TKind::Page) << page.Reason;
    EXPECT_TRUE(std::filesystem::equivalent(page.Page, help / "lifts" / "Tbar.html"));
    EXPECT_EQ(page.Anchor, "capacity");

    const auto up = Resolve("lifts/Tbar.html", "../Welcome.htm");  // climbs, but stays inside
    ASSERT_EQ(up.Kind, TKind::Page) << up.Reason;
    EXPECT_TRUE(std::filesystem::equivalent(up.Page, help / "Welcome.htm"));

    const auto spaced = Resolve("Contents.html", " lifts/%54bar.html ");
    EXPECT_EQ(spaced.Kind, TKind::Page) << spaced.Reason;

    const auto anchor = Resolve("Contents.html", "#camera");
    EXPECT_EQ(anchor.Kind, TKind::Anchor);
    EXPECT_EQ(anchor.Anchor, "camera");
}

TEST_F(HelpLinks, NothingLeadsOutOfTheFolder) {
    for (const char* href :
         {"../elsewhere/secret.html", "%2e%2e/elsewhere/secret.html", "lifts/../../x.html",
          "Leak.html", "more/secret.html", "/etc/passwd.html", "file:///etc/passwd",
          "http://example.org/index.html", "mailto:someone@example.org", "javascript:alert(1)",
          "lifts/Tbar.html%00.png", "", "#", "Contents.css", "lifts"}) {
        const auto link = Resolve("Contents.html", href);
        EXPECT_EQ(link.Kind, TKind::Ignored) << href;
        EXPECT_FALSE(link.Reason.empty()) << href;
    }
    // Pictures and style sheets follow the same rules, whatever their type.
    EXPECT_FALSE(ResolveHelpResource(help, help / "Contents.html", "lifts/Tbar.html").empty());
    EXPECT_TRUE(ResolveHelpResource(help, help / "Contents.html", "more/secret.html").empty());
    EXPECT_TRUE(ResolveHelpResource(help, help / "Contents.html", "../x.png").empty());
}

TEST_F(HelpLinks, TitleComesFromThePageOrTheErrorPage) {
    test::WriteText(
        help / "Lifts.html",
        "<HTML><head><Title>\n  Lifts &amp;\n tows &amp;lt;3 </title></head><body>x</body>");
    TSKIHelpViewer viewer(help);
    std::string error;
    ASSERT_TRUE(viewer.Open(help / "Lifts.html", &error)) << error;
    EXPECT_EQ(viewer.Title(), "Lifts & tows &lt;3");

    EXPECT_FALSE(viewer.Open(help / "Missing.html", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(viewer.Page(), help / "Missing.html");
    EXPECT_EQ(viewer.Title(), "Help");
    EXPECT_FALSE(viewer.Open(help / "lifts", &error));  // a folder is no page
}

}  // namespace
}  // namespace vallorn
