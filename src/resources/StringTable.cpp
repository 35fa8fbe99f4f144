#include "src/resources/StringTable.h"

#include <map>

namespace orbel {

std::string LoadString(unsigned id) {
    static const std::map<unsigned, std::string> table = {
        {IDS_ORBEL, "Orbel Control"},
        {IDS_ORBEL_PPG, "Orbel Property Page"},
        {IDS_ORBEL_PPG_CAPTION, "General"},
        {201,
         "System was out of memory, executable file was corrupt, or relocations were invalid."},
        {202, "File was not found."},
        {203, "Path was not found."},
        {204, "Failed to create object.  Make sure the object is entered in the system registry."},
        {205,
         "Attempt was made to dynamically link to a task, or there was a sharing or "
         "network-protection error."},
        {206, "Library required separate data segments for each task."},
        {207, "There was insufficient memory to start the application."},
        {208, "Windows version was incorrect."},
        {209,
         "Executable file was invalid. Either it was not a Windows application or there was an "
         "error in the .EXE image."},
        {210, "Application was designed for a different operating system."},
        {211, "Application was designed for MS-DOS 4.0."},
        {212, "Type of executable file was unknown."},
        {213,
         "Attempt was made to load a real-mode application (developed for an earlier version of "
         "Windows)."},
        {214,
         "Attempt was made to load a second instance of an executable file containing multiple "
         "data segments that were not marked read-only."},
        {215,
         "Attempt was made to load a compressed executable file. The file must be decompressed "
         "before it can be loaded."},
        {216,
         "Dynamic-link library (DLL) file was invalid. One of the DLLs required to run this "
         "application was corrupt."},
        {217, "Application requires Microsoft Windows 32-bit extensions."},
        {IDS_NO_EDIT_CLASS_ITEM, "May not edit a class item"},
        {IDS_NO_DELETE_CLASS_ITEM, "May not delete a class item"},
        {IDS_ERROR_DELETE_ENTRY, "Error DeleteEntry"},
        {IDS_NO_OBJECT_DIR_AUTO_CREATE,
         "The Object Store directory has not been specified. Unable to auto create object."},
        {IDS_OBJECT_DIR_NOT_CURRENT, "Failed to change to Object Store directory %s.\nError %d."},
        // Toolbar commands: the button's text, then its tool tip.
        {32786, "Show Preview Pane\nShow Preview Pane"},
        {32793, "Subscriber Maintenance\nSubscriber Maintenance"},
        {32794, "Send Email To Subscribers\nSend Email To Subscribers"},
        {32797, "Attach Objects\nAttach Objects"},
        {32799, "Options\nOptions"},
        {32810, "Create New Script\nCreate New Script"},
        {32811, "Run Script\nRun Script"},
        {32812, "Modify Script\nModify Script"},
        {32818, "Send As Email Attachment\nSend As Email Attachment"},
        {32833, "New OLE Item\nNew OLE Item"},
        {32834, "New Folder\nNew Folder"},
        {32850, "Scan New Item\nScan New Item"},
    };
    auto it = table.find(id);
    return it == table.end() ? std::string() : it->second;
}

}  // namespace orbel
