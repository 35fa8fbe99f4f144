// What the New item command hands the Insert Object dialog and takes back from it: the four
// ways to a new item (a new document of a type, an existing file, every file of a directory).
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/Win.h"

namespace orbel {

struct InsertObjectSetup {
    std::string browseDirectory;
    bool autoOpen = false;
    bool autoCreate = false;
    bool autoCreateAllowed = true;
};

struct InsertObjectChoice {
    enum class Tab { CreateNew, CreateFromFile, SelectDirectory };
    Tab tab = Tab::CreateNew;
    std::string displayName;
    std::string extension;    // Create New: the type, with its dot
    std::string shellNewKey;  // Create New: its ShellNew key below the classes root
    std::string fileName;     // Create From File, or Create New's Save step without auto-create
    std::string directory;    // Select Directory
    std::string lastFile;     // the last file chosen with Browse, where the next one starts
    bool autoCreate = false;
    bool autoOpen = false;
};

// Runs the Insert Object dialog; nothing after Cancel. Tests of what the list does with a
// choice put a runner of their own in the dialog's place.
using InsertObjectRunner =
    std::function<std::optional<InsertObjectChoice>(HWND parent, const InsertObjectSetup&)>;
std::optional<InsertObjectChoice> RunInsertObject(HWND parent, const InsertObjectSetup& setup);
void SetInsertObjectRunner(InsertObjectRunner runner);

}  // namespace orbel
