// The folder tree: the store's folders under one root "All", each tree item carrying the
// entry key of its folder. The control fills it while it loads a store and keeps it in step;
// a selection made by the user makes the control show that folder.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/controls/Controls.h"
#include "platform/framework/Wnd.h"

namespace orbel {

class CPaneSite;
class CViewList;

// Images of the tree's strip.
enum TreeImage : int {
    kImageFolder = 0,
    kImageDocument = 1,
    kImageClassFolder = 2,
    kImageFolderMarked = 3,
    kImageClassFolderMarked = 4,
    kImageOpenFolderMarked = 5,
    kImageOpenClassFolderMarked = 6,
    kImageOpenFolder = 7,
    kImageOpenClassFolder = 8,
};

class CViewTree final : public CWnd, private platform::TreeControlEvents {
  public:
    static constexpr const char* kClassName = "CViewTree";
    static std::unique_ptr<CWnd> CreateObject();

    CViewTree();
    ~CViewTree() override;

    void SetControl(CPaneSite* site) { m_site = site; }
    void SetListView(CViewList* list) { m_listView = list; }

    // Operations the control calls.
    void AddFolder(bool isFolder, bool isClass, std::int32_t entryNo, std::int32_t parentKey,
                   const std::string& name);
    void RemoveFolder(std::int32_t key);
    void BeginDownload();
    void EndDownload();
    void RenameFolder(std::int32_t key, const std::string& name);
    // A parent key of -1, or one that is not in the tree, removes the folder.
    void MoveFolder(std::int32_t key, std::int32_t parentKey);
    void SetFolderMark(std::int32_t key, bool marked);
    void ShowFolder(std::int32_t key);
    // "\All\A\B" for folder B in folder A; "\All" with no current item.
    std::string FolderPath() const;
    void RedrawNow();

    // Drags, from either pane (ViewTreeActions.cpp). The list hands over the drag image it
    // made before it starts a drag of one of its rows.
    void SetDragImage(std::unique_ptr<platform::ImageList> image) {
        m_dragImage = std::move(image);
    }
    void StartDrag(std::int32_t key, POINT screen, CWnd* source);
    bool Dragging() const { return m_dragKey != -1; }
    void EndDrag(POINT screen, bool cancel);

    // The first item with the key in a pre-order walk from the top, or none.
    platform::TreeItem FindByKey(std::int32_t key) const;
    platform::TreeItem RootItem() const { return m_root; }
    bool Suppressed() const { return m_suppress; }
    platform::TreeControl& Tree() { return *m_tree; }
    const platform::TreeControl& Tree() const { return *m_tree; }

  protected:
    int OnCreate() override;
    void OnDestroy() override;
    void OnMouseMove(POINT point) override;
    void OnLButtonUp(POINT point) override;

  private:
    // TreeControlEvents
    void OnTreeSelChanged(platform::TreeItem oldItem, platform::TreeItem newItem) override;
    bool OnTreeItemExpanding(platform::TreeItem item, bool expand) override;
    void OnTreeKeyDown(UINT key) override;
    bool OnTreeBeginLabelEdit(platform::TreeItem item) override;
    bool OnTreeEndLabelEdit(platform::TreeItem item,
                            const std::optional<std::string>& text) override;
    void OnTreeBeginDrag(platform::TreeItem item, POINT point) override;

    // Shows the folder of the item and tells the host, as a selection by the user does.
    void ShowItemFolder(platform::TreeItem item);
    void Drop(POINT screen);

    // Every insertion and deletion goes through these, which keep the key index.
    platform::TreeItem Insert(const std::string& text, int image, int selectedImage,
                              platform::TreeItem parent, platform::TreeInsert where,
                              std::int32_t key);
    void Delete(platform::TreeItem item);
    void Unindex(platform::TreeItem item);
    platform::TreeItem WalkForKey(platform::TreeItem from, DWORD key) const;

    CPaneSite* m_site = nullptr;
    CViewList* m_listView = nullptr;
    std::unique_ptr<platform::TreeControl> m_tree;
    std::unique_ptr<platform::ImageList> m_images;
    platform::TreeItem m_root = platform::kTreeNone;
    bool m_suppress = false;
    std::int32_t m_dragKey = -1;
    std::unique_ptr<platform::ImageList> m_dragImage;
    CWnd* m_dragSource = nullptr;
    // Key to the items that carry it, so that finding a folder by key answers at once while
    // the key is unique; loading moves every folder once and must stay linear.
    std::unordered_map<DWORD, std::vector<platform::TreeItem>> m_keyIndex;
};

}  // namespace orbel
