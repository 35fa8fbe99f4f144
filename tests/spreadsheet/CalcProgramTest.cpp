// The spreadsheet application on LibreOffice Calc where it differs from the workbook model:
// without the office the cell link says it could not start and takes a typed cell; an office
// that goes away under it makes its calls fail with a status; and every office it started is
// gone once the application is.
#include <gtest/gtest.h>
#include <signal.h>

#include <cstdlib>
#include <fstream>

#include "platform/Api.h"
#include "platform/automation/ActiveObjects.h"
#include "platform/automation/ComRuntime.h"
#include "platform/framework/Wnd.h"
#include "platform/spreadsheet/SpreadsheetIds.h"
#include "src/resources/DialogTemplates.h"
#include "tests/spreadsheet/CalcOffice.h"
#include "tests/spreadsheet/CellLinkUser.h"
#include "tests/spreadsheet/TestWorkbooks.h"
#include "tests/support/HeadlessTest.h"

namespace orbel {
namespace {

namespace ids = spreadsheet;
using Action = platform::ScriptedUser::DialogAction;

class CalcProgramTest : public test::HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        if (!*ORBEL_SPREADSHEET_CALC_MODULE_PATH) GTEST_SKIP() << "the calc module is not built";
        if (const std::string why = test::PrepareCalc(); !why.empty()) GTEST_SKIP() << why;
        unsetenv("DISPLAY");
        std::string error;
        ASSERT_EQ(RegisterModule(ORBEL_SPREADSHEET_CALC_MODULE_PATH, &error), S_OK) << error;
    }
    void TearDown() override {
        unsetenv("ORBEL_SOFFICE");
        HeadlessTest::TearDown();
    }

    CWnd control;
};

TEST_F(CalcProgramTest, WithoutTheOfficeTheStartFailsAndATypedCellIsStored) {
    setenv("ORBEL_SOFFICE", (TempDir() / "no-soffice").c_str(), 1);
    User().AnswerDialog(IDD_CELL_LINK,
                        {Action::Press(IDC_CHOOSE_CELL), Action::Set(IDC_CELL_NAME, "Totals!B7"),
                         Action::Press(IDOK)});
    User().AnswerMessageBox(platform::MessageAnswer::Ok, "Couldn't CreateDispatch on Excel");
    EXPECT_EQ(test::LinkCell(control, "/srv/Book.xls"), "/srv/Book.xls!Totals!B7");
    EXPECT_EQ(GetActiveObject(ids::kProgId), nullptr);
}

TEST_F(CalcProgramTest, WhatTheOfficeCannotOpenIsItsErrorWithADescription) {
    const std::string missing = (TempDir() / "Missing.xls").string();
    User().AnswerDialog(IDD_CELL_LINK, {Action::Press(IDC_CHOOSE_CELL), Action::Press(IDOK)});
    User().AnswerMessageBox(platform::MessageAnswer::Ok,
                            "COleDispatchException. SCODE: 800a03ec,Description: \"'" + missing +
                                "' could not be opened: no such file.\".");
    EXPECT_EQ(test::LinkCell(control, missing + "!C3"), missing + "!C3");
    EXPECT_EQ(GetActiveObject(ids::kProgId), nullptr);

    // The office opens a text file as a text document, which has no cells.
    const std::string text = (TempDir() / "Notes.txt").string();
    std::ofstream(text) << "no cells here\n";
    User().AnswerDialog(IDD_CELL_LINK, {Action::Press(IDC_CHOOSE_CELL), Action::Press(IDOK)});
    User().AnswerMessageBox(platform::MessageAnswer::Ok,
                            "COleDispatchException. SCODE: 800a03ec,Description: \"'" + text +
                                "' could not be opened: not a workbook.\".");
    EXPECT_EQ(test::LinkCell(control, text), text);
    EXPECT_EQ(test::OfficesLeft(), 0);
}

TEST_F(CalcProgramTest, KeysTypedIntoTheCalcWindowMoveTheCellNameInTheDialog) {
    test::OwnDisplay display;
    if (display.Name().empty()) GTEST_SKIP() << display.Why();
    setenv("DISPLAY", display.Name().c_str(), 1);
    std::string why;
    const std::string xls = (TempDir() / "Keys.xls").string();
    if (!test::MakeXls(xls, {"Sheet1", "Totals"}, why)) GTEST_SKIP() << why;
    // The person moves the cell cursor from A1 two to the right and two down, in the office's
    // own window: the selection comes back on the connection's thread, and the dialog has it
    // once the loop has run.
    auto typeInCalc = [this] {
        if (!test::RunProgram({"/usr/bin/xdotool", "search", "--sync", "--name", "Keys",
                               "windowfocus", "--sync", "%1", "key", "--delay", "100", "Right",
                               "Right", "Down", "Down"}))
            return std::string("xdotool failed");
        for (int i = 0; i < 500; ++i) {
            P().RunUntilIdle();
            if (test::SpreadsheetState().find("selection=\"Sheet1\":3:3") != std::string::npos)
                return std::string();
            usleep(10000);
        }
        return "the selection did not come: " + test::SpreadsheetState();
    };
    User().AnswerDialog(IDD_CELL_LINK,
                        {Action::Press(IDC_CHOOSE_CELL),
                         Action::Elsewhere("type into Calc", typeInCalc), Action::Press(IDOK)});
    EXPECT_EQ(test::LinkCell(control, xls), xls + "!Sheet1!$C$3");
    EXPECT_EQ(test::OfficesLeft(), 0);
    unsetenv("DISPLAY");
}

TEST_F(CalcProgramTest, AnOfficeThatWentAwayAnswersWithAStatusAndIsNotLeftBehind) {
    const std::string ods = (TempDir() / "Book.ods").string();
    test::MakeOds(ods, {"Sheet1", "Totals"});
    std::string why;
    User().AnswerDialog(
        IDD_CELL_LINK,
        {Action::Press(IDC_CHOOSE_CELL),
         Action::Elsewhere("end the office",
                           [] {
                               // The office's launcher leads its process group.
                               return test::KillOffices() ? std::string() : "no office";
                           }),
         Action::Elsewhere("pick",
                           [&] {
                               auto app = GetActiveObject(ids::kProgId);
                               const Variant args[] = {Variant("Totals"), Variant(2), Variant(2)};
                               const HRESULT hr = app->Invoke(ids::app::kUserSelect,
                                                              InvokeKind::Method, args, nullptr);
                               why = std::to_string(hr);
                               return std::string();
                           }),
         Action::Press(IDOK)});
    EXPECT_EQ(test::LinkCell(control, ods), ods);
    const HRESULT hr = static_cast<HRESULT>(std::stol(why));
    // The status of an object that has left its clients, shown as "COleException. SCODE:".
    EXPECT_EQ(static_cast<std::uint32_t>(hr), 0x80010108u);
    EXPECT_EQ(GetActiveObject(ids::kProgId), nullptr);
    EXPECT_EQ(test::OfficesLeft(), 0);
}

}  // namespace
}  // namespace orbel
