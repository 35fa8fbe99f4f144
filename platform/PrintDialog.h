// The print dialog, an optional part of the user: a backend whose user can be asked where to
// print says so by being a PrinterChooser as well; where none is, nothing is printed.
#pragma once

#include <optional>
#include <string>

#include "platform/Win.h"

namespace orbel::platform {

class UserInteraction;

struct PrintDialogRequest {
    std::string document;  // the file to be printed, as the dialog names it
    int pageCount = 0;
    HWND owner;
};

// Where the person chose to print.
struct PrintChoice {
    std::string printer;     // empty: the desktop's default printer
    std::string outputFile;  // a PDF file in place of a printer; empty for a printer
};

class PrinterChooser {
  public:
    virtual ~PrinterChooser();
    // Shows the print dialog and waits for the user: where to print, or nothing when the user
    // cancelled.
    virtual std::optional<PrintChoice> ChoosePrinter(const PrintDialogRequest& request) = 0;
};

// The print dialog of the installed user, through the one modal funnel; nothing (as a
// cancel) when the user has none.
std::optional<PrintChoice> ChoosePrinter(UserInteraction& user, const PrintDialogRequest& request);

}  // namespace orbel::platform
