// Opening and viewing an item's resource: in the browser the host named, in the preview pane,
// by the host (TIFF images when it asked for them, XML files dressed with its stylesheet), or
// in the program associated with the file's type.
#include <array>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <span>

#include "platform/Api.h"
#include "platform/Platform.h"
#include "platform/files/FileApi.h"
#include "platform/framework/WaitCursor.h"
#include "platform/text/AsciiCase.h"
#include "platform/text/Sprintf.h"
#include "src/panes/PaneSite.h"
#include "src/panes/ViewList.h"
#include "src/preview/ImageView.h"
#include "src/services/ShellServices.h"

namespace orbel {

using platform::Disposition;
using platform::FileAccess;

namespace {

constexpr std::size_t kCopyBlock = 4096;
constexpr std::string_view kStylesheetOpen = "<?xml-stylesheet type='text/xsl' href='";
constexpr std::string_view kStylesheetClose = "'?>";

// The file types the image view can show.
bool IsPreviewImage(std::string_view path) {
    static constexpr std::array<std::string_view, 8> kTypes = {"tif", "awd", "bmp", "dcx",
                                                               "gif", "jpg", "pcx", "xif"};
    const std::string extension = FoldedAscii(FileExtension(path));
    for (std::string_view type : kTypes)
        if (extension == type) return true;
    return false;
}

// "XML" and the counter in lower-case hexadecimal without leading zeros, in the directory.
std::string ExportName(const std::string& directory, std::uint32_t counter) {
    std::array<char, 8> hex{};
    const auto end = std::to_chars(hex.data(), hex.data() + hex.size(), counter, 16).ptr;
    return directory + "XML" + std::string(hex.data(), end) + ".xml";
}

// The first free name of the count, created exclusively: a name taken since it was found
// free, or a symbolic link left at it, is passed over rather than written through. Null when
// the file cannot be made, the open's error being the last error.
std::unique_ptr<platform::File> CreateExportFile(const std::string& directory, std::string& name) {
    for (std::uint32_t counter = 0;; ++counter) {
        name = ExportName(directory, counter);
        if (!FileExists(name)) {
            auto file = CreateFile(name, FileAccess::Write, Disposition::CreateNew);
            if (file || GetLastError() != EEXIST) return file;
        }
        if (counter == UINT32_MAX) {
            SetLastError(EEXIST);
            return nullptr;
        }
    }
}

std::string OpenFailure(const std::string& name, DWORD error) {
    return Sprintf("Failed to create/open file %s.\n\nError %d", name, static_cast<int>(error));
}

}  // namespace

void CViewList::OpenItem(std::int32_t key) {
    if (!m_site) return;
    std::string path;
    std::int32_t pageStart = 0;
    std::int32_t pageEnd = 0;
    // The bare file: a processed marker or a link suffix would make the path name nothing.
    if (m_site->GetResourceDetails(key, path, pageStart, pageEnd, false, false))
        OpenPath(path, pageStart, pageEnd, true);
}

void CViewList::OpenPath(const std::string& path, std::int32_t firstPage, std::int32_t lastPage,
                         bool previewAllowed) {
    if (!m_site) return;
    if (IsFullPath(path))
        ViewResource(path, firstPage, lastPage, previewAllowed);
    else
        m_site->FireSelectAttachment(path);
}

void CViewList::ViewResource(const std::string& path, std::int32_t firstPage, std::int32_t lastPage,
                             bool previewAllowed) {
    if (!m_site) return;
    const std::string& target = m_site->BrowseTarget();
    if (!target.empty()) {
        // The path's first characters stand for the target's, whatever they are.
        std::string address = target;
        if (path.size() > target.size()) address += path.substr(target.size());
        for (char& c : address)
            if (c == '\\') c = '/';
        ShellRun(kNoWindow, "iexplore.exe " + address, SW_SHOWNORMAL, "open");
        return;
    }
    if (previewAllowed && m_imageView && IsPreviewImage(path)) {
        m_imageView->ShowImage(path, firstPage, lastPage);
        return;
    }
    if (IsTiffFile(path) && m_site->NotifySelectTiff()) {
        m_site->FireSelectTiff(path, firstPage, lastPage);
        return;
    }
    const std::string extension = FileExtension(path);
    if (extension == "xml" || extension == "XML") {
        const std::string exported = ExportXmlWithStylesheet(path, m_site->ViewFileText());
        if (!exported.empty()) m_site->FireOnViewFile(exported);
        return;
    }
    OpenInProgram(path);
}

std::string CViewList::ExportXmlWithStylesheet(const std::string& source,
                                               const std::string& stylesheet) {
    // The source is opened first, so that one that cannot be read leaves no copy holding the
    // instruction alone. Read only: the source may be a file nobody may change. A pipe or a
    // device is refused by the open without waiting.
    auto in = CreateFile(source, FileAccess::Read, Disposition::OpenExisting);
    if (!in) {
        AfxMessageBox(OpenFailure(source, GetLastError()));
        return {};
    }
    std::string name;
    auto out = CreateExportFile(GetTempPath(), name);
    if (!out) {
        AfxMessageBox(OpenFailure(name, GetLastError()));
        return {};
    }
    // A copy that cannot be finished is not left behind half made.
    const auto abandon = [&](const std::string& failed) {
        const DWORD error = GetLastError();
        out.reset();
        DeleteFile(name);
        AfxMessageBox(OpenFailure(failed, error));
        return std::string();
    };
    const std::string instruction =
        std::string(kStylesheetOpen) + stylesheet + std::string(kStylesheetClose);
    if (!out->SeekToStart() || !out->Write(instruction)) return abandon(name);
    std::array<std::byte, kCopyBlock> block{};
    for (;;) {
        const auto read = in->Read(block);
        if (!read) return abandon(source);
        if (*read == 0) break;
        if (!out->Write(std::span<const std::byte>(block.data(), *read))) return abandon(name);
    }
    return name;
}

void CViewList::OpenInProgram(const std::string& path) {
    if (path.empty()) return;
    {
        CWaitCursor wait;
        // The stored path is one file name whatever quotes it holds, and only ever opened.
        ShellOpen(kNoWindow, path, SW_SHOWNORMAL);
    }
    Invalidate();
}

}  // namespace orbel
