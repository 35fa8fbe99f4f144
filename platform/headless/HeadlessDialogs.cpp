#include "platform/headless/HeadlessDialogs.h"

#include <algorithm>
#include <utility>

#include "platform/automation/Variant.h"
#include "platform/headless/HeadlessList.h"

namespace orbel::platform {

namespace {
using Kind = DialogControlKind;
}  // namespace

HeadlessDialog::HeadlessDialog(const DialogTemplate& dialogTemplate, DialogOwner& owner,
                               WindowSystem& windows, Controls& controls,
                               std::weak_ptr<std::vector<HeadlessDialog*>> openDialogs,
                               std::weak_ptr<std::string> lastDump)
    : template_(dialogTemplate),
      owner_(owner),
      windows_(windows),
      openDialogs_(std::move(openDialogs)),
      lastDump_(std::move(lastDump)) {
    // The dialog is a window of its own, not a child of the one that owns it: searches below
    // the owner must not find the dialog's controls.
    CreateWindowParams params;
    params.className = "#32770";
    params.text = template_.caption;
    params.style = 0;
    params.rect = DialogUnitsToPixels(RECT{0, 0, template_.width, template_.height});
    window_ = windows_.CreateWindow(params, nullptr);

    controls_.reserve(template_.controls.size());
    for (const DialogControlTemplate& source : template_.controls) {
        Control c;
        c.Start(source);
        if (HoldsText(&c)) c.text = source.text;
        if (source.kind == Kind::ListControl && window_) {
            CreateWindowParams child;
            child.className = "SysListView32";
            child.style = WS_CHILD | (c.visible ? WS_VISIBLE : 0) | (c.enabled ? 0 : WS_DISABLED);
            child.rect = DialogUnitsToPixels(source.rect);
            child.parent = window_;
            child.id = source.id;
            c.window = windows_.CreateWindow(child, nullptr);
            c.list = controls.CreateListControl(c.window, ListEventsOf(owner_, source.id));
        }
        controls_.push_back(std::move(c));
    }
    if (auto open = openDialogs_.lock()) open->push_back(this);
}

HeadlessDialog::~HeadlessDialog() {
    auto open = openDialogs_.lock();
    if (!open) return;  // the platform went first, with its windows
    if (auto last = lastDump_.lock()) *last = Dump();
    std::erase(*open, this);
    for (Control& c : controls_) c.list.reset();
    if (window_) windows_.DestroyWindow(window_);
}

const HeadlessDialog::Control* HeadlessDialog::Find(UINT id) const {
    for (const Control& c : controls_)
        if (c.source->id == id) return &c;
    return nullptr;
}

HeadlessDialog::Control* HeadlessDialog::Find(UINT id) {
    return const_cast<Control*>(std::as_const(*this).Find(id));
}

std::string HeadlessDialog::GetText(UINT id) const {
    const Control* c = Find(id);
    return c ? TextOf(*c) : std::string();
}

std::string HeadlessDialog::TextOf(const Control& c) const {
    if (IsKind(&c, Kind::ComboDropDownList) || IsKind(&c, Kind::ListBox) ||
        IsKind(&c, Kind::TabControl))
        return c.selection < 0 ? std::string() : c.entries[static_cast<std::size_t>(c.selection)];
    return c.text;
}

void HeadlessDialog::SetText(UINT id, std::string_view text) {
    if (Control* c = Find(id); HoldsText(c)) c->text = std::string(text);
}

void HeadlessDialog::LimitText(UINT id, int maxChars) {
    if (Control* c = Find(id); TakesTyping(c)) c->limit = std::max(0, maxChars);
}

void HeadlessDialog::SetReadOnly(UINT id, bool readOnly) {
    if (Control* c = Find(id); IsKind(c, Kind::Edit)) c->readOnly = readOnly;
}

int HeadlessDialog::GetCheck(UINT id) const {
    const Control* c = Find(id);
    return IsKind(c, Kind::CheckBox) ? c->check : 0;
}

void HeadlessDialog::SetCheck(UINT id, int state) {
    if (Control* c = Find(id); IsKind(c, Kind::CheckBox)) c->check = state;
}

int HeadlessDialog::AddString(UINT id, std::string_view text) {
    Control* c = Find(id);
    if (!HasEntries(c)) return -1;
    c->entries.emplace_back(text);
    return static_cast<int>(c->entries.size()) - 1;
}

int HeadlessDialog::GetCount(UINT id) const {
    const Control* c = Find(id);
    return HasEntries(c) ? static_cast<int>(c->entries.size()) : 0;
}

int HeadlessDialog::GetCurSel(UINT id) const {
    const Control* c = Find(id);
    return HasEntries(c) ? c->selection : -1;
}

bool HeadlessDialog::SetCurSel(UINT id, int index) {
    Control* c = Find(id);
    if (!HasEntries(c) || index < -1 || index >= static_cast<int>(c->entries.size())) return false;
    c->selection = index;
    if (IsKind(c, Kind::ComboDropDown))
        c->text = index < 0 ? std::string() : c->entries[static_cast<std::size_t>(index)];
    return true;
}

std::string HeadlessDialog::GetItemText(UINT id, int index) const {
    const Control* c = Find(id);
    if (!HasEntries(c) || index < 0 || index >= static_cast<int>(c->entries.size())) return {};
    return c->entries[static_cast<std::size_t>(index)];
}

void HeadlessDialog::ResetContent(UINT id) {
    Control* c = Find(id);
    if (!HasEntries(c)) return;
    c->entries.clear();
    c->selection = -1;
    if (IsKind(c, Kind::ComboDropDown)) c->text.clear();
}

int HeadlessDialog::InsertTab(UINT id, int index, std::string_view text) {
    Control* c = Find(id);
    if (!IsKind(c, Kind::TabControl) || index < 0) return -1;
    const auto at = std::min(static_cast<std::size_t>(index), c->entries.size());
    c->entries.insert(c->entries.begin() + static_cast<std::ptrdiff_t>(at), std::string(text));
    // The first tab is the current one; a tab inserted before the current one moves it on.
    if (c->selection < 0)
        c->selection = 0;
    else if (static_cast<int>(at) <= c->selection)
        ++c->selection;
    return static_cast<int>(at);
}

int HeadlessDialog::GetCurTab(UINT id) const {
    const Control* c = Find(id);
    return IsKind(c, Kind::TabControl) ? c->selection : -1;
}

bool HeadlessDialog::SetCurTab(UINT id, int index) {
    Control* c = Find(id);
    if (!IsKind(c, Kind::TabControl) || index < 0 || index >= static_cast<int>(c->entries.size()))
        return false;
    c->selection = index;
    return true;
}

ListControl* HeadlessDialog::GetListControl(UINT id) {
    Control* c = Find(id);
    return c ? c->list.get() : nullptr;
}

void HeadlessDialog::EnableControl(UINT id, bool enable) {
    Control* c = Find(id);
    if (!c) return;
    c->enabled = enable;
    if (c->window) windows_.EnableWindow(c->window, enable);
    if (!enable && focus_ == id) focus_ = 0;
}

bool HeadlessDialog::IsControlEnabled(UINT id) const {
    const Control* c = Find(id);
    return c && c->enabled;
}

void HeadlessDialog::ShowControl(UINT id, bool show) {
    Control* c = Find(id);
    if (!c) return;
    c->visible = show;
    if (c->window) windows_.ShowWindow(c->window, show);
    if (!show && focus_ == id) focus_ = 0;
}

bool HeadlessDialog::IsControlVisible(UINT id) const {
    const Control* c = Find(id);
    return c && c->visible;
}

void HeadlessDialog::SetFocus(UINT id) {
    if (HasControl(id)) focus_ = id;
}

void HeadlessDialog::EndDialog(int result) {
    if (ended_) return;
    ended_ = true;
    result_ = result;
}

void HeadlessDialog::Notify(UINT id, UINT code) {
    owner_.OnDialogCommand(id, code);
}

std::string HeadlessDialog::UserType(UINT id, std::string_view text) {
    Control* c = Find(id);
    if (std::string why = RefuseTyping(c, id, ended_); !why.empty()) return why;
    focus_ = id;
    const std::string_view typed = TypedText(*c, text);
    if (c->text == typed) return {};
    c->text = std::string(typed);
    if (IsKind(c, Kind::ComboDropDown)) {
        c->selection = -1;
        Notify(id, CBN_EDITCHANGE);
    } else {
        Notify(id, EN_CHANGE);
    }
    return {};
}

std::string HeadlessDialog::UserChoose(UINT id, std::string_view text) {
    Control* c = Find(id);
    if (std::string why = RefuseChoosing(c, id, ended_); !why.empty()) return why;
    auto it = std::find(c->entries.begin(), c->entries.end(), text);
    if (it == c->entries.end()) return RefuseNoEntry(id, text);
    focus_ = id;
    const int index = static_cast<int>(it - c->entries.begin());
    if (index == c->selection && (!IsKind(c, Kind::ComboDropDown) || c->text == *it)) return {};
    c->selection = index;
    if (IsKind(c, Kind::ComboDropDown)) c->text = *it;
    Notify(id, ChoiceNotification(*c));
    return {};
}

std::string HeadlessDialog::UserCheck(UINT id, int state) {
    Control* c = Find(id);
    if (std::string why = RefuseChecking(c, id, ended_); !why.empty()) return why;
    focus_ = id;
    if (c->check == state) return {};
    c->check = state;
    Notify(id, BN_CLICKED);
    return {};
}

std::string HeadlessDialog::UserPress(UINT id) {
    Control* c = Find(id);
    if (std::string why = RefusePressing(c, id, ended_); !why.empty()) return why;
    if (IsKind(c, Kind::CheckBox)) return UserCheck(id, c->check ? 0 : 1);
    focus_ = id;
    Notify(id, BN_CLICKED);
    return {};
}

void HeadlessDialog::UserClose() {
    if (!ended_) owner_.OnDialogClose();
}

std::string HeadlessDialog::Dump() const {
    std::string out = "dialog " + std::to_string(template_.id) + " " +
                      QuoteString(template_.caption) +
                      (ended_ ? " (ended " + std::to_string(result_) + ")" : " (open)") + "\n";
    auto entries = [](const std::vector<std::string>& list) {
        std::string s = " [";
        for (std::size_t i = 0; i < list.size(); ++i) s += (i ? " | " : "") + list[i];
        return s + "]";
    };
    for (const Control& c : controls_) {
        const Kind kind = c.source->kind;
        out += "  " + std::string(DialogControlKindName(kind)) + " " +
               std::to_string(c.source->id) + " " + QuoteString(TextOf(c));
        if (c.limit > 0) out += " limit=" + std::to_string(c.limit);
        if (c.readOnly) out += " readonly";
        if (kind == Kind::CheckBox) out += " check=" + std::to_string(c.check);
        if (HasEntries(&c)) out += " sel=" + std::to_string(c.selection) + entries(c.entries);
        if (kind == Kind::TabControl)
            out += " tab=" + std::to_string(c.selection) + entries(c.entries);
        if (!c.enabled) out += " disabled";
        if (!c.visible) out += " hidden";
        if (focus_ != 0 && focus_ == c.source->id) out += " focus";
        out += "\n";
        if (const auto* list = dynamic_cast<const HeadlessListControl*>(c.list.get())) {
            const std::string lines = list->Dump();
            std::size_t start = 0;
            while (start < lines.size()) {
                const std::size_t end = lines.find('\n', start);
                out += "    " + lines.substr(start, end - start) + "\n";
                if (end == std::string::npos) break;
                start = end + 1;
            }
        }
    }
    return out;
}

HeadlessDialogs::HeadlessDialogs(WindowSystem& windows, Controls& controls)
    : windows_(windows),
      controls_(controls),
      open_(std::make_shared<std::vector<HeadlessDialog*>>()),
      lastDump_(std::make_shared<std::string>()) {}

std::unique_ptr<LiveDialog> HeadlessDialogs::CreateDialog(const DialogTemplate& dialogTemplate,
                                                          DialogOwner& owner, HWND parent) {
    // Headless dialogs are windows of their own whoever owns them (see HeadlessDialog).
    (void)parent;
    return std::make_unique<HeadlessDialog>(dialogTemplate, owner, windows_, controls_, open_,
                                            lastDump_);
}

std::string HeadlessDialogs::Dump() const {
    std::string out;
    for (const HeadlessDialog* d : *open_) out += d->Dump();
    return out;
}

}  // namespace orbel::platform
