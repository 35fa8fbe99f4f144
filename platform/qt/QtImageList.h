// Image lists on the desktop: the same names as the headless lists (so Describe agrees on both
// backends), each with the picture Qt draws for it. Strip cells take icons from the desktop's
// icon theme by what the cell shows; added icons are theme names or "FILE,INDEX".
#pragma once

#include <QIcon>
#include <QPixmap>
#include <string>
#include <vector>

#include "platform/controls/ImageList.h"

namespace orbel::platform {

class QtImageList final : public NamedImageList {
  public:
    QtImageList(const std::string& strip, int width, int height, int cells);
    // A list of one picture made by a control (a drag image), named as a strip of one cell.
    QtImageList(const std::string& strip, const QPixmap& picture);

    // The picture at the index; a null icon beyond the count or for an empty name.
    QIcon IconAt(int index) const;
    QSize Size() const { return QSize(Width(), Height()); }

  private:
    void PutIcon(std::size_t index, const Icon& icon) override;

    std::vector<QIcon> icons_;  // by image
};

// The desktop picture of an icon name: "FILE,INDEX" is the icon of that file (or, when there is
// no such file, the theme icon named FILE); anything else is a theme icon. Never null for a
// name that is not empty: a drawn stand-in replaces what the theme lacks.
QIcon IconFromName(const std::string& name, QSize size);

// Gives the process an icon theme when the desktop set none (no desktop session, offscreen), so
// that theme names find pictures; does nothing when a theme is set.
void EnsureIconTheme();

// The Qt image list behind an image list, or null for one of another backend.
const QtImageList* AsQtImageList(const ImageList* images);

}  // namespace orbel::platform
