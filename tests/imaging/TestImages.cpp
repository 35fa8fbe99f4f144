#include "tests/imaging/TestImages.h"

#include <sys/wait.h>
#include <tiffio.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

namespace orbel::test {

namespace {
struct Closer {
    void operator()(TIFF* t) const { TIFFClose(t); }
};

// Rows of stripes that differ from page to page.
std::vector<std::uint8_t> Row(const TiffPage& p, int y, int page) {
    const std::size_t bytes = (static_cast<std::size_t>(p.width) * p.bits * p.samples + 7) / 8;
    std::vector<std::uint8_t> row(bytes);
    for (std::size_t i = 0; i < bytes; ++i)
        row[i] = static_cast<std::uint8_t>(((y / 4 + page) % 2) ? 0xF0 : 0x0F) ^
                 static_cast<std::uint8_t>(i * 7);
    return row;
}
}  // namespace

bool WriteTiff(const std::string& path, const std::vector<TiffPage>& pages) {
    std::unique_ptr<TIFF, Closer> tif(TIFFOpen(path.c_str(), "w"));
    if (!tif) return false;
    TIFF* t = tif.get();
    int index = 0;
    for (const TiffPage& p : pages) {
        TIFFSetField(t, TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(p.width));
        TIFFSetField(t, TIFFTAG_IMAGELENGTH, static_cast<uint32_t>(p.height));
        TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, static_cast<uint16_t>(p.bits));
        TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, static_cast<uint16_t>(p.samples));
        TIFFSetField(t, TIFFTAG_PHOTOMETRIC, static_cast<uint16_t>(p.photometric));
        TIFFSetField(t, TIFFTAG_COMPRESSION, static_cast<uint16_t>(p.compression));
        TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
        TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, static_cast<uint32_t>(p.height));
        TIFFSetField(t, TIFFTAG_XRESOLUTION, p.xResolution);
        TIFFSetField(t, TIFFTAG_YRESOLUTION, p.yResolution);
        TIFFSetField(t, TIFFTAG_RESOLUTIONUNIT, static_cast<uint16_t>(p.resolutionUnit));
        TIFFSetField(t, TIFFTAG_SUBFILETYPE, FILETYPE_PAGE);
        TIFFSetField(t, TIFFTAG_PAGENUMBER, static_cast<uint16_t>(index),
                     static_cast<uint16_t>(pages.size()));
        std::vector<uint16_t> map;
        if (p.photometric == PHOTOMETRIC_PALETTE) {
            map.resize(std::size_t{1} << p.bits);
            for (std::size_t i = 0; i < map.size(); ++i)
                map[i] = static_cast<uint16_t>(i * 65535 / (map.size() - 1));
            TIFFSetField(t, TIFFTAG_COLORMAP, map.data(), map.data(), map.data());
        }
        for (int y = 0; y < p.height; ++y) {
            auto row = Row(p, y, index);
            if (TIFFWriteScanline(t, row.data(), static_cast<uint32_t>(y), 0) < 0) return false;
        }
        if (!TIFFWriteDirectory(t)) return false;
        ++index;
    }
    return true;
}

bool WriteBilevelTiff(const std::string& path, int count, int width, int height) {
    TiffPage page;
    page.width = width;
    page.height = height;
    page.compression = COMPRESSION_CCITTFAX4;
    return WriteTiff(path, std::vector<TiffPage>(static_cast<std::size_t>(count), page));
}

bool WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    return bool(out);
}

bool WriteBmp(const std::string& path, int width, int height) {
    const int rowBytes = (width * 3 + 3) / 4 * 4;
    const int imageBytes = rowBytes * height;
    std::string b;
    auto u16 = [&](unsigned v) {
        b += static_cast<char>(v & 0xFF);
        b += static_cast<char>((v >> 8) & 0xFF);
    };
    auto u32 = [&](unsigned v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    };
    b += "BM";
    u32(54 + imageBytes);
    u32(0);
    u32(54);
    u32(40);
    u32(static_cast<unsigned>(width));
    u32(static_cast<unsigned>(height));
    u16(1);
    u16(24);
    u32(0);
    u32(static_cast<unsigned>(imageBytes));
    u32(3937);  // 100 dpi in pixels per metre
    u32(3937);
    u32(0);
    u32(0);
    b += std::string(static_cast<std::size_t>(imageBytes), '\x7f');
    return WriteBytes(path, b);
}

bool WriteGif(const std::string& path) {
    // One white pixel, as the smallest GIF writers make it.
    static const unsigned char kGif[] = {'G', 'I',  'F',  '8',  '9', 'a', 3, 0,    2,    0, 0x80, 0,
                                         0,   0xFF, 0xFF, 0xFF, 0,   0,   0, 0x2C, 0,    0, 0,    0,
                                         3,   0,    2,    0,    0,   2,   2, 0x44, 0x01, 0, 0x3B};
    return WriteBytes(path, std::string(reinterpret_cast<const char*>(kGif), sizeof kGif));
}

void UseSaneTestScanners(bool present) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / (present ? "orbel-sane-test" : "orbel-sane-none");
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "dll.conf") << (present ? "test\n" : "");
    // The trailing ":" keeps SANE's own folders after it, for the test backend's defaults.
    setenv("SANE_CONFIG_DIR", (dir.string() + ":").c_str(), 1);
}

int PdfPageCount(const std::string& path) {
    int out[2];
    if (::pipe(out) != 0) return -1;
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(out[1], 1);
        ::close(out[0]);
        ::close(out[1]);
        ::execlp("pdfinfo", "pdfinfo", path.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(out[1]);
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = ::read(out[0], buffer, sizeof buffer)) > 0;) text.append(buffer, n);
    ::close(out[0]);
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0)
        return -1;
    const auto at = text.find("\nPages:");
    return at == std::string::npos ? -1 : std::atoi(text.c_str() + at + 8);
}

}  // namespace orbel::test
