// What a person does, done by a program: tests and the test container act through this, and
// each backend delivers it the way its own input would (the headless models take it directly;
// the desktop acts on its widgets, so the same notifications follow).
// Not for: answering what is modal (the scripted user does that) or anything the system code
// calls.
#pragma once

#include <string>

#include "platform/Win.h"
#include "platform/controls/ListControl.h"
#include "platform/controls/ToolBarControl.h"
#include "platform/controls/TreeControl.h"

namespace orbel::platform {

class WindowSystem;

// Whether a person's input reaches `window`: not while it or a window it lies in is disabled
// (the control disables itself while a folder loads), as on a desktop.
bool TakesInput(const WindowSystem& windows, HWND window);

class UserDriver {
  public:
    virtual ~UserDriver();

    // The controls a person sees in a window; null where there is none.
    virtual TreeControl* Tree(HWND window) = 0;
    virtual ListControl* List(HWND window) = 0;
    virtual ToolBarControl* ToolBar(HWND window) = 0;

    // Input to a window that does not take it (TakesInput) is dropped: a gesture then returns
    // false.

    // A key pressed with the modifiers held, arriving at `window` (the one with the focus, as
    // the keyboard sends it): it passes the message hooks first and does nothing more when a
    // hook consumed it. It has arrived once the loop has delivered what is pending.
    virtual void PressKey(HWND window, UINT key, bool shift, bool ctrl, bool alt) = 0;
    // The mouse moved to a screen point, or a button went down or up there (WM_LBUTTONDOWN...).
    // A gesture at a point of a control puts the pointer there first, as the hand does.
    virtual void MoveMouse(POINT screen) = 0;
    virtual void MouseButton(UINT message, POINT screen) = 0;

    // The tree control living in `window`, at a point in its client coordinates where the
    // gesture needs one. Each returns false when there is no such control or item.
    virtual bool TreeSelect(HWND window, TreeItem item) = 0;
    virtual bool TreeExpand(HWND window, TreeItem item, bool expand) = 0;
    virtual bool TreeRightClick(HWND window, TreeItem item, POINT client) = 0;
    // Presses the left button on the item and moves the mouse far enough to start a drag; the
    // button stays down.
    virtual bool TreeBeginDrag(HWND window, TreeItem item, POINT client) = 0;

    // The list control living in `window`.
    virtual bool ListClick(HWND window, int row) = 0;
    // Ctrl+click: adds the row to the selection or takes it out.
    virtual bool ListToggleSelect(HWND window, int row) = 0;
    virtual bool ListDoubleClick(HWND window, int row) = 0;
    // Over empty space with row -1.
    virtual bool ListRightClick(HWND window, int row, POINT client) = 0;
    virtual bool ListBeginDrag(HWND window, int row, POINT client) = 0;
    // Another program's drag entering the list, moving over its middle and dropping the data
    // there, as the window system delivers it; false when the list takes no drops.
    virtual bool ListDrop(HWND window, const DroppedData& data) = 0;

    // The label edit box open in the tree or list of `window`: replaces its text as typed, cut
    // at its limit (Enter or Escape is a key of its own). False when no edit box is open.
    virtual bool TypeLabel(HWND window, const std::string& text) = 0;

    // The toolbar living in `window`: clicks the button. False for no such button or a
    // disabled or hidden one.
    virtual bool ToolBarClick(HWND window, UINT id) = 0;
};

}  // namespace orbel::platform
