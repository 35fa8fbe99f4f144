// Writes the blank page template: one white A4 page at 200 dpi, bilevel and CCITT G4 encoded,
// as a fax or scanner would store an empty page. Usage: orbel-blank-page OUT.tif
#include <tiffio.h>

#include <cstdint>
#include <cstdio>
#include <vector>

namespace {
constexpr int kDpi = 200;
// A4 is 210 x 297 mm.
constexpr int kWidth = 1654;
constexpr int kHeight = 2339;
}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: orbel-blank-page OUT.tif\n");
        return 2;
    }
    TIFF* tif = TIFFOpen(argv[1], "w");
    if (!tif) return 1;
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, kWidth);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, kHeight);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 1);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX4);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
    TIFFSetField(tif, TIFFTAG_FILLORDER, FILLORDER_MSB2LSB);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, kHeight);
    TIFFSetField(tif, TIFFTAG_XRESOLUTION, static_cast<float>(kDpi));
    TIFFSetField(tif, TIFFTAG_YRESOLUTION, static_cast<float>(kDpi));
    TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
    // With white as 0, an empty page is all zero bits.
    std::vector<unsigned char> row((kWidth + 7) / 8, 0);
    for (int y = 0; y < kHeight; ++y) {
        if (TIFFWriteScanline(tif, row.data(), static_cast<std::uint32_t>(y), 0) < 0) {
            TIFFClose(tif);
            return 1;
        }
    }
    TIFFClose(tif);
    return 0;
}
