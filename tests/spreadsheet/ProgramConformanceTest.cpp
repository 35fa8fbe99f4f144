// The cell link over each program the spreadsheet application runs on, against the same .xls
// and .ods files: the workbook opens with the file's sheets, a cell the person selects in the
// program reaches the dialog's cell name, and OK quits the program, leaving no process behind.
#include <gtest/gtest.h>

#include <cstdlib>

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

struct Program {
    const char* name;
    const char* module;  // empty when not built here
};

class ProgramConformanceTest : public test::HeadlessTest,
                               public ::testing::WithParamInterface<Program> {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        const Program& program = GetParam();
        if (!*program.module) GTEST_SKIP() << "the " << program.name << " module is not built";
        if (std::string(program.name) == "calc") {
            if (const std::string why = test::PrepareCalc(); !why.empty()) GTEST_SKIP() << why;
            // No window: the office runs headless.
            unsetenv("DISPLAY");
        }
        std::string error;
        ASSERT_EQ(RegisterModule(program.module, &error), S_OK) << error;
    }

    CWnd control;
};

TEST_P(ProgramConformanceTest, WorkbookOpensSelectionReachesTheDialogAndQuitEndsIt) {
    std::string why;
    const std::string xls = (TempDir() / "Book.xls").string();
    if (!test::MakeXls(xls, {"Sheet1", "Totals"}, why)) GTEST_SKIP() << why;
    const std::string ods = (TempDir() / "Book.ods").string();
    test::MakeOds(ods, {"Sheet1", "Totals"});

    for (const std::string& book : {xls, ods}) {
        SCOPED_TRACE(book);
        std::string opened, chosen;
        User().AnswerDialog(IDD_CELL_LINK,
                            {Action::Press(IDC_CHOOSE_CELL), test::LookAtSpreadsheet(opened),
                             test::PickCell("Totals", 27, 1), test::LookAtSpreadsheet(chosen),
                             Action::Press(IDOK)});
        EXPECT_EQ(test::LinkCell(control, book + "!Old"), book + "!Totals!$AA$1");
        const std::string workbook = "workbook=\"" + book + "\" sheets=\"Sheet1\",\"Totals\" ";
        EXPECT_EQ(opened, workbook + "selection=\"Sheet1\":1:1 visible=TRUE sinks=1");
        EXPECT_EQ(chosen, workbook + "selection=\"Totals\":27:1 visible=TRUE sinks=1");
        EXPECT_EQ(GetActiveObject(ids::kProgId), nullptr);
        EXPECT_EQ(test::OfficesLeft(), 0);
        EXPECT_TRUE(Boxes().empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Programs, ProgramConformanceTest,
                         ::testing::Values(Program{"file", ORBEL_SPREADSHEET_MODULE_PATH},
                                           Program{"calc", ORBEL_SPREADSHEET_CALC_MODULE_PATH}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace orbel
