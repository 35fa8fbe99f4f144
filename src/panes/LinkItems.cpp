// Link items: an item whose resource is a web address and whose type is "url", made through
// the same placeholder row and creation as an item of a file.
#include "src/panes/LinkItems.h"

#include "platform/text/AsciiCase.h"
#include "src/panes/ViewList.h"
#include "src/services/ShellServices.h"

namespace orbel {

bool StartsWithHttp(std::string_view text) {
    return FoldedAscii(text.substr(0, 4)) == "http";
}

std::string LinkNameFromText(std::string_view text) {
    constexpr std::string_view kScheme = "http://";
    if (const std::size_t at = text.find(kScheme); at != std::string_view::npos)
        text.remove_prefix(at + kScheme.size());
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    if (!text.empty() && text.back() == '/') text.remove_suffix(1);
    return std::string(text);
}

std::int32_t CViewList::AddLinkItem(const std::string& address, const std::string& name) {
    if (!IsWebAddress(address)) return 0;
    std::string itemName = name;
    if (itemName.empty()) {
        itemName = address;
        if (!itemName.empty() && itemName.back() == '\\') itemName.pop_back();
    }
    return AddPendingItem(address, itemName, FileTypeImage("url"));
}

std::int32_t CViewList::DropText(const std::string& text) {
    if (!StartsWithHttp(text)) return 0;
    return AddLinkItem(text, LinkNameFromText(text));
}

}  // namespace orbel
