// An owner of a list and a tree that tracks a context menu where the pointer is on a right
// click, as the panes do: the menu's place says where the system thinks the pointer is.
#pragma once

#include "platform/Api.h"
#include "platform/controls/ListControl.h"
#include "platform/controls/TreeControl.h"
#include "platform/framework/Menu.h"

namespace orbel::test {

class MenuAtPointer : public platform::ListControlEvents, public platform::TreeControlEvents {
  public:
    void OnListRightClick(int, POINT) override { Track(); }
    void OnTreeRightClick(platform::TreeItem, POINT) override { Track(); }

  private:
    void Track() {
        CMenu menu;
        menu.CreatePopupMenu();
        menu.AppendMenu(MF_STRING, 101, "Open");
        const POINT at = GetCursorPos();
        menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RETURNCMD, at.x, at.y, nullptr);
    }
};

}  // namespace orbel::test
