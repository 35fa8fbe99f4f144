// Folder extensions (the Type of a folder row), the special classes the control keeps for its
// own use, and the deletion of a folder entry. It keeps the folders the tree shows.
#pragma once

#include <cstdint>
#include <string>

#include "src/maintenance/FolderList.h"
#include "src/store/EntryWriter.h"
#include "src/store/HostExchange.h"
#include "src/store/ResourceLookup.h"
#include "src/store/StoreSite.h"

namespace orbel {

class CFolderMaintenance {
  public:
    CFolderMaintenance(CHostExchange& exchange, CStoreSite& site, CResourceLookup& lookup,
                       CEntryWriter& writer);

    CFolderList& Folders() { return m_folders; }
    const CFolderList& Folders() const { return m_folders; }

    // True, after saying so, when another folder than `folderName` has the extension.
    bool CheckExtensionFree(const std::string& extension, const std::string& folderName);
    // The entry key of the folder with the extension, or 0.
    std::int32_t FindFolderForExtension(const std::string& extension);
    void GetFolderNameAndType(std::int32_t entryKey, std::string& name, std::string& type);
    void ChangeFolderNameAndType(std::int32_t entryKey, const std::string& name,
                                 const std::string& type);
    void DeleteFolderEntry(std::int32_t entryKey);
    // The OLE ID of the class that directory selection shows, made on first use; -1 when it
    // could not be made.
    std::int32_t GetClassOLEID();

  private:
    CHostExchange& m_exchange;
    CStoreSite& m_site;
    CResourceLookup& m_lookup;
    CEntryWriter& m_writer;
    CFolderList m_folders;
};

}  // namespace orbel
