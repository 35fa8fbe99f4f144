// The print administrator on both backends: the print dialog comes through the modal funnel,
// and a print puts one sheet per page of the range asked for (or of the whole file) into the
// PDF file the person chose; a cancelled dialog prints nothing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/EffectLog.h"
#include "platform/automation/ComRuntime.h"
#include "platform/framework/Wnd.h"
#include "src/preview/ImgAdmin.h"
#include "tests/conformance/Backends.h"
#include "tests/imaging/TestImages.h"
#include "tests/support/HeadlessTest.h"

namespace orbel::test {
namespace {

template <class Backend>
class PrintConformanceTest : public ConformanceTest<Backend> {
  protected:
    void SetUp() override {
        dir_ = MakeTempDir("print-conformance");
        setenv("ORBEL_REGISTRY", (dir_ / "registry.reg").c_str(), 1);
        ConformanceTest<Backend>::SetUp();
        ASSERT_EQ(RegisterModule(ORBEL_IMAGING_MODULE_PATH), S_OK);
        ASSERT_TRUE(form_.Create("HostForm", "", WS_VISIBLE, RECT{0, 0, 300, 200}, kNoWindow, 0));
        ASSERT_TRUE(
            admin_.Create("Image", WS_CHILD, RECT{0, 0, 300, 200}, form_.GetSafeHwnd(), 106));
        ASSERT_TRUE(WriteBilevelTiff(File("letter.tif"), 3, 850, 1100));
        admin_.SetImage(File("letter.tif"));
        platform::SetEffectListener([this](const std::string& line) { effects_.push_back(line); });
    }
    void TearDown() override {
        platform::SetEffectListener({});
        admin_.DestroyWindow();
        form_.DestroyWindow();
        ConformanceTest<Backend>::TearDown();
        std::filesystem::remove_all(dir_);
    }
    std::string File(const std::string& name) const { return (dir_ / name).string(); }
    long Owner() { return static_cast<long>(form_.GetSafeHwnd().value); }
    // The sheets in the PDF file, where the desktop prints; without a desktop nothing is
    // written and the count is the one the administrator reports.
    void ExpectSheets(const std::string& pdf, int sheets) {
        if (!this->IsQt()) {
            EXPECT_FALSE(std::filesystem::exists(pdf));
            return;
        }
        const int pages = PdfPageCount(pdf);
        if (pages < 0) GTEST_SKIP() << "pdfinfo (poppler-utils) is not installed";
        EXPECT_EQ(pages, sheets) << pdf;
    }

    std::filesystem::path dir_;
    CWnd form_;
    CImgAdmin admin_;
    std::vector<std::string> effects_;
};

TYPED_TEST_SUITE(PrintConformanceTest, Backends, BackendNames);

TYPED_TEST(PrintConformanceTest, ARangeOrTheWholeFileIsPrintedWhereTheDialogSaid) {
    const std::string range = this->File("range.pdf"), whole = this->File("whole.pdf");
    this->User().AnswerPrintDialog(true, range);
    this->admin_.ShowPrintDialog(this->Owner());
    // A range that runs past the file's end prints the pages that are there.
    this->admin_.PrintImage(2, 9);
    this->User().AnswerPrintDialog(true, whole);
    this->admin_.ShowPrintDialog(this->Owner());
    this->admin_.PrintImage();
    const std::string letter = QuoteString(this->File("letter.tif"));
    EXPECT_EQ(this->User().Transcript(),
              (std::vector<std::string>{
                  "printdialog " + letter + " pages=3 -> OK to " + QuoteString(range),
                  "printdialog " + letter + " pages=3 -> OK to " + QuoteString(whole)}));
    EXPECT_EQ(this->effects_, (std::vector<std::string>{"print " + letter + " pages 2-3",
                                                        "print " + letter + " pages 1-3"}));
    this->ExpectSheets(range, 2);
    this->ExpectSheets(whole, 3);
}

TYPED_TEST(PrintConformanceTest, ACancelledDialogPrintsNothing) {
    this->User().AnswerPrintDialog(false);
    this->admin_.ShowPrintDialog(this->Owner());
    this->admin_.PrintImage(1, 2);
    EXPECT_TRUE(this->effects_.empty());
    EXPECT_EQ(this->User().Transcript().back(),
              "printdialog " + QuoteString(this->File("letter.tif")) + " pages=3 -> CANCEL");
    EXPECT_TRUE(std::filesystem::is_empty(this->dir_ / "") ||
                !std::filesystem::exists(this->File("range.pdf")));
}

TYPED_TEST(PrintConformanceTest, AFileThatCannotBeReadIsToldAndNotPrinted) {
    this->admin_.SetImage(this->File("gone.tif"));
    this->User().AnswerPrintDialog(true, this->File("gone.pdf"));
    this->admin_.ShowPrintDialog(this->Owner());
    this->admin_.PrintImage();
    ASSERT_EQ(this->effects_.size(), 1u);
    EXPECT_EQ(
        this->effects_[0].rfind("print " + QuoteString(this->File("gone.tif")) + " failed: ", 0),
        0u)
        << this->effects_[0];
    EXPECT_FALSE(std::filesystem::exists(this->File("gone.pdf")));
}

}  // namespace
}  // namespace orbel::test
