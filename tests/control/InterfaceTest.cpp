#include <gtest/gtest.h>

#include "platform/automation/TypeLib.h"
#include "src/control/OrbelIds.h"
#include "src/control/OrbelPropPage.h"
#include "src/resources/TypeLibrary.h"
#include "tests/control/ControlFixture.h"

namespace orbel {
namespace {

using test::ControlTest;

TypeLibrary Library() {
    std::string error;
    auto lib = ParseTypeLibrary(OrbelTypeLibraryText(), &error);
    EXPECT_TRUE(lib) << error;
    return lib ? *lib : TypeLibrary{};
}

class InterfaceTest : public ControlTest {};

TEST_F(InterfaceTest, TheDispatchTableIsTheTypeLibrarysDispatchInterfaceExactly) {
    TypeLibrary lib = Library();
    const TypeLibInterface* dispatch = lib.FindInterface("_DOrbel");
    ASSERT_NE(dispatch, nullptr);
    EXPECT_EQ(dispatch->iid, IidDOrbel());
    const auto& entries = Ctrl().GetDispatchMap().Entries();
    ASSERT_EQ(entries.size(), dispatch->members.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const DispatchEntry& e = entries[i];
        const TypeLibMember& m = dispatch->members[i];
        SCOPED_TRACE(m.name);
        EXPECT_EQ(e.name, m.name);
        EXPECT_EQ(e.id, m.id);
        EXPECT_EQ(e.kind == DispatchEntry::Kind::Property, m.isProperty);
        EXPECT_EQ(e.type, m.type);
        std::vector<VarType> params;
        for (const TypeLibParam& p : m.params) params.push_back(p.type);
        EXPECT_EQ(e.params, params);
    }
}

TEST_F(InterfaceTest, TheEventTableIsTheLibrarysEventInterfacePlusSelectAttachment) {
    TypeLibrary lib = Library();
    const TypeLibInterface* events = lib.FindInterface("_DOrbelEvents");
    ASSERT_NE(events, nullptr);
    EXPECT_EQ(events->iid, IidDOrbelEvents());
    const auto& fired = Ctrl().GetEventMap();
    ASSERT_EQ(fired.size(), events->members.size() + 1);
    for (std::size_t i = 0; i < events->members.size(); ++i) {
        const TypeLibMember& m = events->members[i];
        SCOPED_TRACE(m.name);
        EXPECT_EQ(fired[i].name, m.name);
        EXPECT_EQ(fired[i].id, m.id);
        std::vector<VarType> params;
        for (const TypeLibParam& p : m.params) params.push_back(p.type);
        EXPECT_EQ(fired[i].params, params);
    }
    EXPECT_EQ(fired.back().name, "SelectAttachment");
    EXPECT_EQ(fired.back().id, 20);
    EXPECT_EQ(events->Find(20), nullptr);
}

// Every member the control does not carry out yet, so none stays so unnoticed. Each comes off
// this list with the change that gives it its behaviour.
TEST_F(InterfaceTest, EveryMemberIsImplemented) {
    std::vector<std::string> pending;
    for (const DispatchEntry& e : Ctrl().GetDispatchMap().Entries())
        if (!e.Implemented()) pending.push_back(e.name);
    EXPECT_EQ(pending, std::vector<std::string>{});
    // An item handle the list never gave out opens nothing and answers an empty text.
    Variant result;
    const Variant args[] = {Variant(std::string("/srv/book.xls")), Variant(std::int32_t{1})};
    EXPECT_EQ(Ctrl().Invoke(40, InvokeKind::Method, args, &result), S_OK);
    EXPECT_EQ(result, Variant(std::string()));
}

TEST_F(InterfaceTest, PropertiesStartAtTheirDefaultsAndSettingOneMarksTheControlModified) {
    struct Expected {
        const char* name;
        Variant value;
    };
    for (const Expected& e :
         std::vector<Expected>{{"BatchMaint", Variant(false)},
                               {"ShowResource", Variant(false)},
                               {"ResponseTimeOut", Variant(std::int32_t{10000})},
                               {"NotifySelectTiff", Variant(false)},
                               {"ScanMode", Variant(std::int32_t{0})},
                               {"DirectorySelect", Variant(false)},
                               {"ShowPreviewPane", Variant(true)},
                               {"ScriptMaint", Variant(false)}}) {
        Variant v;
        EXPECT_EQ(InvokeByName(Ctrl(), e.name, InvokeKind::PropertyGet, {}, &v), S_OK) << e.name;
        EXPECT_EQ(v, e.value) << e.name;
    }
    EXPECT_FALSE(Ctrl().IsModified());
    EXPECT_EQ(InvokeByName(Ctrl(), "ResponseTimeOut", InvokeKind::PropertyPut,
                           {Variant(std::int32_t{500})}, nullptr),
              S_OK);
    EXPECT_TRUE(Ctrl().IsModified());
    EXPECT_EQ(Get("ResponseTimeOut"), Variant(std::int32_t{500}));
    EXPECT_EQ(
        InvokeByName(Ctrl(), "ScriptMaint", InvokeKind::PropertyPut, {Variant(true)}, nullptr),
        S_OK);
    Variant v;
    InvokeByName(Ctrl(), "scriptmaint", InvokeKind::PropertyGet, {}, &v);
    EXPECT_EQ(v, Variant(true));
}

TEST(PropertyPage, IsTheGeneralPageWithItsOneText) {
    COrbelPropPage page;
    EXPECT_EQ(page.Caption(), "General");
    EXPECT_EQ(page.DialogId(), 200u);
    EXPECT_EQ(page.DialogWidth(), 250);
    EXPECT_EQ(page.DialogHeight(), 66);
    EXPECT_FALSE(page.StaticText().empty());
}

TEST_F(InterfaceTest, RefreshTarnFieldAnswersZeroForAnyInput) {
    Variant v;
    EXPECT_EQ(InvokeByName(
                  Ctrl(), "RefreshTarnField", InvokeKind::Method,
                  {Variant(std::int32_t{-5}), Variant(std::int32_t{99}), Variant("whatever")}, &v),
              S_OK);
    EXPECT_EQ(v, Variant(std::int32_t{0}));
}

class KeyboardTest : public ControlTest {
  protected:
    // What the host's own loop gets after the module's hook has seen the key.
    MSG Deliver(HWND target, UINT key) {
        P().Loop().PostMessage(target, WM_KEYDOWN, key, 0x10001);
        MSG msg;
        EXPECT_TRUE(P().Loop().GetMessage(msg));
        return msg;
    }
};

TEST_F(KeyboardTest, EscInTheControlFiresExitAndReachesTheHostAsANullMessage) {
    MSG msg = Deliver(Ctrl().GetSafeHwnd(), VK_ESCAPE);
    EXPECT_EQ(msg.message, WM_NULL);
    EXPECT_EQ(msg.wParam, 0u);
    EXPECT_EQ(msg.lParam, 0);
    EXPECT_EQ(Host().Events(), std::vector<std::string>{"Exit()"});
}

TEST_F(KeyboardTest, TabIsConsumedAndOtherKeysAndOtherWindowsPassThrough) {
    EXPECT_EQ(Deliver(Ctrl().GetSafeHwnd(), VK_TAB).message, WM_NULL);
    MSG other = Deliver(Ctrl().GetSafeHwnd(), 'A');
    EXPECT_EQ(other.message, WM_KEYDOWN);
    EXPECT_EQ(other.wParam, static_cast<WPARAM>('A'));
    // Esc sent to the host's own window is the host's.
    EXPECT_EQ(Deliver(HostWindow(), VK_ESCAPE).message, WM_KEYDOWN);
    EXPECT_TRUE(Host().Events().empty());
}

TEST_F(KeyboardTest, EscInAnImageViewIsNotAnExit) {
    CWnd imageView;
    ASSERT_TRUE(imageView.Create("CImageView", "", WS_CHILD | WS_VISIBLE, RECT{0, 0, 10, 10},
                                 Ctrl().GetSafeHwnd(), 1));
    EXPECT_EQ(Deliver(imageView.GetSafeHwnd(), VK_ESCAPE).message, WM_KEYDOWN);
    EXPECT_TRUE(Host().Events().empty());
}

TEST_F(KeyboardTest, TheHookIsInstalledOnceForTheModule) {
    EXPECT_TRUE(COrbelApp::KeyboardHookInstalled());
    auto second = std::make_shared<COrbelCtrl>();
    HWND w;
    ASSERT_EQ(second->InPlaceActivate(HostWindow(), RECT{0, 0, 10, 10}, w), S_OK);
    // One hook: a consumed key runs the control's pre-translation once.
    Deliver(Ctrl().GetSafeHwnd(), VK_ESCAPE);
    EXPECT_EQ(Host().Events().size(), 1u);
    app_.ExitInstance();
    EXPECT_FALSE(COrbelApp::KeyboardHookInstalled());
    EXPECT_EQ(Deliver(Ctrl().GetSafeHwnd(), VK_ESCAPE).message, WM_KEYDOWN);
}

TEST_F(InterfaceTest, DisablingTheControlShowsTheHourglassEvenWhenTheMouseMoves) {
    Ctrl().EnableControl(false);
    P().Windows().SetCursor(platform::Cursor::Arrow);
    Ctrl().SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(P().Windows().GetCursor(), platform::Cursor::Hourglass);
    EXPECT_FALSE(Ctrl().IsWindowEnabled());
    Ctrl().EnableControl(true);
    EXPECT_EQ(P().Windows().GetCursor(), platform::Cursor::Arrow);
}

}  // namespace
}  // namespace orbel

namespace orbel {
namespace {

TEST(KeyboardHook, ANewPlatformNeedsItsOwnHookEvenAtTheAddressOfTheOldOne) {
    COrbelApp app;
    app.InitInstance();
    platform::InstallHeadlessPlatform();
    COrbelApp::InstallKeyboardHook();
    EXPECT_TRUE(COrbelApp::KeyboardHookInstalled());
    // The old platform goes first, so the new one may well take its memory.
    platform::UninstallPlatform();
    platform::InstallHeadlessPlatform();
    EXPECT_FALSE(COrbelApp::KeyboardHookInstalled());
    COrbelApp::InstallKeyboardHook();
    EXPECT_TRUE(COrbelApp::KeyboardHookInstalled());
    app.ExitInstance();
    platform::UninstallPlatform();
}

}  // namespace
}  // namespace orbel
