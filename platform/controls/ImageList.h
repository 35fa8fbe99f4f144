// Image lists: numbered images of one size, cut from a bitmap strip and extended with icons.
// Icons are named (an icon theme name or a file, with an index) so that both backends agree on
// what an entry shows.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

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

// The names of an image list, kept once for every backend: the cells of a strip, then added
// icons. A backend that draws pictures keeps them beside the names, told through PutIcon.
class NamedImageList : public ImageList {
  public:
    // The cells are named "STRIP#CELL".
    NamedImageList(const std::string& strip, int width, int height, int cells);

    int GetImageCount() const override { return static_cast<int>(names_.size()); }
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    int Add(const Icon& icon) override;
    bool Replace(int index, const Icon& icon) override;
    std::string Describe(int index) const override;

  protected:
    // The icon was put at the index, the count before it when it was appended.
    virtual void PutIcon(std::size_t /*index*/, const Icon& /*icon*/) {}

  private:
    int width_;
    int height_;
    std::vector<std::string> names_;
};

}  // namespace orbel::platform
