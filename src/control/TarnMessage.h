// The host's one-letter command messages, unpacked. The first character picks the command and
// the rest is a fixed-position payload: 0-based positions into the whole message (the letter is
// position 0), decimal numbers read the way atoi reads them, Y/N flags where only an upper-case
// "Y" counts, and blank-padded texts. Nothing here acts: the control takes the unpacked command
// and calls its own methods, so every field is exactly what the host sent, decoded.
//
// How the payload reads:
// - A number field is read with atoi from its slice (leading blanks, a sign, digits; the first
//   other character ends it). A slice cut short by the end of the message reads what is there;
//   an empty or non-numeric slice reads 0. A number beyond 32 bits reads as INT32_MAX or
//   INT32_MIN, never as undefined behaviour.
// - A text field loses its trailing blanks, except where a command says it is taken as sent.
// - An entry number field carries an entry key (entry number x 10, plus 1 for a class entry);
//   it is passed on as the entry number, the key divided by 10. Other key fields are passed on
//   as sent.
// - A message is text: it ends at its first zero character, as it does for the control.
//
// Not for: deciding whether a command applies (modes, empty texts, the mapping list's rules);
// the control does that with the values given here.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace orbel {

namespace tarn {

// "$": a line of the system script list, from position 2 to the end as sent (position 1 is
// not read). The control appends it only when it is not empty.
struct AddSystemScript {
    std::string text;
};
// "A": bits of the option word, set when the flag at position 6 is "Y", cleared otherwise.
struct SetOptionBits {
    std::int32_t mask = 0;
    bool set = false;
};
// "D"
struct DeleteAllListViewItems {};
// "H": the browse target, the rest of the message as sent.
struct SetBrowseTarget {
    std::string target;
};
// "M": a drive mapping "From,To,Flag". Each part needs the comma that ends or starts it: no
// comma at all leaves all three empty, one comma leaves To and Flag empty. The control adds
// the mapping only when From and To are both non-empty.
struct AddMapping {
    std::string from;
    std::string to;
    std::string flag;  // upper-cased
    bool Reverse() const { return !flag.empty() && flag.front() == 'Y'; }
};
// "P"
struct SetListParent {
    std::int32_t entryKey = 0;
};
// "T"
struct BeginTreeDownload {};
// "a": sets the AutoCreate member directly, without the property's change handling.
struct SetAutoCreate {
    bool on = false;
};
// "b": BatchMaint on; no command turns it off.
struct SetBatchMaint {};
// "c": the object path as sent.
struct RequestDeleteObject {
    std::string objectPath;
};
// "d"
struct DeleteTreeItem {
    std::int32_t entryKey = 0;
};
// "g"
struct DeleteListItem {
    std::int32_t entryKey = 0;
};
// "h": the answer to AttachOrEmail. It reads only together with the pending attach/e-mail
// selection, so it is kept whole for ParseAttachOrEmailReply.
struct AttachOrEmailAnswer {
    std::string message;
};
// "i": entry numbers, not keys.
struct AddTreeViewItem {
    bool folder = false;
    bool classItem = false;
    std::int32_t entryNo = 0;
    std::int32_t parentNo = 0;
    std::string name;
};
// "j": directory selection on.
struct SetDirectorySelect {};
// "m": an entry number, not a key.
struct AddListViewItem {
    bool folder = false;
    bool classItem = false;
    std::int32_t entryNo = 0;
    std::string name;
    std::string resource;
};
// "o": the directory as sent.
struct SetObjectDir {
    std::string directory;
};
// "p"
struct SetTreeParent {
    std::int32_t entryKey = 0;
    std::int32_t parentKey = 0;
};
// "s"
struct SetImageDetails {
    std::int32_t entryKey = 0;
    std::int32_t pageStart = 0;
    std::int32_t pageEnd = 0;
    std::int32_t batch = 0;
};
// "t"
struct EndTreeDownload {};
// "u": renames the folder in the tree, then in the list.
struct UpdateFolder {
    std::int32_t entryKey = 0;
    std::string name;
};
// "v"
struct UpdateItem {
    std::int32_t entryKey = 0;
    std::string name;
    std::int32_t pageStart = 0;
    std::int32_t pageEnd = 0;
    std::int32_t batch = 0;
};
// "y": the view-file text (the stylesheet reference of exported XML).
struct SetViewFile {
    std::string text;
};

}  // namespace tarn

using TarnArgs = std::variant<
    tarn::AddSystemScript, tarn::SetOptionBits, tarn::DeleteAllListViewItems, tarn::SetBrowseTarget,
    tarn::AddMapping, tarn::SetListParent, tarn::BeginTreeDownload, tarn::SetAutoCreate,
    tarn::SetBatchMaint, tarn::RequestDeleteObject, tarn::DeleteTreeItem, tarn::DeleteListItem,
    tarn::AttachOrEmailAnswer, tarn::AddTreeViewItem, tarn::SetDirectorySelect,
    tarn::AddListViewItem, tarn::SetObjectDir, tarn::SetTreeParent, tarn::SetImageDetails,
    tarn::EndTreeDownload, tarn::UpdateFolder, tarn::UpdateItem, tarn::SetViewFile>;

struct TarnCommand {
    char letter = 0;
    TarnArgs args;
};

// Nothing for an empty message and for a first character that names no command; a short or
// malformed payload still gives its command, with empty and zero fields.
std::optional<TarnCommand> ParseTarnMessage(std::string_view message);

// What command "h" fills in, read from the pending attach/e-mail selection ("A12": attach for
// list index 12, "E3": e-mail for list index 3) and the whole "h" message.
struct AttachOrEmailReply {
    // As the selection names it, unchecked: the list pane refuses an index it does not hold.
    std::int32_t listIndex = 0;
    // The entry gets a routing record for targetId: the selection is an attach and the message
    // holds more than blanks.
    bool attach = false;
    std::string attachText;
    std::int32_t targetId = 0;
    // Filled only for an e-mail selection. An empty text leaves its column as it is.
    std::string emailText;
};

// Nothing when no selection is pending (an empty pending text): an empty selection would
// otherwise read as list index 0 and write into the first row.
std::optional<AttachOrEmailReply> ParseAttachOrEmailReply(std::string_view pending,
                                                          std::string_view message);

}  // namespace orbel
