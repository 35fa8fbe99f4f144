// The scan running with its progress window up: the scanner reads on a thread of its own while
// the window says which sheet and line it is at, and Cancel stops the scan between two reads.
// The program's thread keeps delivering messages meanwhile, so the window paints and takes
// the person's click.
#pragma once

#include <string>

#include "platform/Win.h"
#include "platform/imaging/SaneScanner.h"

namespace orbel::imaging {

// Scans as SaneScanner::Scan does, with the progress window owned by `owner` up until the scan
// ends; `cancelled` tells whether the person pressed Cancel (the scan then wrote nothing).
int ScanWithProgress(SaneScanner& scanner, const ScanSettings& settings, const std::string& target,
                     HWND owner, bool& cancelled, std::string& error);

}  // namespace orbel::imaging
