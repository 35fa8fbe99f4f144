// The view of the preview pane: hosts the viewer component that shows an image file page by
// page, and carries out paging, zoom, grey scaling, rotation and printing for the image
// frame's menus and page bar.
#pragma once

#include <memory>
#include <string>

#include "platform/framework/CmdTarget.h"
#include "platform/framework/Wnd.h"
#include "src/preview/ImgAdmin.h"
#include "src/preview/ImgEdit.h"

namespace orbel {

class CImageFrame;

// Zoom and page commands of the image frame's menus.
inline constexpr UINT ID_BEST_FIT = 32775;
inline constexpr UINT ID_FIT_TO_WIDTH = 32777;
inline constexpr UINT ID_FIT_TO_HEIGHT = 32778;
inline constexpr UINT ID_ACTUAL_SIZE = 32779;
inline constexpr UINT ID_ZOOM_TO_SELECTION = 32780;
inline constexpr UINT ID_SCALE_TO_GREY = 32781;
inline constexpr UINT ID_NEXT_PAGE = 32782;
inline constexpr UINT ID_PREVIOUS_PAGE = 32783;
inline constexpr UINT ID_FIRST_PAGE = 32784;
inline constexpr UINT ID_LAST_PAGE = 32785;

class CImageView final : public CWnd, public CCmdTarget {
  public:
    static constexpr const char* kClassName = "CImageView";
    static std::unique_ptr<CWnd> CreateObject();

    CImageView();
    ~CImageView() override;

    void SetFrame(CImageFrame* frame) { m_frame = frame; }

    void ShowImage(const std::string& path, long pageStart, long pageEnd);
    void ClearImage();
    void NextPage();
    void PreviousPage();
    void FirstPage();
    void LastPage();
    void GoToPage(long page);
    void Zoom(int mode);
    void ToggleGrey();
    // -1 left, 1 right.
    void Rotate(int direction);
    void Print();

    bool GreyFlag() const { return m_grey; }
    int ZoomMode() const { return m_zoomMode; }
    bool SelectionFlag() const { return m_selection; }
    bool HasViewer() const { return m_viewer != nullptr; }
    CImgEdit* Viewer() { return m_viewer.get(); }

    // The pane as one line: "empty", or the file, page, zoom, grey scaling, rotation and
    // selection.
    std::string Describe() const;

    bool OnCmdMsg(UINT id, CCmdUI* ui) override;

  protected:
    void OnSize(int cx, int cy) override;
    void OnPaint() override;
    void OnDestroy() override;

  private:
    class ViewerEvents;
    void OnSelectionRect(long left, long top, long width, long height);
    void OnViewerMouseUp(short button);
    // Shows the viewer's page after a change and puts it in the page box.
    void ShowPage(long page);

    // Members in the order the view declares them.
    std::unique_ptr<CImgEdit> m_viewer;
    std::unique_ptr<CImgAdmin> m_admin;
    bool m_selection = false;
    bool m_grey = false;
    int m_zoomMode = 0;
    long m_savedScaling = 0;
    long m_pageStart = -1;
    long m_pageEnd = -1;
    CImageFrame* m_frame = nullptr;
    std::shared_ptr<ViewerEvents> m_events;
    // What the view knows of the viewer's display, for Describe.
    int m_rotation = 0;
    RECT m_selectionRect{};
    bool m_cleared = true;
};

}  // namespace orbel
