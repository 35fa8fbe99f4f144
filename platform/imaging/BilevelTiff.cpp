#include "platform/imaging/BilevelTiff.h"

#include <tiffio.h>

#include <memory>
#include <vector>

namespace orbel::platform {

bool WriteBilevelTiff(
    const std::string& path, const BilevelPages& shape,
    const std::function<void(int page, int y, std::span<std::uint8_t> row)>& fillRow) {
    std::unique_ptr<TIFF, void (*)(TIFF*)> tif(TIFFOpen(path.c_str(), "w"),
                                               [](TIFF* t) { TIFFClose(t); });
    if (!tif) return false;
    TIFF* t = tif.get();
    std::vector<std::uint8_t> row(static_cast<std::size_t>((shape.width + 7) / 8));
    for (int page = 0; page < shape.pages; ++page) {
        TIFFSetField(t, TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(shape.width));
        TIFFSetField(t, TIFFTAG_IMAGELENGTH, static_cast<uint32_t>(shape.height));
        TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, uint16_t{1});
        TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, uint16_t{1});
        TIFFSetField(t, TIFFTAG_PHOTOMETRIC, uint16_t{PHOTOMETRIC_MINISWHITE});
        TIFFSetField(t, TIFFTAG_COMPRESSION, uint16_t{COMPRESSION_CCITTFAX4});
        TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, static_cast<uint32_t>(shape.height));
        TIFFSetField(t, TIFFTAG_XRESOLUTION, shape.dpi);
        TIFFSetField(t, TIFFTAG_YRESOLUTION, shape.dpi);
        TIFFSetField(t, TIFFTAG_RESOLUTIONUNIT, uint16_t{RESUNIT_INCH});
        TIFFSetField(t, TIFFTAG_SUBFILETYPE, FILETYPE_PAGE);
        TIFFSetField(t, TIFFTAG_PAGENUMBER, static_cast<uint16_t>(page),
                     static_cast<uint16_t>(shape.pages));
        for (int y = 0; y < shape.height; ++y) {
            fillRow(page, y, row);
            if (TIFFWriteScanline(t, row.data(), static_cast<uint32_t>(y), 0) < 0) return false;
        }
        if (!TIFFWriteDirectory(t)) return false;
    }
    return true;
}

}  // namespace orbel::platform
