#include "platform/imaging/ImageViewer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/imaging/ComponentMembers.h"
#include "platform/imaging/ImagingIds.h"

namespace orbel::imaging {

using namespace viewer;

namespace {

const char* FitName(int mode) {
    switch (mode) {
        case 0:
            return "best fit";
        case 1:
            return "fit to width";
        case 2:
            return "fit to height";
        case 3:
            return "actual size";
        case 4:
            return "selection";
        default:
            return "none";
    }
}

RECT Normalized(POINT a, POINT b) {
    return RECT{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

bool IsEmpty(const RECT& r) {
    return r.right <= r.left || r.bottom <= r.top;
}

}  // namespace

CImageViewer::CImageViewer(std::unique_ptr<ViewerSurface> surface) : surface_(std::move(surface)) {
    InitializeIIDs(ParsedGuid(kIidViewerText), ParsedGuid(kIidViewerEventsText));
}

CImageViewer::~CImageViewer() = default;

int CImageViewer::OnCreate() {
    surface_->Attach(GetSafeHwnd());
    return 0;
}

void CImageViewer::OnSize(int, int) {
    Repaint();
}

HRESULT CImageViewer::GetIDsOfNames(std::string_view name, DISPID& id) {
    return DumpIdOfName(name, id);
}

HRESULT CImageViewer::Invoke(DISPID id, InvokeKind kind, std::span<const Variant> args,
                             Variant* result) {
    // A caller's event handler may let go of the viewer while a call into it runs.
    auto self = weak_from_this().lock();
    switch (kind) {
        case InvokeKind::PropertyGet: {
            Variant value;
            const HRESULT hr = Get(id, value);
            if (SUCCEEDED(hr) && result) *result = std::move(value);
            return hr;
        }
        case InvokeKind::PropertyPut:
            if (args.size() != 1) return DISP_E_BADPARAMCOUNT;
            return Put(id, args[0]);
        case InvokeKind::Method:
            return Call(id, args, result);
    }
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT CImageViewer::Get(DISPID id, Variant& result) const {
    const PageInfo* page = CurrentPage();
    switch (id) {
        case kImage:
            result = Variant(image_);
            return S_OK;
        case kScrollOrigin:
            result = Variant(static_cast<std::int32_t>(scrollOrigin_));
            return S_OK;
        case kPage:
            result = Variant(static_cast<std::int32_t>(page_));
            return S_OK;
        case kDisplayScaling:
            result = Variant(static_cast<std::int32_t>(scaling_));
            return S_OK;
        case kImageDisplayed:
            result = Variant(displayed_);
            return S_OK;
        case kXResolution:
            result = Variant(static_cast<std::int32_t>(page ? page->xResolution : 0));
            return S_OK;
        case kYResolution:
            result = Variant(static_cast<std::int32_t>(page ? page->yResolution : 0));
            return S_OK;
        case kPageCount:
            result = Variant(static_cast<std::int32_t>(file_ ? file_->PageCount() : 0));
            return S_OK;
        case kSelectionAllowed:
            result = Variant(selectionAllowed_);
            return S_OK;
        case kPageType:
            result = Variant(static_cast<std::int32_t>(page ? page->type : PageType::None));
            return S_OK;
        case kAutoRefresh:
            result = Variant(autoRefresh_);
            return S_OK;
        default:
            return DISP_E_MEMBERNOTFOUND;
    }
}

HRESULT CImageViewer::Put(DISPID id, const Variant& value) {
    if (value.IsMissing()) return DISP_E_PARAMNOTFOUND;
    if (id == kImage) {
        auto text = value.ChangeType(VarType::BStr);
        if (!text) return DISP_E_TYPEMISMATCH;
        SetImage(text->BStr());
        return S_OK;
    }
    if (id == kSelectionAllowed || id == kAutoRefresh) {
        auto flag = value.ChangeType(VarType::Bool);
        if (!flag) return DISP_E_TYPEMISMATCH;
        (id == kSelectionAllowed ? selectionAllowed_ : autoRefresh_) = flag->Bool();
        return S_OK;
    }
    auto number = value.ChangeType(VarType::I4);
    if (!number) return DISP_E_TYPEMISMATCH;
    switch (id) {
        case kScrollOrigin:
            scrollOrigin_ = number->I4();
            return S_OK;
        case kPage:
            // Shown by the next display; a page past the end is refused then.
            page_ = number->I4();
            return S_OK;
        case kDisplayScaling:
            scaling_ = number->I4();
            return S_OK;
        default:
            return DISP_E_MEMBERNOTFOUND;
    }
}

HRESULT CImageViewer::Call(DISPID id, std::span<const Variant> args, Variant* result) {
    switch (id) {
        case kDisplay:
            Display();
            return S_OK;
        case kRefresh:
            Repaint();
            return S_OK;
        case kRotateLeft:
        case kRotateRight:
            if (args.size() > 1) return DISP_E_BADPARAMCOUNT;
            Rotate(id == kRotateLeft ? -1 : 1);
            return S_OK;
        case kZoomToSelection:
            ZoomToSelection();
            return S_OK;
        case kDisplayBlank: {
            auto w = LongArg(args, 0), h = LongArg(args, 1);
            if (!w || !h) return DISP_E_PARAMNOTFOUND;
            Blank(static_cast<int>(*w), static_cast<int>(*h));
            return S_OK;
        }
        case kFit: {
            auto mode = LongArg(args, 0);
            if (!mode) return DISP_E_PARAMNOTFOUND;
            if (*mode < 0 || *mode > 4) return E_INVALIDARG;
            Fit(static_cast<int>(*mode));
            return S_OK;
        }
        case kPrint:
            // Printing is the print administrator's, whose dialog says where the pages go; the
            // viewer has no printer of its own and refuses rather than seem to print.
            return E_NOTIMPL;
        case kDump:
            if (result) *result = Variant(Dump());
            return S_OK;
        default:
            return DISP_E_MEMBERNOTFOUND;
    }
}

const PageInfo* CImageViewer::CurrentPage() const {
    if (!file_ || page_ < 1 || page_ > file_->PageCount()) return nullptr;
    return &file_->Page(static_cast<int>(page_));
}

void CImageViewer::SetImage(const std::string& path) {
    image_ = path;
    file_.reset();
    error_.clear();
    surface_->Clear();
    displayed_ = false;
    page_ = 1;
    selection_ = RECT{};
    if (!path.empty()) file_ = ImageFile::Open(path, error_);
}

void CImageViewer::Display() {
    blank_.reset();
    selection_ = RECT{};
    displayed_ = false;
    if (!file_) {
        if (error_.empty()) error_ = "no image";
    } else if (!CurrentPage()) {
        error_ = "there is no page " + std::to_string(page_);
    } else {
        error_.clear();
        ++decodes_;
        displayed_ = surface_->Load(*file_, static_cast<int>(page_), error_);
        if (fitMode_ >= 0) Fit(fitMode_);
    }
    Repaint();
}

void CImageViewer::Fit(int mode) {
    fitMode_ = mode;
    const PageInfo* page = CurrentPage();
    if (!page || page->width <= 0 || page->height <= 0) return;
    const bool turned = rotation_ % 180 != 0;
    const double w = turned ? page->height : page->width;
    const double h = turned ? page->width : page->height;
    const RECT client = GetSafeHwnd() ? GetClientRect() : RECT{};
    const double cw = std::max(client.Width(), 1), ch = std::max(client.Height(), 1);
    switch (mode) {
        case 0:
            zoom_ = std::min(cw / w, ch / h);
            break;
        case 1:
            zoom_ = cw / w;
            break;
        case 2:
            zoom_ = ch / h;
            break;
        case 3:
            zoom_ = 1.0;
            break;
        default:
            // Fitting "to the selection" keeps the zoom the selection gave.
            break;
    }
    Repaint();
}

void CImageViewer::ZoomToSelection() {
    if (IsEmpty(selection_)) return;
    const RECT client = GetClientRect();
    zoom_ *= std::min(static_cast<double>(client.Width()) / selection_.Width(),
                      static_cast<double>(client.Height()) / selection_.Height());
    fitMode_ = 4;
    selection_ = RECT{};
    Repaint();
}

void CImageViewer::Rotate(int quarterTurns) {
    rotation_ = ((rotation_ + quarterTurns * 90) % 360 + 360) % 360;
    if (fitMode_ >= 0 && fitMode_ <= 2) Fit(fitMode_);
    if (autoRefresh_) Repaint();
}

void CImageViewer::Blank(int width, int height) {
    blank_ = SIZE{width, height};
    displayed_ = false;
    selection_ = RECT{};
    surface_->Clear();
    Repaint();
}

void CImageViewer::Repaint() {
    ViewerPicture picture;
    picture.shown = displayed_;
    if (!displayed_ && !blank_ && !error_.empty()) picture.message = error_;
    picture.zoom = zoom_;
    picture.rotation = rotation_;
    picture.smooth = scaling_ == kScalingGrey;
    picture.selection = selection_;
    picture.selecting = dragFrom_.has_value();
    surface_->Paint(picture);
}

// ---------------------------------------------------------------------------------------
// The selection rectangle, drawn with the left button

LRESULT CImageViewer::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (message) {
        case WM_LBUTTONDOWN:
            BeginSelection(at);
            return 0;
        case WM_MOUSEMOVE:
            if (dragFrom_) DragSelection(at);
            return 0;
        case WM_LBUTTONUP:
            if (dragFrom_) EndSelection(at);
            return 0;
        case WM_RBUTTONUP: {
            // Button 2 is the right one; no shift keys are reported.
            auto self = weak_from_this().lock();
            FireEvent(kMouseUpEvent, {Variant(std::int32_t{2}), Variant(std::int32_t{0}),
                                      Variant(static_cast<std::int32_t>(at.x)),
                                      Variant(static_cast<std::int32_t>(at.y))});
            return 0;
        }
        default:
            return COleControl::WindowProc(window, message, wParam, lParam);
    }
}

void CImageViewer::BeginSelection(POINT at) {
    if (!selectionAllowed_ || !displayed_) return;
    const bool hadSelection = !IsEmpty(selection_);
    selection_ = RECT{};
    dragFrom_ = at;
    SetCapture();
    if (hadSelection)
        FireEvent(kSelectionRectEvent,
                  {std::int32_t{0}, std::int32_t{0}, std::int32_t{0}, std::int32_t{0}});
    Repaint();
}

void CImageViewer::DragSelection(POINT to) {
    selection_ = Normalized(*dragFrom_, to);
    Repaint();
}

void CImageViewer::EndSelection(POINT at) {
    selection_ = Normalized(*dragFrom_, at);
    dragFrom_.reset();
    platform::GetPlatform().Windows().ReleaseCapture();
    // A click without a drag draws no rectangle.
    if (IsEmpty(selection_)) selection_ = RECT{};
    Repaint();
    FireEvent(kSelectionRectEvent, {static_cast<std::int32_t>(selection_.left),
                                    static_cast<std::int32_t>(selection_.top),
                                    static_cast<std::int32_t>(selection_.Width()),
                                    static_cast<std::int32_t>(selection_.Height())});
}

// ---------------------------------------------------------------------------------------

std::string CImageViewer::Dump() const {
    std::string out = "viewer:";
    if (image_.empty()) return out + " no image";
    out += " " + QuoteString(image_);
    if (const PageInfo* page = CurrentPage()) {
        char text[160];
        std::snprintf(text, sizeof text, " page %ld of %d, %s %dx%d %s %dx%d dpi", page_,
                      file_->PageCount(), PageTypeName(page->type), page->width, page->height,
                      page->compression.c_str(), page->xResolution, page->yResolution);
        out += text;
    } else if (file_) {
        out += " page " + std::to_string(page_) + " of " + std::to_string(file_->PageCount());
    }
    if (blank_) {
        out += ", blank " + std::to_string(blank_->cx) + "x" + std::to_string(blank_->cy);
    } else if (displayed_) {
        char text[120];
        std::snprintf(text, sizeof text, ", shown zoom %.1f%% (%s) scaling %ld rotation %d",
                      zoom_ * 100.0, FitName(fitMode_), scaling_, rotation_);
        out += text;
        out += IsEmpty(selection_)
                   ? ", no selection"
                   : ", selection " + std::to_string(selection_.left) + "," +
                         std::to_string(selection_.top) + "," + std::to_string(selection_.Width()) +
                         "," + std::to_string(selection_.Height());
    } else if (!error_.empty()) {
        out += ", " + QuoteString(error_);
    } else {
        out += ", not shown";
    }
    return out + ", pages decoded " + std::to_string(decodes_);
}

}  // namespace orbel::imaging
