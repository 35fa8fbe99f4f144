// The files the item list makes for new items: numbered documents in the Object Store
// directory, filled from the document type's ShellNew key, and the page count that decides a
// TIFF item's page range.
#pragma once

#include <cstdint>
#include <string>

namespace orbel {

// The numbered name of a store document: the directory, the separator, six digits and the
// extension, which carries its own dot ("/srv/store/000012.doc").
std::string StorePath(const std::string& directory, int number, const std::string& extension);

// The first number from 1 to 999999 whose store path names nothing. With `create`, the file is
// made there by an exclusive create, so that another process or control on the same directory
// that takes the number meanwhile makes this one try the next; no existing file is ever
// truncated. Without `create` the path is only found, and every number taken gives the path of
// 999999; with `create` that gives an empty path. A create that fails for another reason (no
// such directory, no permission) still gives the path, as the file operations that follow
// report what is wrong with it.
std::string NewStorePath(const std::string& directory, const std::string& extension, bool create);

// Fills the new file `target` as the ShellNew key below the classes root says (NullFile, then
// FileName, Command, Data); false after a message when the template cannot be copied or the
// key says nothing usable.
bool CreateFromTemplate(const std::string& target, const std::string& keyPath);

// Makes a directory current before a new item's file is chosen or made; an empty one is left.
// A failure is shown with `failure` (a format of the directory and the system's error number);
// false then.
bool MakeDirectoryCurrent(const std::string& directory, const char* failure);
// Tells the user that without an Object Store directory no file is made automatically.
void WarnAutoCreateWithoutObjectDir();

}  // namespace orbel
