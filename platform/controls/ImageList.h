// Image lists: numbered images of one size, cut from a bitmap strip and extended with icons.
// Icons are named (an icon theme name or a file, with an index) so that both backends agree on
// what an entry shows.
#pragma once

#include <optional>
#include <string>

namespace orbel::platform {

struct Icon {
    std::string name;
    bool operator==(const Icon&) const = default;
};

class ImageList {
  public:
    virtual ~ImageList();
    virtual int GetImageCount() const = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    // Appends the icon; returns its index, -1 on failure.
    virtual int Add(const Icon& icon) = 0;
    // Puts the icon at the index; an index at the count appends, beyond it fails.
    virtual bool Replace(int index, const Icon& icon) = 0;
    // What the image at the index shows: "STRIP#CELL" for a cell of the strip, the icon's name
    // for an added icon; empty beyond the count.
    virtual std::string Describe(int index) const = 0;
};

}  // namespace orbel::platform
