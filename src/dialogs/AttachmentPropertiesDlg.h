// "Attachment Properties": the file behind an item, with its page range and batch when it is a
// TIFF file; it opens the file through the item list, or shows it selected in its folder.
#pragma once

#include <cstdint>
#include <string>

#include "platform/framework/Dialog.h"

namespace orbel {

class CViewList;

class CAttachmentPropertiesDlg final : public CDialog {
  public:
    // `listView` opens the file; it must outlive the dialog.
    CAttachmentPropertiesDlg(CViewList& listView, HWND parent = kNoWindow);

    std::string m_filePath;
    std::int32_t m_pageStart = -1;
    std::int32_t m_pageEnd = -1;
    std::string m_batch;

  protected:
    bool OnInitDialog() override;
    bool OnCommand(UINT id, UINT code) override;
    void OnCancel() override;

  private:
    void OnOpen();
    void OnOpenFolder();
    // The path is no full path: the user is told, and nothing is opened.
    bool RefuseInvalidPath() const;

    CViewList& m_listView;
};

// Shows the dialog for the file; returns when the user closed it.
void RunAttachmentProperties(HWND parent, CViewList& listView, const std::string& path,
                             std::int32_t pageStart, std::int32_t pageEnd,
                             const std::string& batch);

}  // namespace orbel
