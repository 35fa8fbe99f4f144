#include "src/preview/ImageView.h"

#include "platform/Api.h"
#include "platform/imaging/ImagingIds.h"
#include "src/preview/ImageFrame.h"

namespace orbel {

namespace {
constexpr UINT kViewerId = 104;
constexpr UINT kAdminId = 106;
constexpr short kPageTypeBlackAndWhite = 1;
constexpr long kScalingGrey = imaging::viewer::kScalingGrey;
constexpr int kZoomToSelection = 4;
constexpr const char* kLastPage = "You have reached the last page.";
constexpr const char* kFirstPage = "You have reached the first page.";
constexpr const char* kNoSuchPage = "There is no such Page Number.";

const char* ZoomName(int mode) {
    switch (mode) {
        case 0:
            return "best-fit";
        case 1:
            return "width";
        case 2:
            return "height";
        case 3:
            return "actual";
        default:
            return "selection";
    }
}

long Arg(std::span<const Variant> args, std::size_t i) {
    if (i >= args.size()) return 0;
    auto v = args[i].ChangeType(VarType::I4);
    return v ? v->I4() : 0;
}
}  // namespace

// The viewer's events reach the view through this sink, which does not keep the view alive:
// the view unhooks it before it goes.
class CImageView::ViewerEvents final : public IDispatch {
  public:
    explicit ViewerEvents(CImageView* view) : view_(view) {}
    void Detach() { view_ = nullptr; }
    HRESULT GetIDsOfNames(std::string_view, DISPID&) override { return DISP_E_UNKNOWNNAME; }
    HRESULT Invoke(DISPID id, InvokeKind, std::span<const Variant> args, Variant*) override {
        if (!view_) return S_OK;
        if (id == imaging::viewer::kSelectionRectEvent)
            view_->OnSelectionRect(Arg(args, 0), Arg(args, 1), Arg(args, 2), Arg(args, 3));
        else if (id == imaging::viewer::kMouseUpEvent)
            view_->OnViewerMouseUp(static_cast<short>(Arg(args, 0)));
        return S_OK;
    }

  private:
    CImageView* view_;
};

std::unique_ptr<CWnd> CImageView::CreateObject() {
    return std::make_unique<CImageView>();
}

CImageView::CImageView() = default;

CImageView::~CImageView() {
    if (m_events) m_events->Detach();
}

void CImageView::OnDestroy() {
    // The viewer's window goes with the view's; its events must find no view from now on.
    if (m_events) m_events->Detach();
    CWnd::OnDestroy();
}

void CImageView::ShowImage(const std::string& path, long pageStart, long pageEnd) {
    bool created = false;
    if (!m_viewer) {
        auto viewer = std::make_unique<CImgEdit>();
        if (!viewer->Create("Image", WS_CHILD | WS_VISIBLE, GetClientRect(), GetSafeHwnd(),
                            kViewerId))
            return;
        m_events = std::make_shared<ViewerEvents>(this);
        viewer->AdviseEvents(m_events);
        m_viewer = std::move(viewer);
        created = true;
    }
    m_viewer->SetImage(path);
    m_pageStart = pageStart;
    m_pageEnd = pageEnd;
    if (pageStart != -1) {
        if (pageStart == 0) pageStart = 1;
        m_viewer->SetPage(pageStart);
    }
    m_savedScaling = m_viewer->GetDisplayScaleAlgorithm();
    if (m_viewer->GetPageType() == kPageTypeBlackAndWhite) {
        m_grey = true;
        m_viewer->SetDisplayScaleAlgorithm(kScalingGrey);
    } else {
        m_grey = false;
        m_viewer->SetDisplayScaleAlgorithm(0);
    }
    if (created) {
        m_zoomMode = 1;
        m_viewer->FitTo(1, true);
        m_viewer->SetScrollOrigin(0);
        m_viewer->SetSelectionRectangle(true);
    }
    m_selection = false;
    m_selectionRect = RECT{};
    m_rotation = 0;
    m_cleared = false;
    m_viewer->Display();
    if (m_frame) {
        m_frame->EnableControls(true);
        m_frame->PageBar().SetPageNumber(static_cast<int>(pageStart));
    }
}

void CImageView::ClearImage() {
    if (m_viewer) {
        const long x = m_viewer->GetImageResolutionX();
        const long y = m_viewer->GetImageResolutionY();
        const short type = m_viewer->GetPageType();
        const RECT client = GetClientRect();
        m_viewer->DisplayBlankImage(client.Width(), client.Height(), x, y, type);
    }
    m_cleared = true;
    m_selection = false;
    m_selectionRect = RECT{};
    if (m_frame) {
        m_frame->EnableControls(false);
        m_frame->PageBar().SetPageNumber(0);
    }
}

void CImageView::ShowPage(long page) {
    m_viewer->SetPage(page);
    m_viewer->Display();
    m_selection = false;
    m_selectionRect = RECT{};
    if (m_frame) m_frame->PageBar().SetPageNumber(static_cast<int>(page));
}

void CImageView::NextPage() {
    if (!m_viewer) return;
    const long page = m_viewer->GetPage();
    if (page < m_viewer->GetPageCount())
        ShowPage(page + 1);
    else
        AfxMessageBox(kLastPage, MB_OK);
}

void CImageView::PreviousPage() {
    if (!m_viewer) return;
    const long page = m_viewer->GetPage();
    if (page >= 2)
        ShowPage(page - 1);
    else
        AfxMessageBox(kFirstPage, MB_OK);
}

void CImageView::FirstPage() {
    if (m_viewer) ShowPage(1);
}

void CImageView::LastPage() {
    if (m_viewer) ShowPage(m_viewer->GetPageCount());
}

void CImageView::GoToPage(long page) {
    if (!m_viewer) return;
    if (page <= m_viewer->GetPageCount()) {
        ShowPage(page);
        return;
    }
    AfxMessageBox(kNoSuchPage, MB_OK);
    if (m_frame) m_frame->PageBar().SetPageNumber(static_cast<int>(m_viewer->GetPage()));
}

void CImageView::Zoom(int mode) {
    m_zoomMode = mode;
    if (!m_viewer) return;
    if (mode == kZoomToSelection) {
        m_viewer->ZoomToSelection();
        m_selection = false;
        m_selectionRect = RECT{};
    } else {
        m_viewer->FitTo(static_cast<short>(mode), true);
    }
}

void CImageView::ToggleGrey() {
    m_grey = !m_grey;
    if (!m_viewer) return;
    m_viewer->SetDisplayScaleAlgorithm(m_grey ? kScalingGrey : m_savedScaling);
    m_viewer->Refresh();
}

void CImageView::Rotate(int direction) {
    if (!m_viewer) return;
    m_viewer->SetAutoRefresh(true);
    if (direction < 0)
        m_viewer->RotateLeft();
    else
        m_viewer->RotateRight();
    m_rotation = ((m_rotation + (direction < 0 ? 270 : 90)) % 360);
}

void CImageView::Print() {
    if (!m_viewer) return;
    if (!m_admin) {
        // Hidden: it has nothing to show, and a visible window would lie over the page.
        auto admin = std::make_unique<CImgAdmin>();
        if (!admin->Create("Image", WS_CHILD, GetClientRect(), GetSafeHwnd(), kAdminId)) return;
        m_admin = std::move(admin);
    }
    m_admin->SetImage(m_viewer->GetImage());
    m_admin->ShowPrintDialog(static_cast<long>(GetSafeHwnd().value));
    if (m_pageStart < 1 || m_pageEnd < 1)
        m_admin->PrintImage();
    else
        m_admin->PrintImage(m_pageStart, m_pageEnd);
}

void CImageView::OnSize(int, int) {
    if (!m_viewer || !m_viewer->GetSafeHwnd()) return;
    m_viewer->MoveWindow(GetClientRect(), true);
    // Whatever the mode, also "Zoom To Selection", which fits rather than zooms again.
    m_viewer->FitTo(static_cast<short>(m_zoomMode), true);
}

void CImageView::OnPaint() {
    if (m_viewer && m_viewer->GetSafeHwnd()) m_viewer->Refresh();
}

void CImageView::OnSelectionRect(long left, long top, long width, long height) {
    m_selection = left != 0 || top != 0 || width != 0 || height != 0;
    m_selectionRect = RECT{static_cast<int>(left), static_cast<int>(top),
                           static_cast<int>(left + width), static_cast<int>(top + height)};
}

void CImageView::OnViewerMouseUp(short button) {
    if (button == 2 && m_frame)
        m_frame->TrackZoomMenu(platform::GetPlatform().Windows().GetCursorPos());
}

bool CImageView::OnCmdMsg(UINT id, CCmdUI* ui) {
    switch (id) {
        case ID_BEST_FIT:
        case ID_FIT_TO_WIDTH:
        case ID_FIT_TO_HEIGHT:
        case ID_ACTUAL_SIZE:
        case ID_ZOOM_TO_SELECTION: {
            const int mode = id == ID_BEST_FIT ? 0 : static_cast<int>(id - ID_FIT_TO_WIDTH) + 1;
            if (ui) {
                ui->SetCheck(m_zoomMode == mode);
                if (id == ID_ZOOM_TO_SELECTION) ui->Enable(m_selection);
            } else {
                Zoom(mode);
            }
            return true;
        }
        case ID_SCALE_TO_GREY:
            if (ui)
                ui->SetCheck(m_grey);
            else
                ToggleGrey();
            return true;
        case ID_NEXT_PAGE:
        case ID_PREVIOUS_PAGE:
        case ID_FIRST_PAGE:
        case ID_LAST_PAGE:
            if (ui) return true;
            if (id == ID_NEXT_PAGE) NextPage();
            if (id == ID_PREVIOUS_PAGE) PreviousPage();
            if (id == ID_FIRST_PAGE) FirstPage();
            if (id == ID_LAST_PAGE) LastPage();
            return true;
        default:
            return false;
    }
}

std::string CImageView::Describe() const {
    if (!m_viewer || m_cleared) return "empty";
    std::string out =
        QuoteString(m_viewer->GetImage()) + " page " + std::to_string(m_viewer->GetPage()) +
        " of " + std::to_string(m_viewer->GetPageCount()) + " zoom " + ZoomName(m_zoomMode) +
        " grey " + (m_grey ? "on" : "off") + " rotation " + std::to_string(m_rotation);
    if (m_selection)
        out += " selection " + std::to_string(m_selectionRect.left) + "," +
               std::to_string(m_selectionRect.top) + "," + std::to_string(m_selectionRect.Width()) +
               "," + std::to_string(m_selectionRect.Height());
    return out;
}

}  // namespace orbel
