// Scanning a new item: into a new file of the Object Store, into a file the user names, or a
// blank page the user names and opens; the file then becomes an item of the folder shown.
#include <cstdlib>

#include "platform/Api.h"
#include "platform/files/FileApi.h"
#include "platform/framework/FileDialog.h"
#include "platform/text/Sprintf.h"
#include "src/panes/ScanNewItem.h"
#include "src/panes/StoreFiles.h"
#include "src/panes/ViewList.h"
#include "src/preview/ImgScan.h"

namespace orbel {

namespace {
constexpr const char* kImageFilter = "Image Files (*.tif)|*.tif|All Files (*.*)|*.*||";
constexpr const char* kTiffShellNew = ".tif\\ShellNew";
constexpr UINT kScannerId = 0;
}  // namespace

std::string ChooseImageFile(CViewList& list) {
    std::string directory = list.ObjectDir();
    // Without a usable Object Store directory the chooser starts in the user's home folder.
    if (directory.empty() || !SetCurrentDirectory(directory)) {
        const char* home = std::getenv("HOME");
        directory = home ? home : "/";
        SetCurrentDirectory(directory);
    }
    CFileDialog dialog(false, "tif", "", kImageFilter, list.GetSafeHwnd());
    dialog.m_initialDir = directory;
    if (dialog.DoModal() != IDOK) return {};
    return dialog.GetPathName();
}

long ScanToFile(CViewList& list, const std::string& path) {
    constexpr long kSetup = 1;
    CImgScan scanner;
    // Without the scan component nothing is scanned, as when its scan fails.
    if (!scanner.Create("Scan", WS_CHILD, list.GetClientRect(), list.GetSafeHwnd(), kScannerId))
        return -1;
    scanner.OpenScanner();
    scanner.SetFileType(1);
    scanner.SetMultiPage(true);
    scanner.SetPageOption(kSetup > 0 ? 1 : 2);
    scanner.SetShowSetupBeforeScan(kSetup);
    scanner.SetImage(path);
    scanner.SetScanTo(!kSetup);
    const long result = scanner.StartScan();
    scanner.CloseScanner();
    scanner.DestroyWindow();
    return result;
}

void ScanNewItem(CViewList& list, std::int32_t scanMode) {
    const std::string& objectDir = list.ObjectDir();
    std::string path;
    switch (scanMode) {
        case 0:
            if (objectDir.empty() || !SetCurrentDirectory(objectDir)) {
                AfxMessageBox(Sprintf("Failed to change to Object Store directory %s.", objectDir));
                return;
            }
            path = NewStorePath(objectDir, ".tif", true);
            if (path.empty()) return;
            if (ScanToFile(list, path) != 0) {
                // The number was taken by an empty file; a scan that wrote nothing gives it back.
                if (GetFileAttributes(path) != INVALID_FILE_ATTRIBUTES) DeleteFile(path);
                return;
            }
            break;
        case 1:
            path = ChooseImageFile(list);
            if (path.empty() || ScanToFile(list, path) != 0) return;
            break;
        case 2:
            path = ChooseImageFile(list);
            if (path.empty()) return;
            // An existing file is added as it is.
            if (GetFileAttributes(path) == INVALID_FILE_ATTRIBUTES &&
                !CreateFromTemplate(path, kTiffShellNew))
                return;
            break;
        default:
            return;
    }
    const std::int32_t key = list.AddItemFromFile(path, "");
    if (scanMode == 2 && key != 0) list.OpenItem(key);
}

}  // namespace orbel
