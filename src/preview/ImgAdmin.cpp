#include "src/preview/ImgAdmin.h"

#include "platform/imaging/ImagingIds.h"

namespace orbel {

using namespace imaging::admin;

bool CImgAdmin::Create(const std::string& name, DWORD style, const RECT& rect, HWND parent,
                       UINT id) {
    return CreateControl(imaging::ParsedGuid(imaging::kClsidImgAdminText), name, style, rect,
                         parent, id);
}

std::string CImgAdmin::GetImage() const {
    Variant v = GetProperty(kImage);
    return v.Type() == VarType::BStr ? v.BStr() : std::string();
}

void CImgAdmin::SetImage(const std::string& path) {
    SetProperty(kImage, Variant(path));
}

void CImgAdmin::ShowPrintDialog(long owner) {
    InvokeHelper(kShowPrintDialog, {Variant(static_cast<std::int32_t>(owner))});
}

void CImgAdmin::PrintImage(long firstPage, long lastPage) {
    InvokeHelper(kPrint,
                 {Variant(static_cast<std::int32_t>(firstPage)),
                  Variant(static_cast<std::int32_t>(lastPage)), Variant::Missing(),
                  Variant::Missing(), Variant::Missing(), Variant::Missing(), Variant::Missing()});
}

void CImgAdmin::PrintImage() {
    InvokeHelper(kPrint, std::vector<Variant>(7, Variant::Missing()));
}

}  // namespace orbel
