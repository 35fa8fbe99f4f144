// The demo's routing dialogs on both backends, worked by the user through their widgets: the
// trees are offered by name and the reply carries the chosen tree's number, a ledger longer
// than its five places cannot be typed, and Escape replies nothing.
#include "host/demo/DemoRouting.h"
#include "host/demo/DemoStore.h"
#include "platform/Api.h"
#include "tests/conformance/Backends.h"

namespace orbel::test {
namespace {

using Action = platform::ScriptedUser::DialogAction;
using namespace orbel::demo;

template <class B>
class RouteDialogConformance : public ConformanceTest<B> {};
TYPED_TEST_SUITE(RouteDialogConformance, Backends, BackendNames);

TYPED_TEST(RouteDialogConformance, TheChosenTreeAndTheTypedLedgerAndAccountMakeTheReply) {
    this->User().AnswerDialog(
        IDD_DEMO_ATTACH_TO,
        {Action::Choose(IDC_ROUTE_TREE, "Accounts"), Action::Set(IDC_ROUTE_LEDGER, "PAYABLES"),
         Action::Set(IDC_ROUTE_ACCOUNT, "4711"), Action::Press(static_cast<UINT>(IDOK))});
    EXPECT_EQ(AskRoute("ATTACH", DemoRoutingTrees(), kNoWindow),
              "hPAYAB4711 0000000" + std::to_string(kDemoAccountsOleId));

    this->User().AnswerDialog(IDD_DEMO_ATTACH_TO, {Action::Choose(IDC_ROUTE_TREE, "Demo documents"),
                                                   Action::Set(IDC_ROUTE_LEDGER, "GEN"),
                                                   Action::Press(static_cast<UINT>(IDOK))});
    EXPECT_EQ(AskRoute("ATTACH", DemoRoutingTrees(), kNoWindow),
              "hGEN   0000000" + std::to_string(kDemoOleId));
}

TYPED_TEST(RouteDialogConformance, TheAddressIsRepliedInItsPlacesAndEscapeRepliesNothing) {
    this->User().AnswerDialog(IDD_DEMO_EMAIL_TO,
                              {Action::Set(IDC_ROUTE_ADDRESS, "boss@example.org"),
                               Action::Press(static_cast<UINT>(IDOK))});
    EXPECT_EQ(AskRoute("EMAIL", DemoRoutingTrees(), kNoWindow), "h     boss@example.org 00000000");

    this->User().AnswerDialog(
        IDD_DEMO_EMAIL_TO, {Action::Set(IDC_ROUTE_ADDRESS, "boss@example.org"), Action::Close()});
    EXPECT_EQ(AskRoute("EMAIL", DemoRoutingTrees(), kNoWindow), std::nullopt);
}

}  // namespace
}  // namespace orbel::test
