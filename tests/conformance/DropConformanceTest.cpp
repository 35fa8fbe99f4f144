// Drops from other programs on a list, on both backends: what a file manager or a browser
// drags in arrives through the window system's drag path, and only at a list that accepts
// drops.
#include "platform/controls/DroppedData.h"
#include "tests/conformance/ControlsFixture.h"

namespace orbel::test {
namespace {

template <class B>
class DropConformance : public ControlsConformance<B> {};
TYPED_TEST_SUITE(DropConformance, Backends, BackendNames);

TYPED_TEST(DropConformance, AFileListAndATextReachOnlyAListThatAcceptsDrops) {
    ListLog log;
    log.logStates = false;
    auto list = this->MakeList(log);
    list->InsertItem(0, "a", 1);
    const platform::DroppedData files{platform::UriListOf({"/srv/in/a b.pdf", "/srv/in/c%.txt"}),
                                      std::nullopt};
    EXPECT_FALSE(list->AcceptsDrops());
    EXPECT_FALSE(this->Driver().ListDrop(this->pane, files));
    EXPECT_TRUE(log.lines.empty());

    list->AcceptDrops(true);
    EXPECT_TRUE(this->Driver().ListDrop(this->pane, files));
    EXPECT_TRUE(this->Driver().ListDrop(
        this->pane, platform::DroppedData{"http://example.org/\r\n", "http://example.org/"}));
    EXPECT_EQ(log.lines,
              (std::vector<std::string>{
                  "drop [file:///srv/in/a%20b.pdf\r\nfile:///srv/in/c%25.txt\r\n] (no text)",
                  "drop [http://example.org/\r\n] http://example.org/"}));
    // The drop changed nothing in the list by itself.
    EXPECT_EQ(list->GetItemCount(), 1);

    // A disabled window takes no drop, as it takes no click.
    log.lines.clear();
    this->W().EnableWindow(this->pane, false);
    EXPECT_FALSE(this->Driver().ListDrop(this->pane, files));
    this->W().EnableWindow(this->pane, true);
    list->AcceptDrops(false);
    EXPECT_FALSE(this->Driver().ListDrop(this->pane, files));
    EXPECT_TRUE(log.lines.empty());
}

TYPED_TEST(DropConformance, ADropOverTheIconViewArrivesTheSame) {
    ListLog log;
    log.logStates = false;
    auto list = this->MakeList(log);
    list->AcceptDrops(true);
    list->SetViewStyle(ListViewStyle::LargeIcons);
    EXPECT_TRUE(this->Driver().ListDrop(this->pane, platform::DroppedData{"", "plain words"}));
    EXPECT_EQ(log.lines, std::vector<std::string>{"drop [] plain words"});
}

}  // namespace
}  // namespace orbel::test
