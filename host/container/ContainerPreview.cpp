// The container's lines for the preview pane: its state and page bar, pressing a button of any
// of the control's bars, a rectangle dragged and a right click in the viewer, and the TIFF
// files a script shows there.
#include <deque>
#include <memory>

#include "host/container/CommandArgs.h"
#include "host/container/Container.h"
#include "platform/Platform.h"
#include "platform/UserDriver.h"
#include "platform/controls/ToolBarBase.h"
#include "platform/dialogs/FindForm.h"
#include "platform/imaging/BilevelTiff.h"
#include "src/control/OrbelStoreProbe.h"

namespace orbel::host {

namespace {
constexpr const char* kViewerClass = "OrbelImageViewer";
constexpr UINT kPageBarTemplate = 229;
constexpr UINT kPageBox = 1065;
}  // namespace

std::vector<HWND> WindowsOfClass(const platform::WindowSystem& windows, HWND root,
                                 std::string_view className) {
    std::vector<HWND> found;
    std::deque<HWND> queue{root};
    while (!queue.empty()) {
        const HWND w = queue.front();
        queue.pop_front();
        if (w != root && windows.GetClassName(w) == className) found.push_back(w);
        for (HWND child : windows.GetChildren(w)) queue.push_back(child);
    }
    return found;
}

std::string Container::PreviewText(const std::string& operation) {
    if (!probe_) throw ScriptError{"this control describes no preview"};
    Variant result;
    if (probe_->RunStoreOperation(operation, {}, result) != S_OK || result.Type() != VarType::BStr)
        throw ScriptError{"this control describes no preview"};
    return result.BStr();
}

void Container::CmdPreview(std::span<const Token> args) {
    Need(args, 0, 0, "preview");
    platform_->Loop().RunIdleHandlers();
    Print("preview: " + PreviewText("Preview"));
}

void Container::CmdPageBar(std::span<const Token> args) {
    Need(args, 0, 0, "pagebar");
    platform_->Loop().RunIdleHandlers();
    PrintLines(PreviewText("PageBar"));
}

void Container::CmdPageBox(std::span<const Token> args) {
    constexpr std::string_view kUsage = "pagebox \"TEXT\" [tab]";
    Need(args, 1, 2, kUsage);
    const std::string text = StringArg(args[0], "TEXT");
    if (args.size() == 2 && !EqualsIgnoringAsciiCase(WordArg(args[1], "tab"), "tab"))
        throw ScriptError{"usage: " + std::string(kUsage)};
    // The page bar's box is the form made from template 229.
    auto& windows = platform_->Windows();
    platform::LiveDialog* box = platform::FindForm(windows, controlWindow_, kPageBarTemplate);
    if (!box) throw ScriptError{"the preview shows no page box"};
    if (Refused(box->Window())) return;
    if (const std::string why = box->UserType(kPageBox, text); !why.empty()) {
        Print("pagebox: refused, " + why);
        return;
    }
    // The keyboard is where the person typed.
    bool inBox = false;
    for (HWND w = windows.GetFocus(); w && !inBox; w = windows.GetParent(w))
        inBox = w == box->Window();
    if (!inBox) windows.SetFocus(box->Window());
    PostKey(args.size() == 2 ? VK_TAB : VK_RETURN, false, false, false);
}

void Container::CmdPress(std::span<const Token> args) {
    Need(args, 1, 1, "press ID");
    const UINT id = static_cast<UINT>(IntegerArg(args[0], "ID"));
    // The buttons as the user sees them once the thread has been idle.
    platform_->Loop().RunIdleHandlers();
    for (HWND window : WindowsOfClass(platform_->Windows(), controlWindow_, "ToolbarWindow32")) {
        platform::ToolBarControl* bar = driver_->ToolBar(window);
        if (!bar) continue;
        for (const auto& button : bar->Buttons()) {
            if (button.id != id) continue;
            if (Refused(window)) return;
            if (bar->IsButtonHidden(id) || !bar->IsButtonEnabled(id)) {
                Print("press " + std::to_string(id) + ": refused, the button is " +
                      (bar->IsButtonHidden(id) ? "hidden" : "disabled"));
                return;
            }
            driver_->ToolBarClick(window, id);
            return;
        }
    }
    if (PressInScriptView(id)) return;
    throw ScriptError{"no bar of the control and no script view has a button " +
                      std::to_string(id)};
}

POINT Container::ButtonCentre(UINT id) {
    auto& windows = platform_->Windows();
    for (HWND window : WindowsOfClass(windows, controlWindow_, "ToolbarWindow32")) {
        const auto* bar = dynamic_cast<const platform::ToolBarBase*>(driver_->ToolBar(window));
        if (!bar) continue;
        const RECT r = bar->GetButtonRect(id);
        if (r.Width() > 0)
            return windows.ClientToScreen(window,
                                          POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    }
    throw ScriptError{"no bar of the control shows a button " + std::to_string(id)};
}

HWND Container::ViewerWindow() {
    const auto viewers = WindowsOfClass(platform_->Windows(), controlWindow_, kViewerClass);
    if (viewers.empty()) throw ScriptError{"the preview shows no image"};
    return viewers.front();
}

void Container::CmdViewer(std::span<const Token> args) {
    Need(args, 5, 5, "viewer drag X1 Y1 X2 Y2");
    if (WordArg(args[0], "drag") != "drag") throw ScriptError{"usage: viewer drag X1 Y1 X2 Y2"};
    const HWND viewer = ViewerWindow();
    if (Refused(viewer)) return;
    auto& windows = platform_->Windows();
    const POINT from =
        windows.ClientToScreen(viewer, POINT{IntegerArg(args[1], "X1"), IntegerArg(args[2], "Y1")});
    const POINT to =
        windows.ClientToScreen(viewer, POINT{IntegerArg(args[3], "X2"), IntegerArg(args[4], "Y2")});
    driver_->MoveMouse(from);
    driver_->MouseButton(WM_LBUTTONDOWN, from);
    driver_->MoveMouse(to);
    driver_->MouseButton(WM_LBUTTONUP, to);
}

void Container::RightClickViewer() {
    const HWND viewer = ViewerWindow();
    if (Refused(viewer)) return;
    auto& windows = platform_->Windows();
    const RECT client = windows.GetClientRect(viewer);
    const POINT at = windows.ClientToScreen(viewer, POINT{client.Width() / 2, client.Height() / 2});
    driver_->MoveMouse(at);
    driver_->MouseButton(WM_RBUTTONDOWN, at);
    driver_->MouseButton(WM_RBUTTONUP, at);
}

void Container::CmdImage(std::span<const Token> args) {
    Need(args, 4, 4, "image \"PATH\" PAGES WIDTH HEIGHT");
    const std::string path = StringArg(args[0], "PATH");
    const int pages = IntegerArg(args[1], "PAGES");
    const int width = IntegerArg(args[2], "WIDTH");
    const int height = IntegerArg(args[3], "HEIGHT");
    if (pages < 1 || width < 1 || height < 1)
        throw ScriptError{"image: the pages, width and height must be 1 or more"};
    // Bands that differ from page to page.
    const auto bands = [](int page, int y, std::span<std::uint8_t> row) {
        std::fill(row.begin(), row.end(), ((y / 8 + page) % 2) ? 0xFF : 0x00);
    };
    if (!platform::WriteBilevelTiff(path, {pages, width, height, 200}, bands))
        throw ScriptError{"image: cannot write " + path};
}

}  // namespace orbel::host
