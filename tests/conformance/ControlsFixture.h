// The common controls' conformance fixture: a top window with a pane to put a control in,
// and logs that write each tree and list notification as a line.
#pragma once

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "platform/controls/ControlText.h"
#include "platform/controls/Controls.h"
#include "tests/conformance/Backends.h"

namespace orbel::test {

using platform::kListFocused;
using platform::kListSelected;
using platform::kTreeNone;
using platform::ListAlign;
using platform::ListViewStyle;
using platform::TreeInsert;
using platform::TreeItem;

inline std::string N(TreeItem item) {
    return std::to_string(item);
}

inline std::string At(POINT p) {
    return std::to_string(p.x) + "," + std::to_string(p.y);
}

inline POINT Middle(const RECT& r) {
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// Writes each tree notification as a line and answers as the test tells it to.
class TreeLog : public platform::TreeControlEvents {
  public:
    std::vector<std::string> lines;
    bool refuseExpand = false;
    bool refuseBeginEdit = false;
    bool acceptEndEdit = true;
    int limitOnBegin = 0;
    platform::TreeControl* tree = nullptr;

    void OnTreeSelChanged(TreeItem oldItem, TreeItem newItem) override {
        lines.push_back("sel " + N(oldItem) + "->" + N(newItem));
    }
    bool OnTreeItemExpanding(TreeItem item, bool expand) override {
        lines.push_back((expand ? "expanding " : "collapsing ") + N(item));
        return refuseExpand;
    }
    bool OnTreeBeginLabelEdit(TreeItem item) override {
        lines.push_back("begin edit " + N(item));
        // The edit box is there when the owner is asked, so it can be limited now.
        if (limitOnBegin) {
            EXPECT_TRUE(tree->LimitEditText(limitOnBegin));
        }
        return refuseBeginEdit;
    }
    bool OnTreeEndLabelEdit(TreeItem item, const std::optional<std::string>& text) override {
        lines.push_back("end edit " + N(item) + " " + text.value_or("(cancelled)"));
        return acceptEndEdit;
    }
    void OnTreeKeyDown(UINT key) override { lines.push_back("key " + std::to_string(key)); }
    void OnTreeBeginDrag(TreeItem item, POINT point) override {
        lines.push_back("drag " + N(item) + " at " + At(point));
    }
    void OnTreeRightClick(TreeItem item, POINT point) override {
        lines.push_back("right " + N(item) + " at " + At(point));
    }
};

class ListLog : public platform::ListControlEvents {
  public:
    std::vector<std::string> lines;
    bool logStates = true;

    void OnListItemChanged(int row, UINT oldState, UINT newState) override {
        if (logStates)
            lines.push_back("row " + std::to_string(row) + " " + std::to_string(oldState) + "->" +
                            std::to_string(newState));
    }
    void OnListKeyDown(UINT key) override { lines.push_back("key " + std::to_string(key)); }
    void OnListDoubleClick(int row) override { lines.push_back("double " + std::to_string(row)); }
    void OnListRightClick(int row, POINT point) override {
        lines.push_back("right " + std::to_string(row) + " at " + At(point));
    }
    bool OnListEndLabelEdit(int row, const std::optional<std::string>& text) override {
        lines.push_back("end " + std::to_string(row) + " " + text.value_or("(cancelled)"));
        return true;
    }
    void OnListBeginDrag(int row, POINT point) override {
        lines.push_back("drag " + std::to_string(row) + " at " + At(point));
    }
    void OnListDrop(const platform::DroppedData& data) override {
        lines.push_back("drop [" + data.uriList + "] " + data.text.value_or("(no text)"));
    }
};

template <class B>
class ControlsConformance : public ConformanceTest<B> {
  protected:
    void SetUp() override {
        ConformanceTest<B>::SetUp();
        top = this->MakeTopWindow(RECT{100, 50, 600, 450});
        pane = this->MakeChildWindow(top, RECT{10, 20, 290, 370});
        ASSERT_TRUE(pane);
        W().SetFocus(pane);
        this->Pump();
    }
    platform::Controls& C() { return this->P().CommonControls(); }
    platform::WindowSystem& W() { return this->P().Windows(); }
    void Press(HWND window, UINT key) {
        this->Driver().PressKey(window, key, false, false, false);
        this->Pump();
    }
    // A list in the report style with a name column and the panes' image lists.
    std::unique_ptr<platform::ListControl> MakeList(ListLog& log) {
        auto list = C().CreateListControl(pane, log);
        normal = C().CreateImageList("list", 32, 32, 7);
        small = C().CreateImageList("tree", 16, 20, 15);
        list->SetImageLists(normal.get(), small.get());
        list->SetViewStyle(ListViewStyle::Report);
        list->InsertColumn(0, "Name", ListAlign::Left, 120);
        return list;
    }

    HWND top;
    HWND pane;
    std::unique_ptr<platform::ImageList> normal;
    std::unique_ptr<platform::ImageList> small;
};

}  // namespace orbel::test
