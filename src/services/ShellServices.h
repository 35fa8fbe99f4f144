// Small services used across the control: opening a document or showing its properties
// through the shell, with a readable message when that fails; tests on paths; the extension
// of a file name; reading a string from the registry.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/Win.h"
#include "platform/registry/Registry.h"
#include "platform/shell/Shell.h"

namespace orbel {

// Runs a command that the system composed itself (SplitShellCommand) with the verb:
// "properties" shows the file's property window, any other verb goes to the shell with the
// parameters. A result of 32 or less is shown in a message box, "Unable to execute FILE
// PARAMETERS\nError N:TEXT", followed on a line of its own by the shell's reason when it gives
// one. Returns the shell's result.
// Not for a path taken from stored data: quotes in it would split it into a program and its
// arguments (ShellOpen).
int ShellRun(HWND parent, std::string_view command, int showCommand, std::string_view verb);
// Opens a document, folder or address taken from data with the program of its type, with the
// verb "open": the path is one name whatever it holds, and it is never started as a program.
// A failure is shown as ShellRun shows one, for the path without parameters.
int ShellOpen(HWND parent, std::string_view path, int showCommand);

// The text of a shell result code (string resources 201-217), "(Unknown)" for other codes.
std::string ShellErrorText(int code);

// Begins with "http://", "ftp://" or "file://", in any letter case.
bool IsWebAddress(std::string_view text);
// Begins with "\\", has ":\" as its second and third characters, begins with "http://" (in
// that case), or begins with "/" (a path of this system).
bool IsFullPath(std::string_view text);
// The text after the last "." when that is at most three characters long, else "".
std::string FileExtension(std::string_view path);
// FileExtension is "tif" (or "tiff", which it can never be); letter case counts.
bool IsTiffFile(std::string_view path);
// The path names something whose attributes can be read.
bool FileExists(std::string_view path);
// The folder a file chooser opens in for a path that may name a folder or a file: the folder
// itself, else the path without its file name ("" when it has no folder part).
std::string ChooserFolderOf(const std::string& path);
// The path after its last "/" or "\\"; the whole path when it has neither.
std::string FileNamePart(const std::string& path);
// The path before its last "/" or "\\": "/" for a file at the root, "" when it has neither.
std::string FolderPart(const std::string& path);
// Shows the desktop's property window of a path taken from data; a failure is shown as
// ShellRun shows one. Returns the shell's result.
int ShellShowProperties(HWND parent, std::string_view path);
// The value as text; nothing when the key or the value is missing.
std::optional<std::string> ReadRegistryString(HKEY root, std::string_view subKey,
                                              std::string_view valueName);

}  // namespace orbel
