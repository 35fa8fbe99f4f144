// Image files made by the tests themselves: TIFF pages of every kind the viewer reads, written
// with libtiff, and small BMP and GIF files written byte by byte.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orbel::test {

struct TiffPage {
    int width = 64;
    int height = 48;
    int bits = 1;
    int samples = 1;
    int photometric = 0;  // PHOTOMETRIC_MINISWHITE
    int compression = 1;  // COMPRESSION_NONE
    float xResolution = 200;
    float yResolution = 200;
    int resolutionUnit = 2;  // RESUNIT_INCH
};

// Writes the pages into one file; false when libtiff refuses one.
bool WriteTiff(const std::string& path, const std::vector<TiffPage>& pages);
// `count` bilevel G4 pages of the given size.
bool WriteBilevelTiff(const std::string& path, int count, int width = 64, int height = 48);

bool WriteBmp(const std::string& path, int width, int height);
bool WriteGif(const std::string& path);
bool WriteBytes(const std::string& path, const std::string& bytes);

// Points SANE at its test scanners alone (a dll.conf of the tests' own), or at none; SANE
// reads it once a process, before its first use.
void UseSaneTestScanners(bool present = true);

// The number of pages of a PDF file as poppler's pdfinfo reads it; -1 when pdfinfo is not
// there or cannot read the file.
int PdfPageCount(const std::string& path);

}  // namespace orbel::test
