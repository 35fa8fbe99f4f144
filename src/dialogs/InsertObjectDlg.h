// "Insert Object": the user says where a new item comes from — an existing file or web address,
// a new document of a registered type, or a whole directory — and the dialog hands the choice
// back. It creates nothing itself; the list view does, once the dialog has closed.
#pragma once

#include <string>
#include <vector>

#include "platform/dialogs/DialogTemplate.h"
#include "platform/framework/Dialog.h"

namespace orbel {

// The Insert Object template with its controls placed inside the tab's client rectangle: labels
// 10 units in from its left edge with their fields below them, the buttons in a column at its
// right, the object type list filling it above the two checks; the dialog is as large as the
// tab and its margin.
platform::DialogTemplate LayOutInsertObject(const platform::DialogTemplate& resource);

namespace detail {
// Holds the laid-out template for as long as the dialog built on it lives.
struct InsertObjectLayout {
    platform::DialogTemplate laidOut;
};
}  // namespace detail

class CInsertObjectDlg : private detail::InsertObjectLayout, public CDialog {
  public:
    enum Tab { kFromFile = 0, kCreateNew = 1, kSelectDirectory = 2 };

    explicit CInsertObjectDlg(HWND parent = kNoWindow);

    void SetAutoCreate(bool on);
    void SetAutoOpen(bool on);
    bool AutoCreate() const { return m_autoCreate; }
    bool AutoOpen() const { return m_autoOpen; }

    // Set before the dialog runs, read after it closed.
    bool m_autoCreateAllowed = true;
    std::string m_fileName;  // a file, a web address or a directory
    std::string m_displayName;
    // Where the file chooser starts before a file was chosen in this dialog.
    std::string m_browseDirectory;
    // Create New, after OK: the chosen type (with its dot) and its ShellNew key.
    std::string m_extension;
    std::string m_shellNewKey;
    int m_tab = kFromFile;
    // The last file chosen with Browse in this dialog.
    std::string m_lastFile;

  protected:
    bool OnInitDialog() override;
    bool OnCommand(UINT id, UINT code) override;
    void OnOK() override;
    void DoDataExchange(CDataExchange& dx) override;

  private:
    void ShowTab(int tab);
    void FillObjectTypes();
    void OnBrowse();
    void OnInternet();
    // Create New without automatic creation: where the new file goes; false when the user
    // cancelled.
    bool AskNewFilePath();

    bool m_autoCreate = false;
    bool m_autoOpen = false;
    bool m_typesFilled = false;
    // The extension of each entry of the object type list, in its order.
    std::vector<std::string> m_typeExtensions;
};

}  // namespace orbel
