#include "src/panes/StoreFiles.h"

#include <cerrno>

#include "platform/Api.h"
#include "platform/automation/ComRuntime.h"
#include "platform/files/FileApi.h"
#include "platform/text/Sprintf.h"
#include "src/services/ShellServices.h"

namespace orbel {

namespace {
constexpr int kLastStoreNumber = 999999;
constexpr const char* kShellFolders =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
bool EndsWithSeparator(const std::string& path) {
    return !path.empty() && (path.back() == '/' || path.back() == '\\');
}

// A template named by a full path is taken where it lies (the templates installed with the
// system are registered so); any other name lies in the user's templates folder.
std::string TemplateSource(const std::string& fileName) {
    if (!fileName.empty() && fileName.front() == '/') return fileName;
    std::string folder =
        ReadRegistryString(HKEY_CURRENT_USER, kShellFolders, "Templates").value_or(std::string());
    if (!EndsWithSeparator(folder)) folder += '/';
    return folder + fileName;
}

void RunTemplateCommand(const RegKey& key) {
    std::string command;
    key.QueryValue("Command", command);
    ShellRun(kNoWindow, command, SW_SHOWNORMAL, "open");
}
}  // namespace

std::string StorePath(const std::string& directory, int number, const std::string& extension) {
    return directory + (EndsWithSeparator(directory) ? "" : "/") + Sprintf("%06d", number) +
           extension;
}

std::string NewStorePath(const std::string& directory, const std::string& extension, bool create) {
    for (int n = 1; n <= kLastStoreNumber; ++n) {
        std::string path = StorePath(directory, n, extension);
        if (GetFileAttributes(path) != INVALID_FILE_ATTRIBUTES) continue;
        if (!create) return path;
        if (CreateFile(path, platform::FileAccess::Write, platform::Disposition::CreateNew))
            return path;
        // Someone took the number between the test and the create.
        if (GetLastError() == EEXIST) continue;
        return path;
    }
    return create ? std::string() : StorePath(directory, kLastStoreNumber, extension);
}

bool MakeDirectoryCurrent(const std::string& directory, const char* failure) {
    if (directory.empty() || SetCurrentDirectory(directory)) return true;
    AfxMessageBox(Sprintf(failure, directory, static_cast<int>(GetLastError())));
    return false;
}

void WarnAutoCreateWithoutObjectDir() {
    AfxMessageBox(
        "The Object Store directory is invalid or has not been specified.\n"
        "Object auto-creation will not be supported.");
}

bool CreateFromTemplate(const std::string& target, const std::string& keyPath) {
    RegKey key;
    RegOpenKeyEx(HKEY_CLASSES_ROOT, keyPath, key);
    const bool nullFile = key.HasValue("NullFile");
    const bool command = key.HasValue("Command");
    const bool fileName = key.HasValue("FileName");
    const bool data = key.HasValue("Data");
    if (nullFile) {
        if (command)
            RunTemplateCommand(key);
        else
            CreateFile(target, platform::FileAccess::Write, platform::Disposition::CreateAlways);
        return true;
    }
    if (fileName) {
        std::string name;
        key.QueryValue("FileName", name);
        const std::string source = TemplateSource(name);
        if (!CopyFile(source, target, false)) {
            const DWORD error = GetLastError();
            AfxMessageBox(
                Sprintf("Failed to create empty file from template.\n\nTemplate = "
                        "%s\nTarget = %s\n\nError = %ld %s",
                        source, target, static_cast<long>(error), FormatSystemMessage(error)));
            return false;
        }
        return true;
    }
    if (command) {
        RunTemplateCommand(key);
        return true;
    }
    if (data) {
        std::string bytes;
        key.QueryValue("Data", bytes);
        if (auto file = CreateFile(target, platform::FileAccess::Write,
                                   platform::Disposition::OpenExisting))
            file->Write(bytes);
        return true;
    }
    AfxMessageBox("Failed to determine requirements for new file for this object.");
    return false;
}

}  // namespace orbel
