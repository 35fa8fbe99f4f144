// The browser component without a desktop, reached as the dialog reaches it: by class ID and
// dispatch IDs, with its events on an advised sink. A page comes from a file or from the
// test's own web server; each navigation raises the same events in the same order; the
// history serves Back and Forward; Home is the installed start page; Search needs an address.
#include <gtest/gtest.h>

#include <fstream>

#include "platform/EffectLog.h"
#include "platform/automation/ActiveObjects.h"
#include "platform/automation/ComRuntime.h"
#include "platform/browser/BrowserIds.h"
#include "platform/browser/PageSource.h"
#include "platform/profile/Profile.h"
#include "src/dialogs/WebB.h"
#include "tests/browser/BrowserEventNames.h"
#include "tests/browser/LocalServer.h"
#include "tests/support/HeadlessTest.h"

namespace orbel {
namespace {

namespace ids = browser;
using browser::TitleOfHtml;

class BrowserComponentTest : public test::HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        std::string error;
        ASSERT_EQ(RegisterModule(ORBEL_BROWSER_MODULE_PATH, &error), S_OK) << error;
        platform::CreateWindowParams params;
        params.className = "Host";
        params.rect = RECT{0, 0, 400, 300};
        host_ = P().Windows().CreateWindow(params, nullptr);
        ASSERT_TRUE(browser_.Create("", WS_CHILD | WS_VISIBLE, RECT{0, 0, 400, 300}, host_, 222));
        ASSERT_TRUE(browser_.AdviseEvents(events_));
        platform::SetEffectListener([this](const std::string& line) { effects_.push_back(line); });
    }
    void TearDown() override {
        platform::SetEffectListener({});
        browser_.DestroyWindow();
        HeadlessTest::TearDown();
    }

    std::string Page(const std::string& name, const std::string& html) {
        const auto path = TempDir() / name;
        std::ofstream(path) << html;
        return "file://" + path.string();
    }
    HRESULT Call(DISPID id, std::vector<Variant> args = {}) {
        auto dispatch = GetActiveObject(ids::kProgId);
        if (!dispatch) return E_POINTER;
        return dispatch->Invoke(id, InvokeKind::Method, args, nullptr);
    }
    std::vector<std::string> TakeEvents() {
        auto events = events_->Events();
        events_->Clear();
        return events;
    }

    HWND host_;
    CWebB browser_;
    std::shared_ptr<test::EventRecorder> events_ =
        std::make_shared<test::EventRecorder>(test::BrowserEventNames());
    std::vector<std::string> effects_;
};

TEST_F(BrowserComponentTest, ANavigationRaisesEveryEventInOrderAndTheTitleComesFromThePage) {
    const std::string url = Page("a.html",
                                 "<html><head><title> First\n  page &amp; more </title>"
                                 "</head><body>a</body></html>");
    browser_.Navigate(url);
    EXPECT_EQ(TakeEvents(), test::EventsOfFirstPage(url, "First page & more"));
    EXPECT_EQ(browser_.GetLocationURL(), url);
    EXPECT_EQ(browser_.GetLocationName(), "First page & more");
    EXPECT_EQ(effects_,
              std::vector<std::string>{"browser: opened \"" + url + "\" \"First page & more\""});
}

TEST_F(BrowserComponentTest, HistoryServesBackAndForwardAndANewPageDropsWhatWasAhead) {
    const std::string a = Page("a.html", "<title>A</title>");
    const std::string b = Page("b.html", "<title>B</title>");
    const std::string c = Page("c.html", "<title>C</title>");
    EXPECT_EQ(Call(ids::members::kGoBack), E_FAIL);
    browser_.Navigate(a);
    browser_.Navigate(b);
    TakeEvents();
    browser_.GoBack();
    EXPECT_EQ(browser_.GetLocationURL(), a);
    auto events = TakeEvents();
    EXPECT_NE(std::find(events.begin(), events.end(), "CommandStateChange(1, TRUE)"), events.end());
    EXPECT_NE(std::find(events.begin(), events.end(), "CommandStateChange(2, FALSE)"),
              events.end());
    EXPECT_EQ(Call(ids::members::kGoBack), E_FAIL);
    browser_.GoForward();
    EXPECT_EQ(browser_.GetLocationName(), "B");
    EXPECT_EQ(Call(ids::members::kGoForward), E_FAIL);
    browser_.GoBack();
    browser_.Navigate(c);
    EXPECT_EQ(Call(ids::members::kGoForward), E_FAIL);
    browser_.GoBack();
    EXPECT_EQ(browser_.GetLocationName(), "A");
    // Refresh reads the page again: a changed title shows.
    Page("a.html", "<title>A again</title>");
    browser_.Refresh();
    EXPECT_EQ(browser_.GetLocationName(), "A again");
}

TEST_F(BrowserComponentTest, PagesOfALocalWebServerFollowRedirectionsAndFailuresSayWhy) {
    test::LocalServer server;
    server.Serve("/page", {200, "", "<html><title>Served</title></html>"});
    server.Serve("/old", {302, "Location: /page\r\n", ""});
    browser_.Navigate(server.Url("/old"));
    EXPECT_EQ(browser_.GetLocationURL(), server.Url("/page"));
    EXPECT_EQ(browser_.GetLocationName(), "Served");

    TakeEvents();
    browser_.Navigate(server.Url("/missing"));
    const auto events = TakeEvents();
    EXPECT_NE(
        std::find(events.begin(), events.end(), "StatusTextChange(\"the server answers 404\")"),
        events.end());
    EXPECT_EQ(events.back(), "DocumentComplete(<object>, \"" + server.Url("/missing") + "\")");
    EXPECT_EQ(effects_.back(),
              "browser: cannot open \"" + server.Url("/missing") + "\": the server answers 404");
    // No network without a desktop: a server elsewhere is never asked.
    browser_.Navigate("www.example.com/x");
    EXPECT_EQ(browser_.GetLocationURL(), "http://www.example.com/x");
    EXPECT_NE(effects_.back().find("only web servers on this computer"), std::string::npos);
    EXPECT_EQ(server.Requests(), 3);
}

TEST_F(BrowserComponentTest, HomeIsTheInstalledStartPageAndSearchNeedsAnAddress) {
    browser_.GoHome();
    EXPECT_EQ(browser_.GetLocationName(), "Orbel start page");
    EXPECT_TRUE(browser_.GetLocationURL().ends_with("/browser/start.html"));

    TakeEvents();
    EXPECT_EQ(Call(ids::members::kGoSearch), E_FAIL);
    EXPECT_EQ(TakeEvents(),
              std::vector<std::string>{"StatusTextChange(\"No search page is set.\")"});
    EXPECT_EQ(effects_.back(), "browser: no search page is set");

    const std::string search = Page("search.html", "<title>Search here</title>");
    ASSERT_TRUE(
        platform::WritePrivateProfileString("Browser", "Search", search, "orbel-browser.ini"));
    EXPECT_EQ(Call(ids::members::kGoSearch), S_OK);
    EXPECT_EQ(browser_.GetLocationName(), "Search here");
}

TEST_F(BrowserComponentTest, CallsOutsideTheInterfaceAreRefused) {
    EXPECT_EQ(Call(ids::members::kNavigate), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(Call(ids::members::kExecWB, {Variant(std::int32_t{5}), Variant(std::int32_t{0})}),
              E_NOTIMPL);
    EXPECT_EQ(Call(4242), DISP_E_MEMBERNOTFOUND);
    // A folder is no page, and a file address naming another computer is not opened.
    browser_.Navigate("file://" + TempDir().string());
    EXPECT_NE(effects_.back().find("is a folder"), std::string::npos);
    browser_.Navigate("file://server/share/x.html");
    EXPECT_NE(effects_.back().find("only files on this computer"), std::string::npos);
}

TEST(PageTitleTest, TheFirstTitleElementWithItsSpacesRunTogether) {
    EXPECT_EQ(TitleOfHtml("<TITLE>Upper</TITLE>"), "Upper");
    EXPECT_EQ(TitleOfHtml("<titlebar>x</titlebar><title lang=en>Real</title>"), "Real");
    EXPECT_EQ(TitleOfHtml("<p>no title</p>"), "");
    EXPECT_EQ(TitleOfHtml("<title>&lt;b&gt; &quot;q&quot; &#39;s&#39; &copy;</title>"),
              "<b> \"q\" 's' &copy;");
    EXPECT_EQ(TitleOfHtml("<title>unended"), "unended");
    EXPECT_EQ(browser::CompleteAddress(" /tmp/a b.html "), "file:///tmp/a b.html");
    EXPECT_EQ(browser::CompleteAddress("www.example.com"), "http://www.example.com");
    EXPECT_EQ(browser::CompleteAddress("ftp://host/x"), "ftp://host/x");
}

}  // namespace
}  // namespace orbel
