// Writes the demo's sample scans: a three-page bilevel TIFF of an invoice, or with `letter` a
// two-page letter, one page per directory as a scanner's batch writes them.
// Usage: orbel-sample-tiff OUT.tif [letter]
#include <tiffio.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string_view>
#include <vector>

namespace {

constexpr int kWidth = 850;  // a letter page at 100 dpi
constexpr int kHeight = 1100;
constexpr int kInvoicePages = 3;
constexpr int kLetterPages = 2;

// The characters the pages need, 5 x 7, one row per byte, the leftmost column in bit 4.
struct Glyph {
    char c;
    std::array<std::uint8_t, 7> rows;
};
constexpr Glyph kFont[] = {
    {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}},
    {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}},
    {'3', {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}},
    {'4', {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}},
    {'6', {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}},
    {'7', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}},
    {'A', {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
    {'B', {0x1E, 0x11, 0x11, 0x1E, 0x11, 0x11, 0x1E}},
    {'C', {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E}},
    {'E', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}},
    {'F', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10}},
    {'G', {0x0E, 0x11, 0x10, 0x17, 0x11, 0x11, 0x0F}},
    {'D', {0x1C, 0x12, 0x11, 0x11, 0x11, 0x12, 0x1C}},
    {'I', {0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'L', {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F}},
    {'N', {0x11, 0x19, 0x15, 0x13, 0x11, 0x11, 0x11}},
    {'O', {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}},
    {'P', {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10}},
    {'R', {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11}},
    {'T', {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04}},
    {'V', {0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04}},
};

// One page in memory, a byte per pixel (1 black), packed when written.
class Page {
  public:
    Page() : pixels_(static_cast<std::size_t>(kWidth) * kHeight, 0) {}

    void Fill(int x, int y, int w, int h) {
        for (int row = std::max(0, y); row < std::min(kHeight, y + h); ++row)
            for (int col = std::max(0, x); col < std::min(kWidth, x + w); ++col)
                pixels_[static_cast<std::size_t>(row) * kWidth + col] = 1;
    }
    void Frame(int x, int y, int w, int h, int t) {
        Fill(x, y, w, t);
        Fill(x, y + h - t, w, t);
        Fill(x, y, t, h);
        Fill(x + w - t, y, t, h);
    }
    // Text in the 5 x 7 font, each dot `scale` pixels square.
    void Text(int x, int y, std::string_view text, int scale) {
        for (char c : text) {
            for (const Glyph& g : kFont) {
                if (g.c != c) continue;
                for (int row = 0; row < 7; ++row)
                    for (int col = 0; col < 5; ++col)
                        if (g.rows[row] & (0x10 >> col))
                            Fill(x + col * scale, y + row * scale, scale, scale);
            }
            x += 6 * scale;
        }
    }
    // Row `y` packed eight pixels a byte, the first in the high bit, 1 black.
    std::vector<std::uint8_t> Packed(int y) const {
        std::vector<std::uint8_t> out((kWidth + 7) / 8, 0);
        for (int x = 0; x < kWidth; ++x)
            if (pixels_[static_cast<std::size_t>(y) * kWidth + x])
                out[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        return out;
    }

  private:
    std::vector<std::uint8_t> pixels_;
};

void Footer(Page& page, int number, int pages) {
    char footer[16];
    std::snprintf(footer, sizeof footer, "PAGE %d OF %d", number, pages);
    page.Text(kWidth / 2 - 140, kHeight - 120, footer, 4);
}

Page DrawInvoicePage(int number) {
    Page page;
    page.Frame(40, 40, kWidth - 80, kHeight - 80, 3);
    page.Text(80, 90, "INVOICE 4711", 8);
    page.Fill(80, 170, kWidth - 160, 4);
    // Lines of "text", shorter towards the end of each paragraph, as a scan shows them.
    for (int line = 0; line < 24; ++line) {
        const int y = 220 + line * 28 + (line / 6) * 20;
        const int length = (line % 6 == 5) ? 260 + 40 * number : kWidth - 160 - (line * 37) % 90;
        page.Fill(80, y, length, 10);
    }
    Footer(page, number, kInvoicePages);
    return page;
}

// A letter: the sender's block and the date on the first page, then paragraphs running on to
// the second, which ends with the signature.
Page DrawLetterPage(int number) {
    Page page;
    if (number == 1) {
        page.Text(80, 80, "ORBEL", 6);
        for (int line = 0; line < 3; ++line) page.Fill(80, 140 + line * 22, 220, 8);
        page.Text(kWidth - 300, 140, "0 4 2026", 4);
        page.Text(80, 260, "LETTER", 8);
    } else {
        // A continuation sheet says whose letter and which page it is.
        char header[24];
        std::snprintf(header, sizeof header, "LETTER  PAGE %d", number);
        page.Text(80, 50, header, 4);
    }
    const int top = number == 1 ? 360 : 100;
    const int lines = number == 1 ? 20 : 14;
    for (int line = 0; line < lines; ++line) {
        const int y = top + line * 28 + (line / 5) * 24;
        const int length = (line % 5 == 4) ? 200 + 60 * number : kWidth - 160 - (line * 53) % 120;
        page.Fill(80, y, length, 10);
    }
    if (number == kLetterPages) {
        // The signature: a few strokes of the pen.
        for (int x = 0; x < 220; ++x) {
            const int y = 760 + static_cast<int>(18.0 * ((x / 12) % 2 ? 1 : -1) * (x % 12) / 12.0);
            page.Fill(100 + x, y, 3, 3);
        }
        page.Text(100, 810, "DIRECTOR", 3);
    }
    Footer(page, number, kLetterPages);
    return page;
}

bool WritePage(TIFF* tif, const Page& page, int number, int pages) {
    TIFFSetField(tif, TIFFTAG_SUBFILETYPE, FILETYPE_PAGE);
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, kWidth);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, kHeight);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 1);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX4);
    TIFFSetField(tif, TIFFTAG_FILLORDER, FILLORDER_MSB2LSB);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, kHeight);
    TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
    TIFFSetField(tif, TIFFTAG_XRESOLUTION, 100.0f);
    TIFFSetField(tif, TIFFTAG_YRESOLUTION, 100.0f);
    TIFFSetField(tif, TIFFTAG_PAGENUMBER, static_cast<std::uint16_t>(number - 1),
                 static_cast<std::uint16_t>(pages));
    TIFFSetField(tif, TIFFTAG_SOFTWARE, "orbel-sample-tiff");
    for (int y = 0; y < kHeight; ++y) {
        std::vector<std::uint8_t> row = page.Packed(y);
        if (TIFFWriteScanline(tif, row.data(), static_cast<std::uint32_t>(y), 0) < 0) return false;
    }
    return TIFFWriteDirectory(tif) == 1;
}

}  // namespace

int main(int argc, char** argv) {
    const bool letter = argc == 3 && std::string_view(argv[2]) == "letter";
    if (argc != 2 && !letter) {
        std::fprintf(stderr, "usage: orbel-sample-tiff OUT.tif [letter]\n");
        return 2;
    }
    std::unique_ptr<TIFF, void (*)(TIFF*)> tif(TIFFOpen(argv[1], "w"), TIFFClose);
    if (!tif) {
        std::fprintf(stderr, "orbel-sample-tiff: cannot write %s\n", argv[1]);
        return 1;
    }
    const int pages = letter ? kLetterPages : kInvoicePages;
    for (int number = 1; number <= pages; ++number) {
        const Page page = letter ? DrawLetterPage(number) : DrawInvoicePage(number);
        if (!WritePage(tif.get(), page, number, pages)) {
            std::fprintf(stderr, "orbel-sample-tiff: cannot write page %d of %s\n", number,
                         argv[1]);
            return 1;
        }
    }
    return 0;
}
