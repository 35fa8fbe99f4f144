#include "platform/controls/ImageList.h"

namespace orbel::platform {

NamedImageList::NamedImageList(const std::string& strip, int width, int height, int cells)
    : width_(width), height_(height) {
    for (int i = 0; i < cells; ++i) names_.push_back(strip + "#" + std::to_string(i));
}

int NamedImageList::Add(const Icon& icon) {
    PutIcon(names_.size(), icon);
    names_.push_back(icon.name);
    return GetImageCount() - 1;
}

bool NamedImageList::Replace(int index, const Icon& icon) {
    if (index < 0 || index > GetImageCount()) return false;
    const auto at = static_cast<std::size_t>(index);
    PutIcon(at, icon);
    if (at == names_.size())
        names_.push_back(icon.name);
    else
        names_[at] = icon.name;
    return true;
}

std::string NamedImageList::Describe(int index) const {
    if (index < 0 || index >= GetImageCount()) return {};
    return names_[static_cast<std::size_t>(index)];
}

}  // namespace orbel::platform
