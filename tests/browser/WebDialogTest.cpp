// The web browser dialog over the browser component without a desktop: it opens at the
// caller's address or at home, follows the browser's events (caption, address, status line,
// Back and Forward), lays itself out on each size change but the first, and hands the address
// and the title back on OK only. Insert Object's "&Internet" goes through it.
#include <gtest/gtest.h>

#include <fstream>

#include "platform/EffectLog.h"
#include "platform/automation/ComRuntime.h"
#include "platform/dialogs/Dialogs.h"
#include "src/dialogs/InsertObjectDlg.h"
#include "src/dialogs/WebDialog.h"
#include "src/resources/DialogTemplates.h"
#include "tests/support/HeadlessTest.h"

namespace orbel {
namespace {

using Action = platform::ScriptedUser::DialogAction;

class WebDialogTest : public test::HeadlessTest {
  protected:
    void Register() {
        std::string error;
        ASSERT_EQ(RegisterModule(ORBEL_BROWSER_MODULE_PATH, &error), S_OK) << error;
    }
    std::string Page(const std::string& name, const std::string& title) {
        const auto path = TempDir() / name;
        std::ofstream(path) << "<html><head><title>" << title << "</title></head></html>";
        return "file://" + path.string();
    }
    // An action that writes what the person sees: address, caption, status, Back, Forward.
    Action Look(std::vector<std::string>& seen) {
        return Action::OnDialog("look", [&seen](platform::LiveDialog& d) {
            seen.push_back(d.GetText(IDC_WEB_ADDRESS) + " | " + d.GetCaption() + " | " +
                           d.GetText(IDC_WEB_STATUS) +
                           " | back=" + (d.IsMenuItemEnabled(ID_WEB_BACK) ? "on" : "grey") +
                           " forward=" + (d.IsMenuItemEnabled(ID_WEB_FORWARD) ? "on" : "grey"));
            return std::string();
        });
    }
    static Action Menu(UINT id) {
        return Action::OnDialog("menu", [id](platform::LiveDialog& d) { return d.UserMenu(id); });
    }
    static Action Navigate(const std::string& url) {
        return Action::OnDialog("navigate", [url](platform::LiveDialog& d) {
            const std::string why = d.UserType(IDC_WEB_ADDRESS, url);
            return why.empty() ? d.UserPress(IDC_WEB_GO) : why;
        });
    }
};

TEST_F(WebDialogTest, OpensAtTheAddressFollowsTheBrowserAndHandsBackAddressAndTitle) {
    Register();
    const std::string a = Page("a.html", "Page A");
    const std::string b = Page("b.html", "Page B");
    std::vector<std::string> seen;
    User().AnswerDialog(IDD_WEB_BROWSER, {Look(seen), Navigate(b), Look(seen), Menu(ID_WEB_BACK),
                                          Look(seen), Menu(ID_WEB_FORWARD), Action::Press(IDOK)});
    CWebDialog web;
    web.m_strAddress = a;
    ASSERT_EQ(web.DoModal(), IDOK);
    const std::vector<std::string> expected{
        a + " | Page A |  | back=grey forward=grey",
        b + " | Page B |  | back=on forward=grey",
        a + " | Page A |  | back=grey forward=on",
    };
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(web.m_strAddress, b);
    EXPECT_EQ(web.m_strTitle, "Page B");
}

TEST_F(WebDialogTest, AnEmptyAddressOpensHomeAndCancelHandsNothingBack) {
    Register();
    std::vector<std::string> seen;
    User().AnswerDialog(IDD_WEB_BROWSER, {Look(seen), Action::Press(IDCANCEL)});
    CWebDialog web;
    EXPECT_EQ(web.DoModal(), IDCANCEL);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_NE(seen[0].find("/browser/start.html | Orbel start page |"), std::string::npos)
        << seen[0];
    EXPECT_EQ(web.m_strTitle, "");
}

TEST_F(WebDialogTest, StatusTextsOutsideADownloadAreNotShownAndGreyedItemsCannotBeChosen) {
    Register();
    std::vector<std::string> seen;
    std::string refused;
    User().AnswerDialog(IDD_WEB_BROWSER, {Menu(ID_WEB_SEARCH), Look(seen),
                                          Action::OnDialog("back",
                                                           [&](platform::LiveDialog& d) {
                                                               refused = d.UserMenu(ID_WEB_BACK);
                                                               return std::string();
                                                           }),
                                          Action::Press(IDCANCEL)});
    CWebDialog web;
    web.m_strAddress = Page("a.html", "A");
    web.DoModal();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], web.m_strAddress + " | A |  | back=grey forward=grey");
    EXPECT_EQ(refused, "menu item 32802 is greyed");
}

TEST_F(WebDialogTest, TheFirstSizeChangePlacesOnlyTheBrowserAndLaterOnesEveryControl) {
    Register();
    RECT okAtStart{}, okAfter{}, statusAfter{}, addressAfter{}, labelAfter{}, goAfter{};
    RECT cancelAfter{}, browserAtStart{}, browserAfter{};
    CWebDialog web;
    auto browserRect = [&web] {
        return platform::GetPlatform().Windows().GetClientRect(web.GetBrowserWindow());
    };
    User().AnswerDialog(IDD_WEB_BROWSER,
                        {Action::OnDialog("start",
                                          [&](platform::LiveDialog& d) {
                                              okAtStart = d.GetControlRect(IDOK);
                                              browserAtStart = browserRect();
                                              return d.UserResize(700, 500);
                                          }),
                         Action::OnDialog("after",
                                          [&](platform::LiveDialog& d) {
                                              okAfter = d.GetControlRect(IDOK);
                                              cancelAfter = d.GetControlRect(IDCANCEL);
                                              statusAfter = d.GetControlRect(IDC_WEB_STATUS);
                                              addressAfter = d.GetControlRect(IDC_WEB_ADDRESS);
                                              labelAfter = d.GetControlRect(IDC_WEB_ADDRESS_LABEL);
                                              goAfter = d.GetControlRect(IDC_WEB_GO);
                                              browserAfter = browserRect();
                                              return std::string();
                                          }),
                         Action::Press(IDCANCEL)});
    web.m_strAddress = Page("a.html", "A");
    web.DoModal();
    const RECT templateOk =
        platform::DialogUnitsToPixels(FindDialogTemplate(IDD_WEB_BROWSER)->FindControl(IDOK)->rect);
    EXPECT_EQ(okAtStart, templateOk);
    const RECT client = platform::DialogUnitsToPixels(RECT{0, 0, 400, 250});
    EXPECT_EQ(browserAtStart, (RECT{0, 0, client.Width() - 5, client.Height() - 75}));
    EXPECT_EQ(cancelAfter, (RECT{635, 465, 695, 490}));
    EXPECT_EQ(okAfter, (RECT{570, 465, 630, 490}));
    EXPECT_EQ(statusAfter, (RECT{5, 465, 545, 490}));
    EXPECT_EQ(goAfter, (RECT{635, 430, 695, 455}));
    EXPECT_EQ(addressAfter, (RECT{55, 430, 620, 455}));
    EXPECT_EQ(labelAfter, (RECT{5, 430, 50, 455}));
    EXPECT_EQ(browserAfter, (RECT{0, 0, 695, 425}));
}

TEST_F(WebDialogTest, PrintGoesThroughThePrintDialog) {
    Register();
    std::vector<std::string> effects;
    platform::SetEffectListener([&](const std::string& line) { effects.push_back(line); });
    const std::string pdf = (TempDir() / "page.pdf").string();
    User().AnswerDialog(IDD_WEB_BROWSER,
                        {Menu(ID_WEB_PRINT), Menu(ID_WEB_PRINT), Action::Press(IDCANCEL)});
    User().AnswerPrintDialog(true, pdf);
    User().AnswerPrintDialog(false);
    CWebDialog web;
    web.m_strAddress = Page("a.html", "A");
    web.DoModal();
    platform::SetEffectListener({});
    ASSERT_EQ(effects.size(), 2u);
    EXPECT_EQ(effects[1], "browser: print \"" + web.m_strAddress + "\" to \"" + pdf +
                              "\" (not laid out without a desktop)");
}

TEST_F(WebDialogTest, WithoutTheComponentTheDialogSaysSoAndDoesNotOpen) {
    User().AnswerMessageBox(platform::MessageAnswer::Ok, CWebDialog::kNoBrowser);
    CWebDialog web;
    EXPECT_EQ(web.DoModal(), -1);
}

TEST_F(WebDialogTest, InternetOnInsertObjectTakesTheAddressAndTheTitleCutTo30Characters) {
    Register();
    const std::string title = "A page whose title runs to forty-five letters";
    ASSERT_EQ(title.size(), 45u);
    const std::string page = Page("long.html", title);
    std::vector<std::string> seen;
    // An address typed on the tab is where the browser starts; anything else starts at home,
    // and Cancel there leaves the tab as it was.
    std::string afterCancel;
    User().AnswerDialog(
        IDD_INSERT_OBJECT,
        {Action::Set(IDC_FILE_NAME, "notes.txt"), Action::Press(IDC_INTERNET),
         Action::OnDialog("tab",
                          [&](platform::LiveDialog& d) {
                              afterCancel =
                                  d.GetText(IDC_FILE_NAME) + " | " + d.GetText(IDC_DISPLAY_NAME);
                              return std::string();
                          }),
         Action::Set(IDC_FILE_NAME, page), Action::Press(IDC_INTERNET), Action::Press(IDOK)});
    User().AnswerDialog(IDD_WEB_BROWSER, {Look(seen), Action::Press(IDCANCEL)});
    User().AnswerDialog(IDD_WEB_BROWSER, {Look(seen), Action::Press(IDOK)});
    CInsertObjectDlg insert;
    ASSERT_EQ(insert.DoModal(), IDOK);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_NE(seen[0].find("Orbel start page"), std::string::npos);
    EXPECT_EQ(afterCancel, "notes.txt | ");
    EXPECT_EQ(seen[1], page + " | " + title + " |  | back=grey forward=grey");
    EXPECT_EQ(insert.m_fileName, page);
    EXPECT_EQ(insert.m_displayName, title.substr(0, 30));
}

TEST_F(WebDialogTest, AnAddressBeginningWithWwwReachesTheBrowserAsTyped) {
    Register();
    std::vector<std::string> effects;
    platform::SetEffectListener([&](const std::string& line) { effects.push_back(line); });
    User().AnswerDialog(IDD_INSERT_OBJECT, {Action::Set(IDC_FILE_NAME, "www.example.com/a"),
                                            Action::Press(IDC_INTERNET), Action::Press(IDCANCEL)});
    User().AnswerDialog(IDD_WEB_BROWSER, {Action::Press(IDCANCEL)});
    CInsertObjectDlg insert;
    insert.DoModal();
    platform::SetEffectListener({});
    ASSERT_EQ(effects.size(), 1u);
    EXPECT_TRUE(effects[0].starts_with("browser: cannot open \"http://www.example.com/a\""))
        << effects[0];
}

}  // namespace
}  // namespace orbel
