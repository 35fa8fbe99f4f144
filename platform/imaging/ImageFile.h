// An image document as the viewer reads it: which format it is, how many pages it has and
// what each page is (size, kind, compression, resolution), with the pixels of one page decoded
// only when that page is shown. TIFF is read through libtiff, every page of it; BMP, GIF and
// JPEG are recognised here by their headers and decoded by the desktop's image readers.
// Not for: writing images (the scanner writes its own TIFF).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct tiff;

namespace orbel::imaging {

enum class ImageFormat { Tiff, Bmp, Gif, Jpeg, Unsupported };
const char* ImageFormatName(ImageFormat format);

// What a page holds; the numbers are the viewer's page types (1 switches grey scaling on).
enum class PageType : std::int16_t {
    None = 0,
    BlackAndWhite = 1,
    Gray4 = 2,
    Gray8 = 3,
    Palette4 = 4,
    Palette8 = 5,
    Rgb24 = 6,
};
const char* PageTypeName(PageType type);

struct PageInfo {
    int width = 0;
    int height = 0;
    PageType type = PageType::None;
    std::string compression;  // "none", "PackBits", "LZW", "Deflate", "G3", "G4", "JPEG", ...
    int xResolution = 0;      // dots per inch; 0 when the file does not say
    int yResolution = 0;
};

// One page's pixels, 8-bit RGBA, top row first.
struct PageImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // 0xAABBGGRR, as libtiff gives them
};

// A black-and-white page as the file stores it, one bit a pixel, rows padded to whole bytes,
// the first pixel in the top bit.
struct BilevelImage {
    int width = 0;
    int height = 0;
    std::size_t stride = 0;
    bool zeroIsWhite = true;  // else a 0 bit is black
    std::vector<std::uint8_t> bits;
};

// An 8-bit grey image, 0 black, rows of `width` bytes.
struct GreyImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;
};

// A bilevel page made smaller by `zoom` (below 1), each grey the share of white in the block of
// page pixels it stands for: a scanned page read on a screen.
GreyImage ScaleToGrey(const BilevelImage& page, double zoom);

class ImageFile {
  public:
    // The text the viewer shows for a file that no reader here understands.
    static constexpr const char* kCannotShow = "cannot show this image format";

    // Reads the file's format and its pages' descriptions; nothing when it cannot be read, with
    // the reason in `error` (kCannotShow for a format no reader understands).
    static std::unique_ptr<ImageFile> Open(const std::string& path, std::string& error);
    // Only the format, from the file's first bytes and, for formats that share TIFF's header
    // or have no signature, its extension.
    static ImageFormat Detect(const std::string& path);

    ~ImageFile();
    ImageFormat Format() const { return format_; }
    const std::string& Path() const { return path_; }
    int PageCount() const { return static_cast<int>(pages_.size()); }
    // Page 1 is the first. A TIFF page's description is read when it is first asked for, so
    // opening a long file reads no more than its chain of pages.
    const PageInfo& Page(int page) const;

    // Decodes page `page` (from 1) of a TIFF file; nothing for another format or a damaged
    // page, with the reason in `error`.
    std::optional<PageImage> DecodeTiffPage(int page, std::string& error) const;

    // A black-and-white page of a TIFF file in its own bits, an eighth of its pixels' size;
    // nothing for another kind of page or a tiled one, or when it is damaged (with the reason).
    std::optional<BilevelImage> DecodeTiffBilevelPage(int page, std::string& error) const;

  private:
    ImageFile() = default;
    bool SelectTiffPage(int page, std::string& error) const;

    ImageFormat format_ = ImageFormat::Unsupported;
    std::string path_;
    std::unique_ptr<struct tiff, void (*)(struct tiff*)> tiff_{nullptr, nullptr};
    mutable std::vector<std::optional<PageInfo>> pages_;
};

// Only the number of pages, as fast as the format allows (a TIFF's directories are counted,
// not read); 0 when the file cannot be read.
int CountPages(const std::string& path);

}  // namespace orbel::imaging
