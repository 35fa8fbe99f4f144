#include "platform/dialogs/Dialogs.h"

#include "platform/Platform.h"

namespace orbel::platform {

DialogOwner::~DialogOwner() = default;
LiveDialog::~LiveDialog() = default;
Dialogs::~Dialogs() = default;

ListControlEvents* DialogOwner::ListEventsFor(UINT) {
    return nullptr;
}

int RunModalDialog(const DialogTemplate& dialogTemplate, DialogOwner& owner, HWND parent) {
    Platform& platform = GetPlatform();
    std::unique_ptr<LiveDialog> dialog =
        platform.DialogFactory().CreateDialog(dialogTemplate, owner, parent);
    owner.OnDialogInit(*dialog);
    // A dialog may end while it initialises (nothing to choose from); it is then never shown.
    if (!dialog->IsEnded()) platform.User().RunModalDialog(*dialog);
    return dialog->Result();
}

namespace {
bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}
}  // namespace

std::size_t CharacterCount(std::string_view text) {
    std::size_t count = 0;
    for (char c : text)
        if (!IsContinuationByte(c)) ++count;
    return count;
}

std::string_view FirstCharacters(std::string_view text, std::size_t count) {
    std::size_t seen = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IsContinuationByte(text[i])) continue;
        if (seen == count) return text.substr(0, i);
        ++seen;
    }
    return text;
}

}  // namespace orbel::platform
