#include "platform/dialogs/DialogBase.h"

#include <algorithm>
#include <map>
#include <utility>

#include "platform/controls/ListControlBase.h"

namespace orbel::platform {

namespace {
using Kind = DialogControlKind;
}  // namespace

DialogBase::DialogBase(const DialogTemplate& dialogTemplate, DialogOwner& owner)
    : template_(dialogTemplate), owner_(owner), caption_(dialogTemplate.caption) {
    for (const MenuItem& item : template_.menu) menu_.push_back({item, !item.separator});
}

namespace {
std::map<HWND, LiveDialog*>& ByWindow() {
    static std::map<HWND, LiveDialog*> dialogs;
    return dialogs;
}
}  // namespace

LiveDialog* LiveDialog::FromWindow(HWND window) {
    auto it = ByWindow().find(window);
    return it == ByWindow().end() ? nullptr : it->second;
}

std::unique_ptr<LiveDialog> DialogBase::Initialised(std::unique_ptr<DialogBase> form) {
    form->Owner().OnDialogInit(*form);
    return form;
}

void DialogBase::SetWindow(HWND window) {
    if (window_) ByWindow().erase(window_);
    window_ = window;
    if (window_) ByWindow()[window_] = this;
}

DialogBase::~DialogBase() {
    if (window_) ByWindow().erase(window_);
}

const DialogBase::Control* DialogBase::Find(UINT id) const {
    for (const auto& c : controls_)
        if (c->source->id == id) return c.get();
    return nullptr;
}

DialogBase::Control* DialogBase::Find(UINT id) {
    return const_cast<Control*>(std::as_const(*this).Find(id));
}

DialogBase::Control& DialogBase::AddControl(std::unique_ptr<Control> c) {
    controls_.push_back(std::move(c));
    return *controls_.back();
}

std::string DialogBase::GetText(UINT id) const {
    const Control* c = Find(id);
    return c ? TextOf(*c) : std::string();
}

void DialogBase::SetText(UINT id, std::string_view text) {
    if (Control* c = Find(id); HoldsText(c)) PutText(*c, text);
}

void DialogBase::LimitText(UINT id, int maxChars) {
    if (Control* c = Find(id); TakesTyping(c)) c->limit = std::max(0, maxChars);
}

void DialogBase::SetReadOnly(UINT id, bool readOnly) {
    Control* c = Find(id);
    if (!IsKind(c, Kind::Edit)) return;
    c->readOnly = readOnly;
    OnReadOnly(*c);
}

int DialogBase::GetCheck(UINT id) const {
    const Control* c = Find(id);
    return IsKind(c, Kind::CheckBox) ? CheckOf(*c) : 0;
}

void DialogBase::SetCheck(UINT id, int state) {
    if (Control* c = Find(id); IsKind(c, Kind::CheckBox)) PutCheck(*c, state);
}

int DialogBase::AddString(UINT id, std::string_view text) {
    Control* c = Find(id);
    return HasEntries(c) ? AppendEntry(*c, text) : -1;
}

int DialogBase::GetCount(UINT id) const {
    const Control* c = Find(id);
    return HasEntries(c) ? EntryCount(*c) : 0;
}

int DialogBase::GetCurSel(UINT id) const {
    const Control* c = Find(id);
    return HasEntries(c) ? Selection(*c) : -1;
}

bool DialogBase::SetCurSel(UINT id, int index) {
    Control* c = Find(id);
    if (!HasEntries(c) || index < -1 || index >= EntryCount(*c)) return false;
    PutSelection(*c, index);
    return true;
}

std::string DialogBase::GetItemText(UINT id, int index) const {
    const Control* c = Find(id);
    if (!HasEntries(c) || index < 0 || index >= EntryCount(*c)) return {};
    return EntryText(*c, index);
}

void DialogBase::ResetContent(UINT id) {
    if (Control* c = Find(id); HasEntries(c)) ClearEntries(*c);
}

int DialogBase::InsertTab(UINT id, int index, std::string_view text) {
    Control* c = Find(id);
    if (!IsKind(c, Kind::TabControl) || index < 0) return -1;
    return InsertTabAt(*c, std::min(index, EntryCount(*c)), text);
}

int DialogBase::GetCurTab(UINT id) const {
    const Control* c = Find(id);
    return IsKind(c, Kind::TabControl) ? Selection(*c) : -1;
}

bool DialogBase::SetCurTab(UINT id, int index) {
    Control* c = Find(id);
    if (!IsKind(c, Kind::TabControl) || index < 0 || index >= EntryCount(*c)) return false;
    PutSelection(*c, index);
    return true;
}

ListControl* DialogBase::GetListControl(UINT id) {
    Control* c = Find(id);
    return c ? c->list.get() : nullptr;
}

void DialogBase::EnableControl(UINT id, bool enable) {
    Control* c = Find(id);
    if (!c) return;
    c->enabled = enable;
    OnEnabled(*c);
    if (!enable && focus_ == id) focus_ = 0;
}

bool DialogBase::IsControlEnabled(UINT id) const {
    const Control* c = Find(id);
    return c && c->enabled;
}

void DialogBase::ShowControl(UINT id, bool show) {
    Control* c = Find(id);
    if (!c) return;
    c->visible = show;
    OnShown(*c);
    if (!show && focus_ == id) focus_ = 0;
}

bool DialogBase::IsControlVisible(UINT id) const {
    const Control* c = Find(id);
    return c && c->visible;
}

void DialogBase::SetFocus(UINT id) {
    if (Control* c = Find(id)) FocusOn(*c);
}

void DialogBase::FocusOn(Control& c) {
    focus_ = c.source->id;
}

void DialogBase::EndDialog(int result) {
    if (ended_) return;
    ended_ = true;
    result_ = result;
}

void DialogBase::Notify(UINT id, UINT code) {
    owner_.OnDialogCommand(id, code);
}

void DialogBase::Click(Control& c) {
    Notify(c.source->id, BN_CLICKED);
}

std::string DialogBase::UserType(UINT id, std::string_view text) {
    Control* c = Find(id);
    if (std::string why = RefuseTyping(c, id, ended_); !why.empty()) return why;
    FocusOn(*c);
    const std::string_view typed = TypedText(*c, text);
    if (TextOf(*c) == typed) return {};
    // Typing into a combo box leaves no entry chosen.
    const bool combo = IsKind(c, Kind::ComboDropDown);
    if (combo) PutSelection(*c, -1);
    PutText(*c, typed);
    Notify(id, combo ? CBN_EDITCHANGE : EN_CHANGE);
    return {};
}

std::string DialogBase::UserChoose(UINT id, std::string_view text) {
    Control* c = Find(id);
    if (c && c->list) return ChooseListRow(*c, id, text);
    if (std::string why = RefuseChoosing(c, id, ended_); !why.empty()) return why;
    const int count = EntryCount(*c);
    int index = 0;
    while (index < count && EntryText(*c, index) != text) ++index;
    if (index == count) return RefuseNoEntry(id, text);
    FocusOn(*c);
    if (index == Selection(*c) && (!IsKind(c, Kind::ComboDropDown) || TextOf(*c) == text))
        return {};
    PutSelection(*c, index);
    Notify(id, ChoiceNotification(*c));
    return {};
}

std::string DialogBase::ChooseListRow(Control& c, UINT id, std::string_view text) {
    if (std::string why = RefuseUse(&c, id, ended_); !why.empty()) return why;
    auto* list = static_cast<ListControlBase*>(c.list.get());
    int row = 0;
    while (row < list->GetItemCount() && list->GetItemText(row, 0) != text) ++row;
    if (row == list->GetItemCount()) return RefuseNoEntry(id, text);
    FocusOn(c);
    // A click on the row, as a person's: the dialog hears of it through the list's events.
    list->UserClick(row);
    return {};
}

std::string DialogBase::UserCheck(UINT id, int state) {
    Control* c = Find(id);
    if (std::string why = RefuseChecking(c, id, ended_); !why.empty()) return why;
    FocusOn(*c);
    if (CheckOf(*c) == state) return {};
    PutCheck(*c, state);
    Notify(id, BN_CLICKED);
    return {};
}

std::string DialogBase::UserPress(UINT id) {
    Control* c = Find(id);
    if (std::string why = RefusePressing(c, id, ended_); !why.empty()) return why;
    if (IsKind(c, Kind::CheckBox)) return UserCheck(id, CheckOf(*c) ? 0 : 1);
    FocusOn(*c);
    Click(*c);
    return {};
}

void DialogBase::UserClose() {
    if (!ended_) owner_.OnDialogClose();
}

void DialogBase::SetCaption(std::string_view text) {
    caption_ = std::string(text);
    OnCaption();
}

void DialogBase::EnableMenuItem(UINT id, bool enable) {
    for (MenuState& m : menu_)
        if (m.item.id == id && !m.item.separator && m.enabled != enable) {
            m.enabled = enable;
            OnMenuItemEnabled(id, enable);
        }
}

bool DialogBase::IsMenuItemEnabled(UINT id) const {
    for (const MenuState& m : menu_)
        if (m.item.id == id && !m.item.separator) return m.enabled;
    return false;
}

RECT DialogBase::GetControlRect(UINT id) const {
    const Control* c = Find(id);
    return c ? c->place : RECT{};
}

void DialogBase::MoveControl(UINT id, const RECT& rect) {
    Control* c = Find(id);
    if (!c) return;
    c->place = rect;
    OnControlMoved(*c);
}

std::string DialogBase::UserMenu(UINT id) {
    if (ended_) return "the dialog has ended";
    for (const MenuState& m : menu_) {
        if (m.item.id != id || m.item.separator) continue;
        if (!m.enabled) return "menu item " + std::to_string(id) + " is greyed";
        owner_.OnDialogCommand(id, 0);
        return {};
    }
    return "the menu bar has no item " + std::to_string(id);
}

std::string DialogBase::UserResize(int cx, int cy) {
    if (ended_) return "the dialog has ended";
    if (!template_.resizable) return "the dialog has no sizing border";
    if (cx <= 0 || cy <= 0) return "a window cannot be that small";
    ResizeClient(cx, cy);
    return {};
}

}  // namespace orbel::platform
