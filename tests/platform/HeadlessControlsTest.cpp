// The headless controls' own registry: a test or the test container finds the model behind a
// view's window. What the controls do is tested on both backends in the conformance suite.
#include <gtest/gtest.h>

#include "platform/headless/HeadlessControls.h"
#include "tests/support/HeadlessTest.h"

namespace orbel {
namespace {

using platform::HeadlessControls;

class ControlsTest : public test::HeadlessTest {
  protected:
    HeadlessControls& Controls() { return P().CommonControls(); }
    HWND window{0x4242};
};

TEST_F(ControlsTest, AModelIsFoundByItsWindowWhileItLives) {
    platform::TreeControlEvents treeEvents;
    platform::ListControlEvents listEvents;
    auto tree = Controls().CreateTreeControl(window, treeEvents);
    auto list = Controls().CreateListControl(HWND{0x99}, listEvents);
    EXPECT_EQ(Controls().Tree(window), tree.get());
    EXPECT_EQ(Controls().List(window), nullptr);
    EXPECT_EQ(Controls().List(HWND{0x99}), list.get());
    tree.reset();
    EXPECT_EQ(Controls().Tree(window), nullptr);
}

TEST(HeadlessControls, AModelMayOutliveThePlatformThatMadeIt) {
    platform::TreeControlEvents events;
    auto controls = std::make_unique<HeadlessControls>();
    auto tree = controls->CreateTreeControl(HWND{5}, events);
    controls.reset();
    tree.reset();  // must not reach the registry that is gone
}

}  // namespace
}  // namespace orbel
