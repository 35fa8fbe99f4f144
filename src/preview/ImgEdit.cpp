#include "src/preview/ImgEdit.h"

#include "platform/imaging/ImagingIds.h"

namespace orbel {

using namespace imaging::viewer;

namespace {
long Long(const Variant& v) {
    auto n = v.ChangeType(VarType::I4);
    return n ? n->I4() : 0;
}
std::int32_t I4(long v) {
    return static_cast<std::int32_t>(v);
}
}  // namespace

bool CImgEdit::Create(const std::string& name, DWORD style, const RECT& rect, HWND parent,
                      UINT id) {
    return CreateControl(imaging::ParsedGuid(imaging::kClsidImgEditText), name, style, rect, parent,
                         id);
}

bool CImgEdit::AdviseEvents(std::shared_ptr<IDispatch> sink) {
    return Advise(imaging::ParsedGuid(imaging::kIidViewerEventsText), std::move(sink));
}

std::string CImgEdit::GetImage() const {
    Variant v = GetProperty(kImage);
    return v.Type() == VarType::BStr ? v.BStr() : std::string();
}
void CImgEdit::SetImage(const std::string& path) {
    SetProperty(kImage, Variant(path));
}
void CImgEdit::SetScrollOrigin(long value) {
    SetProperty(kScrollOrigin, Variant(I4(value)));
}
long CImgEdit::GetPage() const {
    return Long(GetProperty(kPage));
}
void CImgEdit::SetPage(long page) {
    SetProperty(kPage, Variant(I4(page)));
}
long CImgEdit::GetDisplayScaleAlgorithm() const {
    return Long(GetProperty(kDisplayScaling));
}
void CImgEdit::SetDisplayScaleAlgorithm(long scaling) {
    SetProperty(kDisplayScaling, Variant(I4(scaling)));
}
bool CImgEdit::GetImageDisplayed() const {
    Variant v = GetProperty(kImageDisplayed);
    return v.Type() == VarType::Bool && v.Bool();
}
long CImgEdit::GetImageResolutionX() const {
    return Long(GetProperty(kXResolution));
}
long CImgEdit::GetImageResolutionY() const {
    return Long(GetProperty(kYResolution));
}
long CImgEdit::GetPageCount() const {
    return Long(GetProperty(kPageCount));
}
void CImgEdit::SetSelectionRectangle(bool allowed) {
    SetProperty(kSelectionAllowed, Variant(allowed));
}
short CImgEdit::GetPageType() const {
    return static_cast<short>(Long(GetProperty(kPageType)));
}
void CImgEdit::SetAutoRefresh(bool refresh) {
    SetProperty(kAutoRefresh, Variant(refresh));
}

void CImgEdit::Display() {
    InvokeHelper(kDisplay);
}
void CImgEdit::Refresh() {
    InvokeHelper(kRefresh);
}
void CImgEdit::RotateLeft() {
    InvokeHelper(kRotateLeft, {Variant::Missing()});
}
void CImgEdit::RotateRight() {
    InvokeHelper(kRotateRight, {Variant::Missing()});
}
void CImgEdit::ZoomToSelection() {
    InvokeHelper(kZoomToSelection);
}
void CImgEdit::DisplayBlankImage(long width, long height, long xResolution, long yResolution,
                                 short pageType) {
    InvokeHelper(kDisplayBlank, {Variant(I4(width)), Variant(I4(height)), Variant(I4(xResolution)),
                                 Variant(I4(yResolution)), Variant(std::int32_t{pageType})});
}
void CImgEdit::FitTo(short mode, bool repaint) {
    InvokeHelper(kFit, {Variant(std::int32_t{mode}), Variant(repaint)});
}
std::string CImgEdit::Dump() {
    Variant v = InvokeHelper(kDump);
    return v.Type() == VarType::BStr ? v.BStr() : std::string("viewer: none");
}

}  // namespace orbel
