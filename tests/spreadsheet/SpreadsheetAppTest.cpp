// The spreadsheet application component over real workbook files, made through the registry by
// its ProgID as the cell link makes it: the sheets are the file's, a selection made at the
// program reaches an advised sink as SheetSelectionChange, and the program's errors carry its
// code and description.
#include <gtest/gtest.h>

#include <fstream>

#include "platform/automation/ActiveObjects.h"
#include "platform/automation/ComRuntime.h"
#include "platform/spreadsheet/SpreadsheetIds.h"
#include "platform/spreadsheet/WorkbookFile.h"
#include "tests/spreadsheet/TestWorkbooks.h"
#include "tests/support/HeadlessTest.h"

namespace orbel {
namespace {

namespace ids = spreadsheet;

class SpreadsheetAppTest : public test::HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        std::string error;
        ASSERT_EQ(RegisterModule(ORBEL_SPREADSHEET_MODULE_PATH, &error), S_OK) << error;
        std::shared_ptr<IUnknown> object;
        ASSERT_EQ(CreateObject(ids::kProgId, object), S_OK);
        app = std::dynamic_pointer_cast<IDispatch>(object);
        ASSERT_TRUE(app);
    }

    Variant Get(IDispatch& object, DISPID id) {
        Variant v;
        EXPECT_EQ(object.Invoke(id, InvokeKind::PropertyGet, {}, &v), S_OK) << id;
        return v;
    }
    HRESULT Open(const std::string& path, std::shared_ptr<IDispatch>* book = nullptr) {
        std::vector<Variant> args{Variant(path)};
        args.resize(ids::workbooks::kOpenArgCount, Variant::Missing());
        Variant result;
        const HRESULT hr = Get(*app, ids::app::kWorkbooks)
                               .Dispatch()
                               ->Invoke(ids::workbooks::kOpen, InvokeKind::Method, args, &result);
        if (book && hr == S_OK) *book = result.Dispatch();
        return hr;
    }
    HRESULT Pick(const std::string& sheet, std::int32_t column, std::int32_t row) {
        const Variant args[] = {Variant(sheet), Variant(column), Variant(row)};
        return app->Invoke(ids::app::kUserSelect, InvokeKind::Method, args, nullptr);
    }
    std::string Dump() { return Get(*app, ids::app::kDump).BStr(); }

    std::shared_ptr<IDispatch> app;
};

TEST_F(SpreadsheetAppTest, SheetNamesComeFromXlsAndOdsFiles) {
    const std::string xls = (TempDir() / "Book.xls").string();
    std::string why;
    if (!test::MakeXls(xls, {"Sheet1", "Totals & more"}, why)) GTEST_SKIP() << why;
    const std::string ods = (TempDir() / "Book.ods").string();
    test::MakeOds(ods, {"First", "Totals & more"});

    std::vector<std::string> names;
    ASSERT_TRUE(ids::ReadSheetNames(xls, names, why)) << why;
    EXPECT_EQ(names, (std::vector<std::string>{"Sheet1", "Totals & more"}));
    ASSERT_TRUE(ids::ReadSheetNames(ods, names, why)) << why;
    EXPECT_EQ(names, (std::vector<std::string>{"First", "Totals & more"}));

    // A file that is none, and a text file named like a workbook.
    EXPECT_FALSE(ids::ReadSheetNames((TempDir() / "none.xls").string(), names, why));
    EXPECT_EQ(why, "no such file");
    const std::string fake = (TempDir() / "fake.ods").string();
    std::ofstream(fake) << "not a zip";
    EXPECT_FALSE(ids::ReadSheetNames(fake, names, why));
    EXPECT_EQ(why, "not a workbook");
}

TEST_F(SpreadsheetAppTest, SelectionAtTheProgramReachesTheAdvisedSinkAndSelection) {
    const std::string ods = (TempDir() / "Book.ods").string();
    test::MakeOds(ods, {"Sheet1", "Totals"});
    ASSERT_EQ(Open(ods), S_OK);
    EXPECT_EQ(GetActiveObject(ids::kProgId), app);

    auto container = std::dynamic_pointer_cast<IConnectionPointContainer>(app);
    ASSERT_TRUE(container);
    EXPECT_FALSE(
        container->FindConnectionPoint(*Guid::Parse("{00020400-0000-0000-C000-000000000046}")));
    auto point = container->FindConnectionPoint(*Guid::Parse(ids::kAppEventsIidText));
    ASSERT_TRUE(point);
    auto sink = std::make_shared<test::EventRecorder>(std::map<DISPID, std::string>{
        {ids::events::kSheetSelectionChange, "SheetSelectionChange"}});
    std::string seen;
    sink->OnEvent([&](DISPID, std::span<const Variant> args) {
        ASSERT_EQ(args.size(), 2u);
        auto range = args[1].Dispatch();
        seen = Get(*Get(*range, ids::range::kWorksheet).Dispatch(), ids::worksheet::kName).BStr() +
               " " + std::to_string(Get(*range, ids::range::kColumn).I4()) + " " +
               std::to_string(Get(*range, ids::range::kRow).I4());
    });
    DWORD cookie = 0;
    ASSERT_EQ(point->Advise(sink, cookie), S_OK);

    ASSERT_EQ(Pick("Totals", 27, 1), S_OK);
    EXPECT_EQ(seen, "Totals 27 1");
    auto selection = Get(*app, ids::app::kSelection).Dispatch();
    EXPECT_EQ(Get(*selection, ids::range::kColumn).I4(), 27);
    EXPECT_EQ(Dump(), "workbook=\"" + ods +
                          "\" sheets=\"Sheet1\",\"Totals\" selection=\"Totals\":27:1 "
                          "visible=FALSE sinks=1");

    // No such sheet or cell: refused with the program's own error, and nothing is raised.
    seen.clear();
    EXPECT_EQ(Pick("Nope", 1, 1), DISP_E_EXCEPTION);
    EXPECT_EQ(Pick("Sheet1", 0, 1), DISP_E_EXCEPTION);
    EXPECT_EQ(seen, "");

    ASSERT_EQ(point->Unadvise(cookie), S_OK);
    EXPECT_EQ(point->Unadvise(cookie), E_INVALIDARG);
    ASSERT_EQ(Pick("Sheet1", 2, 3), S_OK);
    EXPECT_EQ(seen, "");
    ASSERT_EQ(app->Invoke(ids::app::kQuit, InvokeKind::Method, {}, nullptr), S_OK);
    EXPECT_EQ(Dump(), "workbook=none visible=FALSE sinks=0 quit");
}

TEST_F(SpreadsheetAppTest, OpeningRefusesWhatTheProgramWould) {
    const std::string missing = (TempDir() / "Missing.xls").string();
    EXPECT_EQ(Open(missing), DISP_E_EXCEPTION);
    const ExcepInfo info = std::dynamic_pointer_cast<IExcepInfoSource>(app)->TakeExcepInfo();
    EXPECT_EQ(info.scode, ids::kAppError);
    EXPECT_EQ(info.description, "'" + missing + "' could not be opened: no such file.");
    // Nothing open: no selection either.
    Variant v;
    EXPECT_EQ(app->Invoke(ids::app::kSelection, InvokeKind::PropertyGet, {}, &v), DISP_E_EXCEPTION);

    // The twelve arguments after the file name are omitted, all of them.
    const std::string ods = (TempDir() / "Book.ods").string();
    test::MakeOds(ods, {"Sheet1"});
    std::vector<Variant> args{Variant(ods), Variant(true)};
    args.resize(ids::workbooks::kOpenArgCount, Variant::Missing());
    auto books = Get(*app, ids::app::kWorkbooks).Dispatch();
    EXPECT_EQ(books->Invoke(ids::workbooks::kOpen, InvokeKind::Method, args, &v),
              DISP_E_TYPEMISMATCH);
    args.pop_back();
    args[1] = Variant::Missing();
    EXPECT_EQ(books->Invoke(ids::workbooks::kOpen, InvokeKind::Method, args, &v),
              DISP_E_BADPARAMCOUNT);
}

}  // namespace
}  // namespace orbel
