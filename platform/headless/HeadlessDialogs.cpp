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
                               std::weak_ptr<std::string> lastDump, HWND formParent)
    : DialogBase(dialogTemplate, owner),
      windows_(windows),
      openDialogs_(std::move(openDialogs)),
      lastDump_(std::move(lastDump)) {
    // The dialog is a window of its own, not a child of the one that owns it: searches below
    // the owner must not find the dialog's controls. A form is the child of its view.
    CreateWindowParams params;
    params.className = "#32770";
    params.text = Template().caption;
    params.style = formParent ? WS_CHILD | WS_VISIBLE : 0;
    params.parent = formParent;
    params.rect = DialogUnitsToPixels(RECT{0, 0, Template().width, Template().height});
    client_ = SIZE{params.rect.Width(), params.rect.Height()};
    SetWindow(windows_.CreateWindow(params, nullptr));

    for (const DialogControlTemplate& source : Template().controls) {
        auto c = std::make_unique<Record>();
        c->Start(source);
        c->place = DialogUnitsToPixels(source.rect);
        if (HoldsText(c.get())) c->text = source.text;
        if (source.kind == Kind::ListControl && Window()) {
            CreateWindowParams child;
            child.className = "SysListView32";
            child.style = WS_CHILD | (c->visible ? WS_VISIBLE : 0) | (c->enabled ? 0 : WS_DISABLED);
            child.rect = DialogUnitsToPixels(source.rect);
            child.parent = Window();
            child.id = source.id;
            c->window = windows_.CreateWindow(child, nullptr);
            c->list = controls.CreateListControl(c->window, ListEventsOf(Owner(), source.id));
        }
        AddControl(std::move(c));
    }
    if (auto open = openDialogs_.lock()) open->push_back(this);
}

HeadlessDialog::~HeadlessDialog() {
    auto open = openDialogs_.lock();
    if (!open) return;  // the platform went first, with its windows
    if (auto last = lastDump_.lock()) *last = Dump();
    std::erase(*open, this);
    for (const auto& c : AllControls()) c->list.reset();
    if (Window()) windows_.DestroyWindow(Window());
}

std::string HeadlessDialog::TextOf(const Control& c) const {
    const Record& r = Of(c);
    if (IsKind(&c, Kind::ComboDropDownList) || IsKind(&c, Kind::ListBox) ||
        IsKind(&c, Kind::TabControl))
        return r.selection < 0 ? std::string() : r.entries[static_cast<std::size_t>(r.selection)];
    return r.text;
}

void HeadlessDialog::PutText(Control& c, std::string_view text) {
    Of(c).text = std::string(text);
}

int HeadlessDialog::EntryCount(const Control& c) const {
    return static_cast<int>(Of(c).entries.size());
}

std::string HeadlessDialog::EntryText(const Control& c, int index) const {
    return Of(c).entries[static_cast<std::size_t>(index)];
}

int HeadlessDialog::AppendEntry(Control& c, std::string_view text) {
    Of(c).entries.emplace_back(text);
    return EntryCount(c) - 1;
}

void HeadlessDialog::ClearEntries(Control& c) {
    Record& r = Of(c);
    r.entries.clear();
    r.selection = -1;
    if (IsKind(&c, Kind::ComboDropDown)) r.text.clear();
}

int HeadlessDialog::InsertTabAt(Control& c, int index, std::string_view text) {
    Record& r = Of(c);
    r.entries.insert(r.entries.begin() + index, std::string(text));
    if (r.selection < 0)
        r.selection = 0;
    else if (index <= r.selection)
        ++r.selection;
    return index;
}

void HeadlessDialog::PutSelection(Control& c, int index) {
    Record& r = Of(c);
    r.selection = index;
    if (IsKind(&c, Kind::ComboDropDown))
        r.text = index < 0 ? std::string() : r.entries[static_cast<std::size_t>(index)];
}

void HeadlessDialog::OnEnabled(Control& c) {
    if (c.window) windows_.EnableWindow(c.window, c.enabled);
}

void HeadlessDialog::OnShown(Control& c) {
    if (c.window) windows_.ShowWindow(c.window, c.visible);
}

void HeadlessDialog::OnControlMoved(Control& c) {
    if (c.window) windows_.MoveWindow(c.window, c.place, true);
}

void HeadlessDialog::ResizeClient(int cx, int cy) {
    client_ = SIZE{cx, cy};
    Owner().OnDialogSize(cx, cy);
}

void HeadlessDialog::MoveChild(HWND child, const RECT& rect) {
    if (windows_.GetParent(child) == Window()) windows_.MoveWindow(child, rect, true);
}

std::string HeadlessDialog::Dump() const {
    std::string out = "dialog " + std::to_string(Template().id) + " " +
                      QuoteString(Template().caption) +
                      (IsEnded() ? " (ended " + std::to_string(Result()) + ")" : " (open)") + "\n";
    if (!Menu().empty()) {
        out += "  menu";
        for (std::size_t i = 0; i < Menu().size(); ++i) {
            const MenuState& m = Menu()[i];
            out += (i ? " | " : " ") + (m.item.separator ? std::string("-") : m.item.text);
            if (!m.item.separator && !m.enabled) out += " (grey)";
        }
        out += "\n";
    }
    if (GetCaption() != Template().caption) out += "  caption " + QuoteString(GetCaption()) + "\n";
    auto entries = [](const std::vector<std::string>& list) {
        std::string s = " [";
        for (std::size_t i = 0; i < list.size(); ++i) s += (i ? " | " : "") + list[i];
        return s + "]";
    };
    for (const auto& control : AllControls()) {
        const Record& c = Of(*control);
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
        if (GetFocus() != 0 && GetFocus() == c.source->id) out += " focus";
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

std::unique_ptr<LiveDialog> HeadlessDialogs::CreateForm(const DialogTemplate& formTemplate,
                                                        DialogOwner& owner, HWND parent) {
    return DialogBase::Initialised(std::make_unique<HeadlessDialog>(
        formTemplate, owner, windows_, controls_, open_, lastDump_, parent));
}

std::string HeadlessDialogs::Dump() const {
    std::string out;
    for (const HeadlessDialog* d : *open_) out += d->Dump();
    return out;
}

}  // namespace orbel::platform
