// The person at the headless backend: keys are posted to the focus window as the keyboard
// posts them, the mouse moves over the headless windows, and the models take the rest.
#pragma once

#include "platform/UserDriver.h"

namespace orbel::platform {

class HeadlessPlatform;

class HeadlessUserDriver final : public UserDriver {
  public:
    explicit HeadlessUserDriver(HeadlessPlatform& platform) : p_(platform) {}
    TreeControl* Tree(HWND window) override;
    ListControl* List(HWND window) override;
    ToolBarControl* ToolBar(HWND window) override;
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
    bool Takes(HWND window) const;
    // Moves the pointer to the point of the window, unless it is there already.
    void PointAt(HWND window, POINT client);

    HeadlessPlatform& p_;
};

}  // namespace orbel::platform
