// The person at the desktop, done by a program: keys go to the focus widget as the keyboard
// sends them, the mouse presses and moves over the widgets under it (or the one holding the
// mouse), and gestures on a control are mouse events at the place a person would point to, so
// that the widgets' own handlers produce the notifications.
#pragma once

#include <QEvent>
#include <QPoint>
#include <QPointer>
#include <QWidget>

#include "platform/UserDriver.h"

namespace orbel::platform {

class QtControls;
class QtPlatform;

class QtUserDriver final : public UserDriver {
  public:
    explicit QtUserDriver(QtPlatform& platform) : p_(platform) {}

    TreeControl* Tree(HWND window) override;
    ListControl* List(HWND window) override;
    ToolBarControl* ToolBar(HWND window) override;
    // Queued on the loop, so it arrives after what is queued already.
    void PressKey(HWND window, UINT key, bool shift, bool ctrl, bool alt) override;
    void MoveMouse(POINT screen) override;
    void MouseButton(UINT message, POINT screen) override;
    bool TreeSelect(HWND window, TreeItem item) override;
    bool TreeExpand(HWND window, TreeItem item, bool expand) override;
    bool TreeRightClick(HWND window, TreeItem item, POINT client) override;
    bool TreeBeginDrag(HWND window, TreeItem item, POINT client) override;
    bool ListClick(HWND window, int row) override;
    bool ListToggleSelect(HWND window, int row) override;
    bool ListDoubleClick(HWND window, int row) override;
    bool ListRightClick(HWND window, int row, POINT client) override;
    bool ListBeginDrag(HWND window, int row, POINT client) override;
    bool ListDrop(HWND window, const DroppedData& data) override;
    bool TypeLabel(HWND window, const std::string& text) override;
    bool ToolBarClick(HWND window, UINT id) override;

  private:
    QtControls* Controls() const;
    bool Takes(HWND window) const;
    // The widget that takes the mouse at a screen point: the one holding the mouse, else the
    // one a button went down on while it is held, else the one under the point.
    QWidget* MouseTarget(const QPoint& global) const;
    void SendMouse(QWidget* target, QEvent::Type type, Qt::MouseButton button, const QPoint& global,
                   Qt::KeyboardModifiers modifiers);
    // Clicks (`clicks` 2: double clicks) with the button at a point of a widget.
    void Click(QWidget* widget, const QPoint& at, Qt::MouseButton button,
               Qt::KeyboardModifiers modifiers, int clicks);
    // Presses the left button at a point of a widget and moves just far enough for a drag.
    void PressAndDrag(QWidget* widget, const QPoint& at);
    // A click at the middle of the row's label (the list scrolled to it), or where a person
    // would click for row -1: empty space.
    bool ClickRow(HWND window, int row, Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                  int clicks);

    QtPlatform& p_;
    Qt::MouseButtons held_;
    QPointer<QWidget> pressedOn_;
};

}  // namespace orbel::platform
