// Where the print administrator's pages go. The administrator decides which pages and asks
// where through the print dialog; a printer puts them on paper, or in a PDF file. The
// desktop's printer draws with Qt; without a desktop pages are only decoded, so that a damaged
// page fails the print as it would on paper.
#pragma once

#include <memory>
#include <string>

#include "platform/PrintDialog.h"

namespace orbel::imaging {

class ImageFile;

class PagePrinter {
  public:
    virtual ~PagePrinter();
    // Prints pages `first` to `last` (from 1, within the file) one sheet each; false with the
    // reason in `error` when the destination cannot be opened or a page cannot be decoded.
    virtual bool Print(const ImageFile& file, int first, int last,
                       const platform::PrintChoice& where, std::string& error) = 0;
};

// The printer of the installed platform: the desktop's on Qt, else one that only decodes.
std::unique_ptr<PagePrinter> MakePagePrinter();
std::unique_ptr<PagePrinter> MakeStateOnlyPrinter();

}  // namespace orbel::imaging
