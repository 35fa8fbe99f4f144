// Writes bilevel (one bit a pixel, white is 0) G4 pages into one multi-page TIFF file, each row
// as `fillRow` makes it: the pages a test container or a benchmark shows in the viewer.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace orbel::platform {

struct BilevelPages {
    int pages = 1;
    int width = 0;
    int height = 0;
    float dpi = 200;
};

// `fillRow(page, y, row)` writes the row's (width + 7) / 8 bytes; false when the file cannot
// be written.
bool WriteBilevelTiff(
    const std::string& path, const BilevelPages& shape,
    const std::function<void(int page, int y, std::span<std::uint8_t> row)>& fillRow);

}  // namespace orbel::platform
