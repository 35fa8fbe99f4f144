// "Scan New Item" of the item list: a new TIFF file, scanned through the scan component or
// made from the blank page template, becomes an item of the folder shown.
#pragma once

#include <cstdint>
#include <string>

namespace orbel {

class CViewList;

// By the control's ScanMode: 0 into a new numbered file of the Object Store, 1 into a file the
// user names, 2 a blank page the user names (an existing file is taken as it is), then opened.
// Other values do nothing.
void ScanNewItem(CViewList& list, std::int32_t scanMode);
// The Save-as chooser for a TIFF file, starting in the Object Store directory (the user's home
// folder when it cannot be made current); empty after Cancel.
std::string ChooseImageFile(CViewList& list);
// Scans into the file through a hidden scan component over the list; 0 when a page was
// written, non-zero otherwise (also when there is no scan component).
long ScanToFile(CViewList& list, const std::string& path);

}  // namespace orbel
