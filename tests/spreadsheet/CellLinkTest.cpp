// "Link Field to Excel Cell": what the user types or chooses in the spreadsheet becomes the
// stored link; Cancel stores nothing; the program is quit and unadvised whichever way the
// dialog ends; its failures are shown with the written messages and leave the dialog usable.
#include <gtest/gtest.h>

#include "platform/automation/ActiveObjects.h"
#include "platform/automation/ComRuntime.h"
#include "platform/framework/Wnd.h"
#include "platform/spreadsheet/SpreadsheetIds.h"
#include "src/dialogs/CellLinkDlg.h"
#include "src/resources/DialogTemplates.h"
#include "tests/spreadsheet/CellLinkUser.h"
#include "tests/spreadsheet/TestWorkbooks.h"
#include "tests/support/HeadlessTest.h"

namespace orbel {
namespace {

namespace ids = spreadsheet;
using Action = platform::ScriptedUser::DialogAction;
using test::LookAtSpreadsheet;
using test::PickCell;

class CellLinkTest : public test::HeadlessTest {
  protected:
    void Register() {
        std::string error;
        ASSERT_EQ(RegisterModule(ORBEL_SPREADSHEET_MODULE_PATH, &error), S_OK) << error;
    }
    std::string Link(const std::string& stored) { return test::LinkCell(control, stored); }

    CWnd control;
};

TEST_F(CellLinkTest, TypedCellStoredBehindTheWorkbookAndCancelStoresNothing) {
    User().AnswerDialog(IDD_CELL_LINK,
                        {Action::Set(IDC_CELL_NAME, "Totals!B2"), Action::Press(IDOK)});
    EXPECT_EQ(Link("/srv/Book.xls"), "/srv/Book.xls!Totals!B2");
    // The stored cell comes back into the field: OK alone keeps it; emptied, no "!" is left.
    User().AnswerDialog(IDD_CELL_LINK, {Action::Press(IDOK)});
    EXPECT_EQ(Link("C:\\Data\\Book.xls!Totals"), "C:\\Data\\Book.xls!Totals");
    User().AnswerDialog(IDD_CELL_LINK, {Action::Set(IDC_CELL_NAME, ""), Action::Press(IDOK)});
    EXPECT_EQ(Link("C:\\Data\\Book.xls!Totals"), "C:\\Data\\Book.xls");
    User().AnswerDialog(IDD_CELL_LINK, {Action::Set(IDC_CELL_NAME, "A1"), Action::Press(IDCANCEL)});
    EXPECT_EQ(Link("C:\\Data\\Book.xls!Totals"), "(nothing)");
}

TEST_F(CellLinkTest, ChosenCellFillsTheNameAndTheProgramIsQuitAndUnadvised) {
    Register();
    const std::string ods = (TempDir() / "Book.ods").string();
    test::MakeOds(ods, {"Sheet1", "Totals"});
    std::string during;
    User().AnswerDialog(
        IDD_CELL_LINK, {Action::Press(IDC_CHOOSE_CELL), PickCell("Sheet1", 26, 5),
                        LookAtSpreadsheet(during), PickCell("Totals", 27, 1), Action::Press(IDOK)});
    EXPECT_EQ(Link(ods + "!Old"), ods + "!Totals!$AA$1");
    EXPECT_EQ(during, "workbook=\"" + ods +
                          "\" sheets=\"Sheet1\",\"Totals\" selection=\"Sheet1\":26:5 "
                          "visible=TRUE sinks=1");
    EXPECT_EQ(GetActiveObject(ids::kProgId), nullptr) << "the dialog let the program go";

    // Cancel quits it as well, and the chosen cell is not stored.
    User().AnswerDialog(IDD_CELL_LINK, {Action::Press(IDC_CHOOSE_CELL), PickCell("Sheet1", 1, 1),
                                        LookAtSpreadsheet(during), Action::Press(IDCANCEL)});
    EXPECT_EQ(Link(ods), "(nothing)");
    EXPECT_NE(during, "not running");
    EXPECT_EQ(GetActiveObject(ids::kProgId), nullptr);
}

TEST_F(CellLinkTest, FailuresShowTheWrittenMessagesAndLeaveTheFieldUsable) {
    // Not registered: the start fails, and the typed cell is still stored. What the dialog opens
    // is answered after the dialog's own answer.
    User().AnswerDialog(IDD_CELL_LINK, {Action::Press(IDC_CHOOSE_CELL),
                                        Action::Set(IDC_CELL_NAME, "B7"), Action::Press(IDOK)});
    User().AnswerMessageBox(platform::MessageAnswer::Ok, "Couldn't CreateDispatch on Excel");
    EXPECT_EQ(Link("/srv/Book.xls"), "/srv/Book.xls!B7");

    Register();
    const std::string missing = (TempDir() / "Missing.xls").string();
    User().AnswerDialog(IDD_CELL_LINK, {Action::Press(IDC_CHOOSE_CELL), Action::Press(IDOK)});
    User().AnswerMessageBox(platform::MessageAnswer::Ok,
                            "COleDispatchException. SCODE: 800a03ec,Description: \"'" + missing +
                                "' could not be opened: no such file.\".");
    EXPECT_EQ(Link(missing + "!C3"), missing + "!C3");
    EXPECT_EQ(GetActiveObject(ids::kProgId), nullptr);
    EXPECT_EQ(Boxes().size(), 2u);
}

TEST_F(CellLinkTest, SinkAnswersEveryEventAndOnlyItsTwoInterfaces) {
    auto sink = CellLinkEventSink();
    for (DISPID id = 1554; id <= 1575; ++id)
        EXPECT_EQ(sink->Invoke(id, InvokeKind::Method, {}, nullptr), S_OK) << id;
    EXPECT_EQ(sink->Invoke(99999, InvokeKind::Method, {}, nullptr), S_OK);
    DISPID id = 0;
    EXPECT_EQ(sink->GetIDsOfNames("SheetSelectionChange", id), E_NOTIMPL);
    EXPECT_FALSE(std::dynamic_pointer_cast<IConnectionPointContainer>(sink));
    EXPECT_EQ(CellLinkEventSink().get(), sink.get()) << "one sink for the process";
}

}  // namespace
}  // namespace orbel
