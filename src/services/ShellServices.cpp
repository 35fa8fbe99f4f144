#include "src/services/ShellServices.h"

#include <array>
#include <utility>

#include "platform/Api.h"
#include "platform/files/FileApi.h"
#include "platform/shell/ShellApi.h"
#include "src/resources/StringTable.h"
#include "src/services/ShellCommand.h"

namespace orbel {
namespace {

// The size the original platform's extended request structure has on the system this
// control was made for; the shell checks it.
constexpr DWORD kShellExecuteInfoSize = 60;

// Result code and the string resource that explains it.
constexpr std::array<std::pair<int, unsigned>, 16> kErrorTexts = {{{0, 201},
                                                                   {2, 202},
                                                                   {3, 203},
                                                                   {5, 205},
                                                                   {6, 206},
                                                                   {8, 207},
                                                                   {10, 208},
                                                                   {11, 209},
                                                                   {12, 210},
                                                                   {13, 211},
                                                                   {14, 212},
                                                                   {15, 213},
                                                                   {16, 214},
                                                                   {19, 215},
                                                                   {20, 216},
                                                                   {21, 217}}};

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

int ReportFailure(int result, std::string_view file, std::string_view parameters,
                  const std::string& reason) {
    if (result < 33) {
        std::string text = "Unable to execute " + std::string(file) + " " +
                           std::string(parameters) + "\nError " + std::to_string(result) + ":" +
                           ShellErrorText(result);
        if (!reason.empty()) text += "\n" + reason;
        AfxMessageBox(text, MB_OK);
    }
    return result;
}

// A desktop may keep its opener running with the program it starts, so its failure can come
// after the request returned; the user is told the same way then.
ShellLateFailure ReportLater(std::string_view file, std::string_view parameters) {
    return [file = std::string(file),
            parameters = std::string(parameters)](const platform::ShellResult& late) {
        ReportFailure(late.code, file, parameters, late.reason);
    };
}

// A document the desktop has no program for: the user is told so and offered its folder,
// where another program may be chosen. Only for a file that is there; a folder is opened by
// the file manager, so it has a program.
int ReportOpenFailure(HWND parent, int result, const std::string& path, int showCommand,
                      const std::string& reason) {
    const std::string folder = FolderPart(path);
    const DWORD attributes = GetFileAttributes(path);
    const bool offerFolder = result == SE_ERR_NOASSOC && !folder.empty() &&
                             attributes != INVALID_FILE_ATTRIBUTES &&
                             !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    if (!offerFolder) return ReportFailure(result, path, "", reason);
    std::string text = "Unable to execute " + path + " \nError " + std::to_string(result) + ":" +
                       ShellErrorText(result);
    if (!reason.empty()) text += "\n" + reason;
    text += "\n\nOpen the folder that holds it, " + folder + "?";
    if (AfxMessageBox(text, MB_YESNO) == IDYES) {
        std::string folderReason;
        const int opened = ShellOpenDocument(parent, "open", folder, showCommand, &folderReason);
        ReportFailure(opened, folder, "", folderReason);
    }
    return result;
}

}  // namespace

std::string ShellErrorText(int code) {
    for (const auto& [result, id] : kErrorTexts) {
        if (result == code) return LoadString(id);
    }
    return "(Unknown)";
}

namespace {
int ShowProperties(std::string_view file) {
    SHELLEXECUTEINFO info;
    info.cbSize = kShellExecuteInfoSize;
    info.fMask = SEE_MASK_INVOKEIDLIST;
    info.lpVerb = "properties";
    info.lpFile = std::string(file);
    ShellExecuteEx(info);
    return info.hInstApp;
}
}  // namespace

int ShellShowProperties(HWND, std::string_view path) {
    return ReportFailure(ShowProperties(path), path, "", {});
}

int ShellRun(HWND parent, std::string_view command, int showCommand, std::string_view verb) {
    const ShellCommand split = SplitShellCommand(command);
    int result = 0;
    std::string reason;
    if (verb == "properties") {
        result = ShowProperties(split.file);
    } else {
        result = ShellExecute(parent, verb, split.file, split.parameters, "", showCommand, &reason,
                              ReportLater(split.file, split.parameters));
    }
    return ReportFailure(result, split.file, split.parameters, reason);
}

int ShellOpen(HWND parent, std::string_view path, int showCommand) {
    std::string reason;
    ShellLateFailure late = [parent, path = std::string(path),
                             showCommand](const platform::ShellResult& failure) {
        ReportOpenFailure(parent, failure.code, path, showCommand, failure.reason);
    };
    const int result =
        ShellOpenDocument(parent, "open", path, showCommand, &reason, std::move(late));
    return ReportOpenFailure(parent, result, std::string(path), showCommand, reason);
}

bool IsWebAddress(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return StartsWith(lower, "http://") || StartsWith(lower, "ftp://") ||
           StartsWith(lower, "file://");
}

bool IsFullPath(std::string_view text) {
    return StartsWith(text, "\\\\") || (text.size() >= 3 && text.substr(1, 2) == ":\\") ||
           StartsWith(text, "http://") || StartsWith(text, "/");
}

std::string FileExtension(std::string_view path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || path.size() - dot - 1 > 3) return {};
    return std::string(path.substr(dot + 1));
}

bool IsTiffFile(std::string_view path) {
    const std::string extension = FileExtension(path);
    return extension == "tif" || extension == "tiff";
}

bool FileExists(std::string_view path) {
    return GetFileAttributes(path) != INVALID_FILE_ATTRIBUTES;
}

std::string ChooserFolderOf(const std::string& path) {
    const DWORD attributes = GetFileAttributes(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return path;
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string FileNamePart(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string FolderPart(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    if (slash == std::string::npos) return std::string();
    return path.substr(0, slash == 0 ? 1 : slash);
}

std::optional<std::string> ReadRegistryString(HKEY root, std::string_view subKey,
                                              std::string_view valueName) {
    RegKey key;
    if (RegOpenKeyEx(root, subKey, key) != ERROR_SUCCESS) return std::nullopt;
    std::string text;
    if (RegQueryValueEx(key, valueName, text) != ERROR_SUCCESS) return std::nullopt;
    return text;
}

}  // namespace orbel
