// The demo as a routing host on the headless platform: the sample store's routing sheet is
// routed through the demo's own dialogs, the batch run mails the attached document to the
// target tree's subscribers breadth-first, and a compose window is asked for only when the
// user switched it on, and never for a receiver or a document that cannot be one.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "host/demo/ControlHost.h"
#include "host/demo/DemoRouting.h"
#include "host/demo/DemoStore.h"
#include "platform/Api.h"
#include "platform/framework/Wnd.h"
#include "platform/mail/RecordingMail.h"
#include "src/preview/FrameContainer.h"
#include "tests/support/HeadlessTest.h"

namespace orbel::demo {
namespace {

namespace fs = std::filesystem;
using Action = platform::ScriptedUser::DialogAction;
using Lines = std::vector<std::string>;

class DemoRoutingTest : public test::HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        samples_ = SampleDocumentsIn(ORBEL_DEMO_SAMPLES_DIR);
        host_ = std::make_unique<ControlHost>(P());
        routing_ = std::make_unique<DemoRouting>(
            P(), *host_, [this](const std::string& line) { log_.push_back(line); });
        host_->OnLog([this](const std::string& line) { log_.push_back(line); });
        host_->OnEvent([this](const host::UserEvent& e) { routing_->OnEvent(e); });
        form_ = std::make_unique<CWnd>();
        const RECT rect{0, 0, 900, 600};
        ASSERT_TRUE(form_->Create("DemoForm", "demo", WS_VISIBLE, rect, kNoWindow, 0));
        std::string error;
        ASSERT_TRUE(host_->Create(form_->GetSafeHwnd(), rect, ORBEL_MODULE_PATH, error)) << error;
        OpenedStore opened = OpenStoreFile(TempDir() / "demo.orbel", &samples_);
        ASSERT_TRUE(opened.store) << opened.error;
        ASSERT_TRUE(host_->AttachStore(std::move(opened.store), error)) << error;
    }
    void TearDown() override {
        host_.reset();
        routing_.reset();
        if (form_) form_->DestroyWindow();
        form_.reset();
        HeadlessTest::TearDown();
    }

    platform::RecordingMail& Mail() {
        return dynamic_cast<platform::RecordingMail&>(platform::MailService());
    }
    platform::HeadlessListControl& List() {
        return *P().CommonControls().List(
            platform::FindDescendant(P().Windows(), host_->ControlWindow(), "CViewList"));
    }
    Lines Rows() {
        Lines out;
        for (int r = 0; r < List().GetItemCount(); ++r) {
            std::string row;
            for (int c = 0; c < List().GetColumnCount(); ++c)
                row += (c ? " | " : "") + List().GetItemText(r, c);
            out.push_back(row);
        }
        return out;
    }
    int RowNamed(const std::string& name) {
        for (int r = 0; r < List().GetItemCount(); ++r)
            if (List().GetItemText(r, 0) == name) return r;
        ADD_FAILURE() << "no row " << name;
        return -1;
    }
    // The list's menu on the row, the menu item chosen, and then what `answers` queues for
    // the demo's dialog.
    void Route(const std::string& name, const char* menuItem,
               const std::function<void()>& answers) {
        const int row = RowNamed(name);
        List().UserClick(row);
        User().AnswerMenu(menuItem);
        answers();
        List().UserRightClick(row, POINT{});
        P().RunUntilIdle();
    }
    void AttachTo(const std::string& name, const std::string& tree, const std::string& ledger,
                  const std::string& account) {
        Route(name, "Attach To ", [&] {
            User().AnswerDialog(
                IDD_DEMO_ATTACH_TO,
                {Action::Choose(IDC_ROUTE_TREE, tree), Action::Set(IDC_ROUTE_LEDGER, ledger),
                 Action::Set(IDC_ROUTE_ACCOUNT, account), Action::Press(static_cast<UINT>(IDOK))});
        });
    }
    void EmailTo(const std::string& name, const std::string& address) {
        Route(name, "Email To ", [&] {
            User().AnswerDialog(IDD_DEMO_EMAIL_TO, {Action::Set(IDC_ROUTE_ADDRESS, address),
                                                    Action::Press(static_cast<UINT>(IDOK))});
        });
    }
    void RunBatch() {
        platform::HeadlessToolBarControl* bar = P().CommonControls().ToolBar(
            platform::FindDescendant(P().Windows(), host_->ControlWindow(), "ToolbarWindow32"));
        ASSERT_TRUE(bar);
        EXPECT_TRUE(bar->UserClick(ID_SEND_EMAIL_TO_SUBSCRIBERS));
        P().RunUntilIdle();
    }
    Lines LogLines(const std::string& prefix) {
        Lines out;
        for (const std::string& l : log_)
            if (l.starts_with(prefix)) out.push_back(l);
        return out;
    }

    SampleDocuments samples_;
    std::unique_ptr<CWnd> form_;
    std::unique_ptr<ControlHost> host_;
    std::unique_ptr<DemoRouting> routing_;
    Lines log_;
};

TEST_F(DemoRoutingTest, TheSheetIsRoutedThroughTheDialogsAndTheBatchMailsEverySubscriberOnce) {
    ASSERT_EQ(host_->OpenRoutingSheet(), kDemoRoutingSheetOleId);
    EXPECT_EQ(Rows(),
              (Lines{"Incoming invoice |  | ", "Incoming letter |  | ", "Incoming order |  | "}));
    routing_->SetComposeMail(true);

    AttachTo("Incoming invoice", "Accounts", "PAY01", "4711");
    EmailTo("Incoming letter", "boss@example.org");
    EXPECT_EQ(LogLines("call ProcessTarnMessage"),
              (Lines{"call ProcessTarnMessage(\"j\") -> TRUE",
                     "call ProcessTarnMessage(\"hPAY014711 00000006\") -> TRUE",
                     "call ProcessTarnMessage(\"h     boss@example.org 00000000\") -> TRUE"}));
    EXPECT_EQ(Rows(), (Lines{"Incoming invoice | PAY014711 | ",
                             "Incoming letter |  | boss@example.org", "Incoming order |  | "}));

    RunBatch();
    EXPECT_EQ(Rows(), (Lines{"Incoming invoice | PAY014711 [ Processed ] | ",
                             "Incoming letter |  | [ Processed ]", "Incoming order |  | "}));
    // The invoice went into the tree Accounts, and out to its subscribers: the one at the top
    // before the one in the group.
    std::vector<std::string> attached;
    host_->Store()->ExecuteSql(
        "SELECT Name FROM OLE_TREE WHERE OwnerId = 6 AND ParentOwnerId = 0",
        [&](std::span<const std::string> row) { attached.push_back(row[0]); });
    EXPECT_EQ(attached, Lines{"Incoming invoice"});
    const std::string tiff = samples_.tiff.string();
    const std::string letter = samples_.text.string();
    EXPECT_EQ(Mail().Lines(),
              (Lines{"mail to \"bob.ledger@example.org\" attach \"" + tiff + "\" -> 0",
                     "mail to \"ann.payable@example.org\" attach \"" + tiff + "\" -> 0",
                     "mail to \"boss@example.org\" attach \"" + letter + "\" -> 0"}));
    EXPECT_EQ(LogLines("send-email: ").size(), 3u);
}

TEST_F(DemoRoutingTest, TheDialogsAskAgainForWhatIsMissingAndCancelRepliesNothing) {
    ASSERT_EQ(host_->OpenRoutingSheet(), kDemoRoutingSheetOleId);
    // No tree chosen, then no ledger: each is asked for, and the dialog stays up.
    Route("Incoming order", "Attach To ", [&] {
        User().AnswerDialog(
            IDD_DEMO_ATTACH_TO,
            {Action::Set(IDC_ROUTE_LEDGER, "PAY01"), Action::Press(static_cast<UINT>(IDOK)),
             Action::Choose(IDC_ROUTE_TREE, "Demo documents"), Action::Set(IDC_ROUTE_LEDGER, ""),
             Action::Press(static_cast<UINT>(IDOK)), Action::Set(IDC_ROUTE_LEDGER, "GEN"),
             Action::Press(static_cast<UINT>(IDOK))});
        User().AnswerMessageBox(platform::MessageAnswer::Ok, "Please choose the tree");
        User().AnswerMessageBox(platform::MessageAnswer::Ok, "Please enter the ledger.");
    });
    EXPECT_EQ(List().GetItemText(RowNamed("Incoming order"), 1), "GEN");

    // An address must be one address.
    Route("Incoming order", "Email To ", [&] {
        User().AnswerDialog(IDD_DEMO_EMAIL_TO,
                            {Action::Set(IDC_ROUTE_ADDRESS, "boss@example.org, -x@y"),
                             Action::Press(static_cast<UINT>(IDOK)), Action::Close()});
        User().AnswerMessageBox(platform::MessageAnswer::Ok, "Please enter one e-mail address");
    });
    EXPECT_EQ(List().GetItemText(RowNamed("Incoming order"), 2), "");
    EXPECT_EQ(LogLines("attach-or-email: "), Lines{"attach-or-email: EMAIL cancelled; no reply"});
}

TEST_F(DemoRoutingTest, WithoutTheOptionSendEmailIsLoggedAndNothingIsComposed) {
    ASSERT_EQ(host_->OpenRoutingSheet(), kDemoRoutingSheetOleId);
    AttachTo("Incoming order", "Demo documents", "GEN", "1");
    RunBatch();
    // The item's own subscriber is told, in the log alone.
    EXPECT_EQ(LogLines("send-email: "),
              Lines{"send-email: \"mary.clerk@example.org\" \"" + samples_.xml.string() +
                    "\" logged only (composing mail is off in the Options menu)"});
    EXPECT_TRUE(Mail().Lines().empty());
}

TEST_F(DemoRoutingTest, AReceiverOrDocumentThatCannotBeMailedIsRefusedInTheLog) {
    routing_->SetComposeMail(true);
    const std::string letter = samples_.text.string();
    auto send = [&](const std::string& receiver, const std::string& message) {
        routing_->OnEvent(host::UserEvent{"SendEmail", {receiver, message, "", "", "h"}});
        P().RunUntilIdle();
    };
    send("--help", letter);
    send("two words@example.org", letter);
    send("boss@example.org", (TempDir() / "gone.txt").string());
    EXPECT_TRUE(Mail().Lines().empty());
    // A link's place after "!" is not part of the file.
    send("boss@example.org", letter + "!Sheet1!B2");
    EXPECT_EQ(Mail().Lines(), Lines{"mail to \"boss@example.org\" attach \"" + letter + "\" -> 0"});
    const Lines refused = LogLines("send-email: not composed: ");
    ASSERT_EQ(refused.size(), 3u);
    EXPECT_NE(refused[0].find("\"--help\" is not one e-mail address"), std::string::npos);
    EXPECT_NE(refused[2].find("is not a file on this machine"), std::string::npos);
}

}  // namespace
}  // namespace orbel::demo
