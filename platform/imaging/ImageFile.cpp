#include "platform/imaging/ImageFile.h"

#include <tiffio.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <fstream>
#include <map>
#include <mutex>
#include <thread>

#include "platform/text/AsciiCase.h"

namespace orbel::imaging {

namespace {

// libtiff reports through process-wide handlers; the last error of each thread is kept so
// that a failed call can say why, and nothing is printed on the terminal. Kept in a table, not
// in thread-local storage: this module is loaded into programs at run time, where thread-local
// storage of its own is set up late and trips the sanitizers' leak check.
class TiffErrors {
  public:
    void Clear() { Set({}); }
    void Set(std::string text) {
        const std::lock_guard lock(mutex_);
        last_[std::this_thread::get_id()] = std::move(text);
    }
    std::string Or(const char* otherwise) {
        const std::lock_guard lock(mutex_);
        const auto it = last_.find(std::this_thread::get_id());
        return it == last_.end() || it->second.empty() ? otherwise : it->second;
    }

  private:
    std::mutex mutex_;
    std::map<std::thread::id, std::string> last_;
};

TiffErrors& TiffError() {
    static TiffErrors errors;
    return errors;
}

void OnTiffError(const char* module, const char* format, va_list args) {
    char text[512];
    std::vsnprintf(text, sizeof text, format, args);
    TiffError().Set(module ? std::string(module) + ": " + text : std::string(text));
}

void OnTiffWarning(const char*, const char*, va_list) {}

void QuietTiff() {
    static std::once_flag once;
    std::call_once(once, [] {
        TIFFSetErrorHandler(OnTiffError);
        TIFFSetWarningHandler(OnTiffWarning);
    });
}

struct TiffCloser {
    void operator()(TIFF* tif) const { TIFFClose(tif); }
};
using TiffHandle = std::unique_ptr<TIFF, TiffCloser>;

TiffHandle OpenTiff(const std::string& path, std::string& error) {
    QuietTiff();
    TiffError().Clear();
    TiffHandle tif(TIFFOpen(path.c_str(), "r"));
    if (!tif) error = TiffError().Or("the file cannot be read");
    return tif;
}

std::string CompressionName(uint16_t c) {
    switch (c) {
        case COMPRESSION_NONE:
            return "none";
        case COMPRESSION_PACKBITS:
            return "PackBits";
        case COMPRESSION_LZW:
            return "LZW";
        case COMPRESSION_ADOBE_DEFLATE:
        case COMPRESSION_DEFLATE:
            return "Deflate";
        case COMPRESSION_CCITTRLE:
            return "CCITT RLE";
        case COMPRESSION_CCITTFAX3:
            return "G3";
        case COMPRESSION_CCITTFAX4:
            return "G4";
        case COMPRESSION_JPEG:
        case COMPRESSION_OJPEG:
            return "JPEG";
        default:
            return "compression " + std::to_string(c);
    }
}

PageType TypeFor(uint16_t photometric, uint16_t bits, uint16_t samples) {
    if (samples >= 3 || photometric == PHOTOMETRIC_RGB || photometric == PHOTOMETRIC_YCBCR ||
        photometric == PHOTOMETRIC_SEPARATED)
        return PageType::Rgb24;
    if (bits == 1) return PageType::BlackAndWhite;
    if (photometric == PHOTOMETRIC_PALETTE)
        return bits <= 4 ? PageType::Palette4 : PageType::Palette8;
    return bits <= 4 ? PageType::Gray4 : PageType::Gray8;
}

int Dpi(float value, uint16_t unit) {
    if (value <= 0) return 0;
    // A resolution in dots per centimetre is given in inches; one without a unit is a ratio.
    if (unit == RESUNIT_CENTIMETER) value *= 2.54f;
    if (unit == RESUNIT_NONE) return 0;
    return static_cast<int>(std::lround(value));
}

PageInfo ReadTiffDirectory(TIFF* tif) {
    PageInfo p;
    uint32_t w = 0, h = 0;
    uint16_t bits = 1, samples = 1, photometric = PHOTOMETRIC_MINISWHITE,
             compression = COMPRESSION_NONE, unit = RESUNIT_INCH;
    float xres = 0, yres = 0;
    TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &w);
    TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &h);
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric);
    TIFFGetFieldDefaulted(tif, TIFFTAG_COMPRESSION, &compression);
    TIFFGetFieldDefaulted(tif, TIFFTAG_RESOLUTIONUNIT, &unit);
    TIFFGetField(tif, TIFFTAG_XRESOLUTION, &xres);
    TIFFGetField(tif, TIFFTAG_YRESOLUTION, &yres);
    p.width = static_cast<int>(w);
    p.height = static_cast<int>(h);
    p.type = TypeFor(photometric, bits, samples);
    p.compression = CompressionName(compression);
    p.xResolution = Dpi(xres, unit);
    p.yResolution = Dpi(yres, unit);
    return p;
}

std::string Extension(const std::string& path) {
    const auto slash = path.find_last_of("/\\");
    const auto dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    return FoldedAscii(path.substr(dot + 1));
}

std::vector<unsigned char> ReadHead(const std::string& path, std::size_t size) {
    std::ifstream in(path, std::ios::binary);
    std::vector<unsigned char> head(size);
    in.read(reinterpret_cast<char*>(head.data()), static_cast<std::streamsize>(size));
    head.resize(static_cast<std::size_t>(std::max<std::streamsize>(in.gcount(), 0)));
    return head;
}

unsigned U16le(const std::vector<unsigned char>& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8);
}
unsigned U16be(const std::vector<unsigned char>& b, std::size_t at) {
    return (b[at] << 8) | b[at + 1];
}
std::int32_t I32le(const std::vector<unsigned char>& b, std::size_t at) {
    return static_cast<std::int32_t>(b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) |
                                     (static_cast<unsigned>(b[at + 3]) << 24));
}

std::optional<PageInfo> BmpPage(const std::vector<unsigned char>& b) {
    if (b.size() < 46) return std::nullopt;
    PageInfo p;
    p.width = I32le(b, 18);
    p.height = std::abs(I32le(b, 22));
    const unsigned bits = U16le(b, 28);
    p.type = bits == 1   ? PageType::BlackAndWhite
             : bits == 4 ? PageType::Palette4
             : bits == 8 ? PageType::Palette8
                         : PageType::Rgb24;
    p.compression = I32le(b, 30) == 0 ? "none" : "RLE";
    // Pixels per metre.
    p.xResolution = static_cast<int>(std::lround(I32le(b, 38) * 0.0254));
    p.yResolution = static_cast<int>(std::lround(I32le(b, 42) * 0.0254));
    return p;
}

std::optional<PageInfo> GifPage(const std::vector<unsigned char>& b) {
    if (b.size() < 10) return std::nullopt;
    PageInfo p;
    p.width = static_cast<int>(U16le(b, 6));
    p.height = static_cast<int>(U16le(b, 8));
    p.type = PageType::Palette8;
    p.compression = "LZW";
    return p;
}

// The frame header's size; the density of a JFIF header when there is one.
std::optional<PageInfo> JpegPage(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<unsigned char> b((std::istreambuf_iterator<char>(in)), {});
    PageInfo p;
    p.compression = "JPEG";
    std::size_t at = 2;
    while (at + 4 <= b.size()) {
        if (b[at] != 0xFF) return std::nullopt;
        const unsigned marker = b[at + 1];
        if (marker == 0xFF) {
            ++at;
            continue;
        }
        const std::size_t length = U16be(b, at + 2);
        if (marker == 0xE0 && at + 16 <= b.size() &&
            std::equal(b.begin() + at + 4, b.begin() + at + 9, "JFIF")) {
            const unsigned unit = b[at + 11];
            const double x = U16be(b, at + 12), y = U16be(b, at + 14);
            const double perInch = unit == 1 ? 1.0 : unit == 2 ? 2.54 : 0.0;
            p.xResolution = static_cast<int>(std::lround(x * perInch));
            p.yResolution = static_cast<int>(std::lround(y * perInch));
        }
        const bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame && at + 10 <= b.size()) {
            p.height = static_cast<int>(U16be(b, at + 5));
            p.width = static_cast<int>(U16be(b, at + 7));
            p.type = b[at + 9] == 1 ? PageType::Gray8 : PageType::Rgb24;
            return p;
        }
        at += 2 + length;
    }
    return std::nullopt;
}

}  // namespace

const char* ImageFormatName(ImageFormat format) {
    switch (format) {
        case ImageFormat::Tiff:
            return "TIFF";
        case ImageFormat::Bmp:
            return "BMP";
        case ImageFormat::Gif:
            return "GIF";
        case ImageFormat::Jpeg:
            return "JPEG";
        case ImageFormat::Unsupported:
            break;
    }
    return "unsupported";
}

const char* PageTypeName(PageType type) {
    switch (type) {
        case PageType::BlackAndWhite:
            return "black-and-white";
        case PageType::Gray4:
            return "grey 4-bit";
        case PageType::Gray8:
            return "grey 8-bit";
        case PageType::Palette4:
            return "palette 4-bit";
        case PageType::Palette8:
            return "palette 8-bit";
        case PageType::Rgb24:
            return "colour 24-bit";
        case PageType::None:
            break;
    }
    return "none";
}

ImageFormat ImageFile::Detect(const std::string& path) {
    // Fax archives, multi-page PCX, PCX and the extended TIFF variant have no reader on this
    // system; the last shares TIFF's header, so the extension decides first.
    static constexpr std::array<const char*, 4> kUnreadable = {"awd", "dcx", "pcx", "xif"};
    const std::string ext = Extension(path);
    for (const char* e : kUnreadable)
        if (ext == e) return ImageFormat::Unsupported;
    const auto b = ReadHead(path, 4);
    if (b.size() >= 4 && ((b[0] == 'I' && b[1] == 'I' && b[2] == 42 && b[3] == 0) ||
                          (b[0] == 'M' && b[1] == 'M' && b[2] == 0 && b[3] == 42)))
        return ImageFormat::Tiff;
    if (b.size() >= 2 && b[0] == 'B' && b[1] == 'M') return ImageFormat::Bmp;
    if (b.size() >= 4 && b[0] == 'G' && b[1] == 'I' && b[2] == 'F' && b[3] == '8')
        return ImageFormat::Gif;
    if (b.size() >= 3 && b[0] == 0xFF && b[1] == 0xD8 && b[2] == 0xFF) return ImageFormat::Jpeg;
    return ImageFormat::Unsupported;
}

ImageFile::~ImageFile() = default;

std::unique_ptr<ImageFile> ImageFile::Open(const std::string& path, std::string& error) {
    if (!std::ifstream(path, std::ios::binary)) {
        error = "the file cannot be read";
        return nullptr;
    }
    std::unique_ptr<ImageFile> file(new ImageFile);
    file->path_ = path;
    file->format_ = Detect(path);
    std::optional<PageInfo> single;
    switch (file->format_) {
        case ImageFormat::Tiff: {
            TiffHandle tif = OpenTiff(path, error);
            if (!tif) return nullptr;
            file->pages_.resize(TIFFNumberOfDirectories(tif.get()));
            file->pages_.front() = ReadTiffDirectory(tif.get());
            file->tiff_ = {tif.release(), [](TIFF* t) { TIFFClose(t); }};
            return file;
        }
        case ImageFormat::Bmp:
            single = BmpPage(ReadHead(path, 54));
            break;
        case ImageFormat::Gif:
            single = GifPage(ReadHead(path, 10));
            break;
        case ImageFormat::Jpeg:
            single = JpegPage(path);
            break;
        case ImageFormat::Unsupported:
            error = kCannotShow;
            return nullptr;
    }
    if (!single || single->width <= 0 || single->height <= 0) {
        error = std::string("the ") + ImageFormatName(file->format_) + " file is damaged";
        return nullptr;
    }
    file->pages_.push_back(*single);
    return file;
}

std::optional<PageImage> ImageFile::DecodeTiffPage(int page, std::string& error) const {
    if (format_ != ImageFormat::Tiff || page < 1 || page > PageCount()) {
        error = "no such page";
        return std::nullopt;
    }
    if (!SelectTiffPage(page, error)) return std::nullopt;
    const PageInfo& info = Page(page);
    PageImage image;
    image.width = info.width;
    image.height = info.height;
    image.pixels.resize(static_cast<std::size_t>(info.width) * info.height);
    TiffError().Clear();
    if (!TIFFReadRGBAImageOriented(tiff_.get(), static_cast<uint32_t>(info.width),
                                   static_cast<uint32_t>(info.height), image.pixels.data(),
                                   ORIENTATION_TOPLEFT, 1)) {
        error = TiffError().Or("the page is damaged");
        return std::nullopt;
    }
    return image;
}

std::optional<BilevelImage> ImageFile::DecodeTiffBilevelPage(int page, std::string& error) const {
    if (format_ != ImageFormat::Tiff || page < 1 || page > PageCount() ||
        Page(page).type != PageType::BlackAndWhite) {
        error = "not a black-and-white page";
        return std::nullopt;
    }
    if (!SelectTiffPage(page, error)) return std::nullopt;
    TIFF* tif = tiff_.get();
    uint16_t photometric = PHOTOMETRIC_MINISWHITE;
    TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric);
    if (TIFFIsTiled(tif) || TIFFScanlineSize(tif) <= 0) {
        error = "not a page of strips";
        return std::nullopt;
    }
    BilevelImage image;
    image.width = Page(page).width;
    image.height = Page(page).height;
    image.stride = static_cast<std::size_t>(TIFFScanlineSize(tif));
    image.zeroIsWhite = photometric == PHOTOMETRIC_MINISBLACK ? false : true;
    image.bits.resize(image.stride * static_cast<std::size_t>(image.height));
    TiffError().Clear();
    for (int y = 0; y < image.height; ++y) {
        if (TIFFReadScanline(tif, image.bits.data() + image.stride * static_cast<std::size_t>(y),
                             static_cast<uint32_t>(y), 0) < 0) {
            error = TiffError().Or("the page is damaged");
            return std::nullopt;
        }
    }
    return image;
}

bool ImageFile::SelectTiffPage(int page, std::string& error) const {
    TiffError().Clear();
    if (TIFFCurrentDirectory(tiff_.get()) == static_cast<tdir_t>(page - 1)) return true;
    if (TIFFSetDirectory(tiff_.get(), static_cast<tdir_t>(page - 1))) return true;
    error = TiffError().Or("no such page");
    return false;
}

const PageInfo& ImageFile::Page(int page) const {
    auto& slot = pages_.at(static_cast<std::size_t>(page - 1));
    if (!slot) {
        std::string error;
        // A page whose directory cannot be read is described as empty, and its decoding says
        // why.
        slot = SelectTiffPage(page, error) ? ReadTiffDirectory(tiff_.get()) : PageInfo{};
    }
    return *slot;
}

GreyImage ScaleToGrey(const BilevelImage& page, double zoom) {
    GreyImage out;
    out.width = std::max(1, static_cast<int>(std::lround(page.width * zoom)));
    out.height = std::max(1, static_cast<int>(std::lround(page.height * zoom)));
    out.pixels.assign(static_cast<std::size_t>(out.width) * out.height, 255);
    if (page.width <= 0 || page.height <= 0) return out;
    // The column of the output each page column falls in, and how many page columns each has.
    std::vector<int> columnOf(static_cast<std::size_t>(page.width));
    std::vector<int> columnWidth(static_cast<std::size_t>(out.width), 0);
    for (int x = 0; x < page.width; ++x) {
        const int ox = static_cast<int>(static_cast<long long>(x) * out.width / page.width);
        columnOf[static_cast<std::size_t>(x)] = ox;
        ++columnWidth[static_cast<std::size_t>(ox)];
    }
    std::vector<std::uint32_t> black(static_cast<std::size_t>(out.width));
    const std::uint8_t blackBit = page.zeroIsWhite ? 1 : 0;
    int y = 0;
    for (int oy = 0; oy < out.height; ++oy) {
        const int yEnd =
            static_cast<int>(static_cast<long long>(oy + 1) * page.height / out.height);
        const int rows = yEnd - y;
        std::fill(black.begin(), black.end(), 0u);
        for (; y < yEnd; ++y) {
            const std::uint8_t* row = page.bits.data() + page.stride * static_cast<std::size_t>(y);
            for (std::size_t i = 0; i < page.stride; ++i) {
                // A byte of white, the most of a page, is passed over whole.
                const std::uint8_t b = blackBit ? row[i] : static_cast<std::uint8_t>(~row[i]);
                if (b == 0) continue;
                for (int bit = 0; bit < 8; ++bit) {
                    const std::size_t x = i * 8 + static_cast<std::size_t>(bit);
                    if (x >= columnOf.size()) break;
                    if (b & (0x80 >> bit)) ++black[static_cast<std::size_t>(columnOf[x])];
                }
            }
        }
        std::uint8_t* dst = out.pixels.data() + static_cast<std::size_t>(oy) * out.width;
        for (int ox = 0; ox < out.width; ++ox) {
            const std::uint32_t area = static_cast<std::uint32_t>(
                std::max(1, columnWidth[static_cast<std::size_t>(ox)] * std::max(rows, 1)));
            dst[ox] =
                static_cast<std::uint8_t>(255 - black[static_cast<std::size_t>(ox)] * 255 / area);
        }
    }
    return out;
}

int CountPages(const std::string& path) {
    switch (ImageFile::Detect(path)) {
        case ImageFormat::Tiff: {
            std::string error;
            TiffHandle tif = OpenTiff(path, error);
            return tif ? static_cast<int>(TIFFNumberOfDirectories(tif.get())) : 0;
        }
        case ImageFormat::Unsupported:
            return 0;
        default: {
            std::string error;
            auto file = ImageFile::Open(path, error);
            return file ? file->PageCount() : 0;
        }
    }
}

}  // namespace orbel::imaging
