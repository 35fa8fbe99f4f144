// The web browser on both backends with the same local pages: without a desktop the page
// model, on the desktop Qt WebEngine. Each navigation raises the same events in the same order,
// the history answers Back and Forward alike, and the dialog a person works (typing an address,
// GO, the menu bar's Back, OK) hands back the same address and title.
#include <chrono>
#include <filesystem>
#include <fstream>

#include "platform/automation/ActiveObjects.h"
#include "platform/automation/ComRuntime.h"
#include "platform/browser/BrowserIds.h"
#include "src/dialogs/WebB.h"
#include "src/dialogs/WebDialog.h"
#include "src/resources/DialogTemplates.h"
#include "tests/browser/BrowserEventNames.h"
#include "tests/conformance/Backends.h"
#include "tests/support/HeadlessTest.h"

namespace orbel::test {
namespace {

using Action = platform::ScriptedUser::DialogAction;
namespace ids = browser;

template <class B>
class BrowserConformance : public ConformanceTest<B> {
  protected:
    void SetUp() override {
        temp_ = MakeTempDir("orbel-browser");
        setenv("ORBEL_REGISTRY", (temp_ / "registry.reg").c_str(), 1);
        setenv("ORBEL_INI_DIR", (temp_ / "ini").c_str(), 1);
        ConformanceTest<B>::SetUp();
        std::string error;
        ASSERT_EQ(RegisterModule(ORBEL_BROWSER_MODULE_PATH, &error), S_OK) << error;
    }
    void TearDown() override {
        ConformanceTest<B>::TearDown();
        std::error_code ec;
        std::filesystem::remove_all(temp_, ec);
    }
    std::string Page(const std::string& name, const std::string& title) {
        std::ofstream(temp_ / name) << "<html><head><title>" << title << "</title></head><body><p>"
                                    << title << "</p></body></html>";
        return "file://" + (temp_ / name).string();
    }
    // Lets the program run until the browser has loaded its page; false after 20 seconds.
    bool Loaded() {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        for (;;) {
            this->RunFor(20);
            auto browser = GetActiveObject(ids::kProgId);
            Variant busy;
            if (!browser ||
                browser->Invoke(ids::members::kBusy, InvokeKind::PropertyGet, {}, &busy) != S_OK)
                return false;
            if (!busy.Bool()) return true;
            if (std::chrono::steady_clock::now() > end) return false;
        }
    }
    Action Wait() {
        return Action::OnDialog("wait", [this](platform::LiveDialog&) {
            return Loaded() ? std::string() : std::string("the page did not load");
        });
    }
    std::filesystem::path temp_;
};
TYPED_TEST_SUITE(BrowserConformance, Backends, BackendNames);

TYPED_TEST(BrowserConformance, ANavigationRaisesTheSameEventsAndTheHistoryAnswersAlike) {
    const std::string a = this->Page("a.html", "Page A");
    const std::string b = this->Page("b.html", "Page B");
    const HWND top = this->MakeTopWindow(RECT{0, 0, 400, 300});
    CWebB browser;
    ASSERT_TRUE(browser.Create("", WS_CHILD | WS_VISIBLE, RECT{0, 0, 400, 300}, top, 222));
    auto events = std::make_shared<EventRecorder>(BrowserEventNames());
    ASSERT_TRUE(browser.AdviseEvents(events));
    browser.Navigate(a);
    ASSERT_TRUE(this->Loaded());
    EXPECT_EQ(events->Events(), EventsOfFirstPage(a, "Page A"));
    browser.Navigate(b);
    ASSERT_TRUE(this->Loaded());
    browser.GoBack();
    ASSERT_TRUE(this->Loaded());
    EXPECT_EQ(browser.GetLocationURL(), a);
    EXPECT_EQ(browser.GetLocationName(), "Page A");
    const auto& all = events->Events();
    ASSERT_GE(all.size(), 4u);
    EXPECT_EQ(all[all.size() - 4], "CommandStateChange(1, TRUE)");
    EXPECT_EQ(all[all.size() - 3], "CommandStateChange(2, FALSE)");
    browser.DestroyWindow();
}

TYPED_TEST(BrowserConformance, APersonBrowsesInTheDialogAndOkHandsBackThePage) {
    const std::string a = this->Page("a.html", "Page A");
    const std::string b = this->Page("b.html", "Page B");
    std::string back;
    this->User().AnswerDialog(
        IDD_WEB_BROWSER,
        {this->Wait(), Action::Set(IDC_WEB_ADDRESS, b), Action::Press(IDC_WEB_GO), this->Wait(),
         Action::OnDialog("back",
                          [&back](platform::LiveDialog& d) {
                              back = d.IsMenuItemEnabled(ID_WEB_BACK) ? "on" : "grey";
                              return d.UserMenu(ID_WEB_BACK);
                          }),
         this->Wait(), Action::Press(IDOK)});
    CWebDialog web;
    web.m_strAddress = a;
    ASSERT_EQ(web.DoModal(), IDOK);
    EXPECT_EQ(back, "on");
    EXPECT_EQ(web.m_strAddress, a);
    EXPECT_EQ(web.m_strTitle, "Page A");
}

}  // namespace
}  // namespace orbel::test
