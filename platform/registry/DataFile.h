// Whole-file reads and crash-safe whole-file replacement for the small text files the platform
// keeps for the system (the registry hive, initialisation files), and the XDG base folders
// they live in. Not a general file API: callers read and write a file in one piece.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace orbel::platform {

enum class ReadResult { Ok, Missing, Failed };

// Reads the whole file into text. Missing when the file (or a folder above it) does not
// exist; Failed with an error text naming the file for anything else (no permission, a
// folder, an I/O error).
ReadResult ReadFileText(const std::filesystem::path& file, std::string& text, std::string* error);

// Replaces the file with data so that a reader (or a crash) sees either the old or the new
// contents, never a mix: writes an exclusively created temporary file in the same folder,
// flushes it to disk and renames it over the file. Creates the folder when missing and keeps
// the permission bits of the file it replaces.
bool ReplaceFileText(const std::filesystem::path& file, std::string_view data, std::string* error);

// The XDG base folder named by variable ("XDG_CONFIG_HOME", "XDG_DATA_HOME") when it is set
// to an absolute path, else homeRelative (".config", ".local/share") under the home folder.
std::filesystem::path XdgBaseDirectory(const char* variable, std::string_view homeRelative);

}  // namespace orbel::platform
