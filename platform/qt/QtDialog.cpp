#include "platform/qt/QtDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabBar>
#include <algorithm>
#include <utility>

#include "platform/qt/QtDialogParts.h"
#include "platform/qt/QtWindows.h"

namespace orbel::platform {

namespace {
using Kind = DialogControlKind;

QString ToQt(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The original platform's class of the window each kind of control is.
const char* WindowClassOf(Kind kind) {
    switch (kind) {
        case Kind::Static:
            return "Static";
        case Kind::Edit:
            return "Edit";
        case Kind::Button:
        case Kind::DefaultButton:
        case Kind::CheckBox:
        case Kind::GroupBox:
            return "Button";
        case Kind::ComboDropDown:
        case Kind::ComboDropDownList:
            return "ComboBox";
        case Kind::ListBox:
            return "ListBox";
        case Kind::ListControl:
            return "SysListView32";
        case Kind::TabControl:
            return "SysTabControl32";
    }
    return "Static";
}
}  // namespace

class QtDialog::ProgramScope {
  public:
    ProgramScope(QtDialog& dialog, QObject* widget) : dialog_(dialog), blocker_(widget) {
        ++dialog_.programDepth_;
    }
    ~ProgramScope() { --dialog_.programDepth_; }
    ProgramScope(const ProgramScope&) = delete;
    ProgramScope& operator=(const ProgramScope&) = delete;

  private:
    QtDialog& dialog_;
    QSignalBlocker blocker_;
};

QtDialog::QtDialog(const DialogTemplate& dialogTemplate, DialogOwner& owner, QtWindows& windows,
                   Controls& controls, QWidget* ownerWidget, std::weak_ptr<const int> alive)
    : template_(dialogTemplate),
      owner_(owner),
      windows_(windows),
      ownerWidget_(ownerWidget),
      alive_(std::move(alive)) {
    dialog_ = std::make_unique<QtDialogWindow>([this] { UserClose(); }, [this] { return ended_; },
                                               [this](bool shown) {
                                                   if (window_ && PlatformAlive())
                                                       windows_.ShowWindow(window_, shown);
                                               },
                                               ownerWidget);
    dialog_->setWindowTitle(ToQt(template_.caption));
    if (template_.font) dialog_->setFont(DialogFontOf(template_));
    const RECT size = DialogUnitsToPixels(RECT{0, 0, template_.width, template_.height},
                                          DialogBaseUnitsOf(DialogFontOf(template_)));
    dialog_->setFixedSize(size.Width(), size.Height());
    // The dialog is a window of its own, not a child of the one that owns it: searches below
    // the owner must not find the dialog's controls. It is not shown until the modal run.
    window_ = windows_.Adopt(dialog_.get(), "#32770", kNoWindow, 0, nullptr);
    windows_.ShowWindow(window_, false);
    Build(controls);
    focusConnection_ = QObject::connect(qApp, &QApplication::focusChanged, dialog_.get(),
                                        [this](QWidget*, QWidget* now) { OnFocusChanged(now); });
}

QtDialog::~QtDialog() {
    QObject::disconnect(focusConnection_);
    for (auto& c : controls_) c->list.reset();
    if (window_ && PlatformAlive()) windows_.DestroyWindow(window_);
    window_ = kNoWindow;
    controls_.clear();
    dialog_.reset();
}

void QtDialog::Build(Controls& controls) {
    const DialogBaseUnits base = DialogBaseUnitsOf(DialogFontOf(template_));
    controls_.reserve(template_.controls.size());
    for (const DialogControlTemplate& source : template_.controls) {
        auto c = std::make_unique<Control>();
        c->Start(source);
        c->widget = MakeWidget(*c);

        const RECT px = DialogUnitsToPixels(source.rect, base);
        int height = px.Height();
        // A combo box's template height includes its dropped list; closed, it is as high as
        // the style draws it.
        if (IsCombo(c.get())) height = c->widget->sizeHint().height();
        c->widget->setGeometry(px.left, px.top, px.Width(), height);

        // Tab order and stacking follow the template, as widgets made in that order do.
        c->window = windows_.Adopt(c->widget.get(), WindowClassOf(source.kind), window_, source.id,
                                   nullptr);
        if (c->window) {
            if (!c->enabled) windows_.EnableWindow(c->window, false);
            if (!c->visible) windows_.ShowWindow(c->window, false);
        }
        c->widget->setEnabled(c->enabled);
        if (!c->visible) c->widget->hide();

        if (source.kind == Kind::ListControl && c->window) {
            c->list = controls.CreateListControl(c->window, ListEventsOf(owner_, source.id));
        }
        Connect(*c);
        controls_.push_back(std::move(c));
    }
    // A label's mnemonic moves the focus to the control after it, as the original's does.
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        QLabel* label = Label(controls_[i].get());
        if (!label || !label->text().contains('&')) continue;
        for (std::size_t j = i + 1; j < controls_.size(); ++j) {
            const Kind kind = controls_[j]->source->kind;
            if (kind == Kind::Static || kind == Kind::GroupBox) continue;
            label->setBuddy(controls_[j]->widget.get());
            break;
        }
    }
}

std::unique_ptr<QWidget> QtDialog::MakeWidget(Control& c) {
    QWidget* parent = dialog_.get();
    const QString text = ToQt(c.source->text);
    Control* cp = &c;
    // A one-line field's typing limit; the program's texts pass whole.
    auto limit = [this, cp](std::function<bool(const QString&)> passes, QString current) {
        return std::make_unique<TypingLimit>([cp] { return cp->limit; },
                                             [this, passes = std::move(passes)](const QString& s) {
                                                 return programDepth_ > 0 || (passes && passes(s));
                                             },
                                             std::move(current));
    };
    switch (c.source->kind) {
        case Kind::Static: {
            auto label = std::make_unique<QLabel>(text, parent);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            label->setWordWrap(true);
            return label;
        }
        case Kind::Edit: {
            if (c.source->style & kDialogMultiline) {
                auto edit = std::make_unique<QPlainTextEdit>(parent);
                c.crlf = text.contains(QStringLiteral("\r\n"));
                edit->setPlainText(
                    QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
                edit->setReadOnly(c.readOnly);
                c.lastText = edit->toPlainText();
                return edit;
            }
            auto edit = std::make_unique<QLineEdit>(text, parent);
            edit->setReadOnly(c.readOnly);
            c.typingLimit = limit(nullptr, edit->text());
            edit->setValidator(c.typingLimit.get());
            return edit;
        }
        case Kind::Button:
        case Kind::DefaultButton: {
            auto button = std::make_unique<QPushButton>(text, parent);
            if (c.source->kind == Kind::DefaultButton) button->setDefault(true);
            return button;
        }
        case Kind::CheckBox:
            return std::make_unique<QCheckBox>(text, parent);
        case Kind::ComboDropDown: {
            auto combo = std::make_unique<QComboBox>(parent);
            combo->setEditable(true);
            // Enter does not add what was typed, and nothing is completed as the person types.
            combo->setInsertPolicy(QComboBox::NoInsert);
            combo->setCompleter(nullptr);
            combo->setEditText(text);
            QComboBox* raw = combo.get();
            // Picking an entry from the list is not typing: it comes whole.
            c.typingLimit = limit([raw](const QString& s) { return raw->findText(s) >= 0; },
                                  combo->currentText());
            combo->setValidator(c.typingLimit.get());
            return combo;
        }
        case Kind::ComboDropDownList:
            return std::make_unique<QComboBox>(parent);
        case Kind::ListBox: {
            auto list = std::make_unique<QListWidget>(parent);
            list->setSelectionMode(QAbstractItemView::SingleSelection);
            return list;
        }
        case Kind::ListControl:
            return std::make_unique<QWidget>(parent);
        case Kind::TabControl: {
            auto tabs = std::make_unique<QTabBar>(parent);
            tabs->setExpanding(false);
            return tabs;
        }
        case Kind::GroupBox:
            return std::make_unique<QGroupBox>(text, parent);
    }
    return std::make_unique<QWidget>(parent);
}

void QtDialog::Connect(Control& c) {
    Control* cp = &c;
    const UINT id = c.source->id;
    QObject* context = c.widget.get();
    switch (c.source->kind) {
        case Kind::Edit:
            if (QLineEdit* line = Line(cp))
                QObject::connect(line, &QLineEdit::textEdited, context,
                                 [this, cp] { OnPersonEdited(*cp); });
            if (QPlainTextEdit* plain = Plain(cp))
                QObject::connect(plain, &QPlainTextEdit::textChanged, context,
                                 [this, cp] { OnPersonEditedMultiline(*cp); });
            break;
        case Kind::Button:
        case Kind::DefaultButton:
        case Kind::CheckBox:
            QObject::connect(Button(cp), &QAbstractButton::clicked, context,
                             [this, id] { Notify(id, BN_CLICKED); });
            break;
        case Kind::ComboDropDown:
            QObject::connect(Combo(cp)->lineEdit(), &QLineEdit::textEdited, context,
                             [this, cp] { OnPersonEdited(*cp); });
            [[fallthrough]];
        case Kind::ComboDropDownList:
            QObject::connect(Combo(cp), &QComboBox::currentIndexChanged, context,
                             [this, id](int index) {
                                 if (index >= 0) Notify(id, CBN_SELCHANGE);
                             });
            break;
        case Kind::ListBox:
            QObject::connect(ListBox(cp), &QListWidget::itemSelectionChanged, context,
                             [this, id] { Notify(id, LBN_SELCHANGE); });
            break;
        case Kind::TabControl:
            QObject::connect(Tabs(cp), &QTabBar::currentChanged, context,
                             [this, id] { Notify(id, TCN_SELCHANGE); });
            break;
        case Kind::Static:
        case Kind::ListControl:
        case Kind::GroupBox:
            break;
    }
}

const QtDialog::Control* QtDialog::Find(UINT id) const {
    for (const auto& c : controls_)
        if (c->source->id == id) return c.get();
    return nullptr;
}

QtDialog::Control* QtDialog::Find(UINT id) {
    return const_cast<Control*>(std::as_const(*this).Find(id));
}

QLabel* QtDialog::Label(const Control* c) {
    return c ? qobject_cast<QLabel*>(c->widget.get()) : nullptr;
}
QLineEdit* QtDialog::Line(const Control* c) {
    return c ? qobject_cast<QLineEdit*>(c->widget.get()) : nullptr;
}
QPlainTextEdit* QtDialog::Plain(const Control* c) {
    return c ? qobject_cast<QPlainTextEdit*>(c->widget.get()) : nullptr;
}
QAbstractButton* QtDialog::Button(const Control* c) {
    return c ? qobject_cast<QAbstractButton*>(c->widget.get()) : nullptr;
}
QCheckBox* QtDialog::Check(const Control* c) {
    return c ? qobject_cast<QCheckBox*>(c->widget.get()) : nullptr;
}
QComboBox* QtDialog::Combo(const Control* c) {
    return c ? qobject_cast<QComboBox*>(c->widget.get()) : nullptr;
}
QListWidget* QtDialog::ListBox(const Control* c) {
    return c ? qobject_cast<QListWidget*>(c->widget.get()) : nullptr;
}
QTabBar* QtDialog::Tabs(const Control* c) {
    return c ? qobject_cast<QTabBar*>(c->widget.get()) : nullptr;
}
QGroupBox* QtDialog::Group(const Control* c) {
    return c ? qobject_cast<QGroupBox*>(c->widget.get()) : nullptr;
}

std::vector<QString> QtDialog::Entries(const Control& c) const {
    std::vector<QString> out;
    if (QComboBox* combo = Combo(&c)) {
        for (int i = 0; i < combo->count(); ++i) out.push_back(combo->itemText(i));
    } else if (QListWidget* list = ListBox(&c)) {
        for (int i = 0; i < list->count(); ++i) out.push_back(list->item(i)->text());
    } else if (QTabBar* tabs = Tabs(&c)) {
        for (int i = 0; i < tabs->count(); ++i) out.push_back(tabs->tabText(i));
    }
    return out;
}

int QtDialog::Selection(const Control& c) const {
    if (QComboBox* combo = Combo(&c)) return combo->currentIndex();
    if (QTabBar* tabs = Tabs(&c)) return tabs->currentIndex();
    if (QListWidget* list = ListBox(&c)) {
        // The chosen entry is the selected one; the view's current row may be set without it.
        const QList<QListWidgetItem*> selected = list->selectedItems();
        return selected.isEmpty() ? -1 : list->row(selected.first());
    }
    return -1;
}

std::string QtDialog::TextOf(const Control& c) const {
    switch (c.source->kind) {
        case Kind::Static:
            return Label(&c)->text().toStdString();
        case Kind::Edit:
            if (QLineEdit* line = Line(&c)) return line->text().toStdString();
            if (c.crlf)
                return Plain(&c)->toPlainText().replace('\n', QStringLiteral("\r\n")).toStdString();
            return Plain(&c)->toPlainText().toStdString();
        case Kind::Button:
        case Kind::DefaultButton:
        case Kind::CheckBox:
            return Button(&c)->text().toStdString();
        case Kind::GroupBox:
            return Group(&c)->title().toStdString();
        case Kind::ComboDropDown:
            return Combo(&c)->currentText().toStdString();
        case Kind::ComboDropDownList:
        case Kind::ListBox:
        case Kind::TabControl: {
            const int selection = Selection(c);
            if (selection < 0) return {};
            return Entries(c)[static_cast<std::size_t>(selection)].toStdString();
        }
        case Kind::ListControl:
            return {};
    }
    return {};
}

void QtDialog::PutText(Control& c, const QString& text) {
    ProgramScope scope(*this, c.widget.get());
    switch (c.source->kind) {
        case Kind::Static:
            Label(&c)->setText(text);
            break;
        case Kind::Edit:
            if (QLineEdit* line = Line(&c)) {
                line->setText(text);
            } else if (QPlainTextEdit* plain = Plain(&c)) {
                c.crlf = text.contains(QStringLiteral("\r\n"));
                plain->setPlainText(
                    QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
                c.lastText = plain->toPlainText();
            }
            break;
        case Kind::Button:
        case Kind::DefaultButton:
        case Kind::CheckBox:
            Button(&c)->setText(text);
            break;
        case Kind::GroupBox:
            Group(&c)->setTitle(text);
            break;
        case Kind::ComboDropDown:
            Combo(&c)->setEditText(text);
            break;
        case Kind::ComboDropDownList:
        case Kind::ListBox:
        case Kind::TabControl:
        case Kind::ListControl:
            break;
    }
}

void QtDialog::PutSelection(Control& c, int index) {
    ProgramScope scope(*this, c.widget.get());
    if (QComboBox* combo = Combo(&c)) {
        combo->setCurrentIndex(index);
        // Choosing the entry that was chosen before still puts its text in the edit field.
        if (combo->isEditable() && index >= 0) combo->setEditText(combo->itemText(index));
    } else if (QListWidget* list = ListBox(&c)) {
        if (index < 0) {
            list->clearSelection();
            list->setCurrentRow(-1);
        } else {
            list->setCurrentRow(index);
        }
    } else if (QTabBar* tabs = Tabs(&c)) {
        tabs->setCurrentIndex(index);
    }
}

std::string QtDialog::GetText(UINT id) const {
    const Control* c = Find(id);
    return c ? TextOf(*c) : std::string();
}

void QtDialog::SetText(UINT id, std::string_view text) {
    if (Control* c = Find(id); HoldsText(c)) PutText(*c, ToQt(text));
}

void QtDialog::LimitText(UINT id, int maxChars) {
    if (Control* c = Find(id); TakesTyping(c)) c->limit = std::max(0, maxChars);
}

void QtDialog::SetReadOnly(UINT id, bool readOnly) {
    Control* c = Find(id);
    if (!IsKind(c, Kind::Edit)) return;
    c->readOnly = readOnly;
    if (QLineEdit* line = Line(c)) line->setReadOnly(readOnly);
    if (QPlainTextEdit* plain = Plain(c)) plain->setReadOnly(readOnly);
}

int QtDialog::GetCheck(UINT id) const {
    QCheckBox* box = Check(Find(id));
    if (!box) return 0;
    switch (box->checkState()) {
        case Qt::Checked:
            return 1;
        case Qt::PartiallyChecked:
            return 2;
        default:
            return 0;
    }
}

void QtDialog::SetCheck(UINT id, int state) {
    Control* c = Find(id);
    QCheckBox* box = Check(c);
    if (!box) return;
    ProgramScope scope(*this, box);
    if (state == 2) box->setTristate(true);
    box->setCheckState(state == 2 ? Qt::PartiallyChecked : state ? Qt::Checked : Qt::Unchecked);
}

int QtDialog::AddString(UINT id, std::string_view text) {
    Control* c = Find(id);
    if (!HasEntries(c)) return -1;
    ProgramScope scope(*this, c->widget.get());
    if (QComboBox* combo = Combo(c)) {
        // A combo box chooses its first entry by itself; here adding chooses nothing.
        const int before = combo->currentIndex();
        const QString typed = combo->currentText();
        combo->addItem(ToQt(text));
        if (combo->currentIndex() != before) {
            combo->setCurrentIndex(before);
            if (combo->isEditable()) combo->setEditText(typed);
        }
        return combo->count() - 1;
    }
    QListWidget* list = ListBox(c);
    list->addItem(ToQt(text));
    return list->count() - 1;
}

int QtDialog::GetCount(UINT id) const {
    const Control* c = Find(id);
    return HasEntries(c) ? static_cast<int>(Entries(*c).size()) : 0;
}

int QtDialog::GetCurSel(UINT id) const {
    const Control* c = Find(id);
    return HasEntries(c) ? Selection(*c) : -1;
}

bool QtDialog::SetCurSel(UINT id, int index) {
    Control* c = Find(id);
    if (!HasEntries(c) || index < -1 || index >= GetCount(id)) return false;
    PutSelection(*c, index);
    return true;
}

std::string QtDialog::GetItemText(UINT id, int index) const {
    const Control* c = Find(id);
    if (!HasEntries(c) || index < 0 || index >= GetCount(id)) return {};
    return Entries(*c)[static_cast<std::size_t>(index)].toStdString();
}

void QtDialog::ResetContent(UINT id) {
    Control* c = Find(id);
    if (!HasEntries(c)) return;
    ProgramScope scope(*this, c->widget.get());
    if (QComboBox* combo = Combo(c)) {
        combo->clear();
        if (combo->isEditable()) combo->setEditText(QString());
    } else if (QListWidget* list = ListBox(c)) {
        list->clear();
    }
}

int QtDialog::InsertTab(UINT id, int index, std::string_view text) {
    Control* c = Find(id);
    QTabBar* tabs = Tabs(c);
    if (!tabs || index < 0) return -1;
    ProgramScope scope(*this, tabs);
    // The first tab becomes the current one; one inserted before the current one moves it on.
    return tabs->insertTab(std::min(index, tabs->count()), ToQt(text));
}

int QtDialog::GetCurTab(UINT id) const {
    QTabBar* tabs = Tabs(Find(id));
    return tabs ? tabs->currentIndex() : -1;
}

bool QtDialog::SetCurTab(UINT id, int index) {
    Control* c = Find(id);
    QTabBar* tabs = Tabs(c);
    if (!tabs || index < 0 || index >= tabs->count()) return false;
    PutSelection(*c, index);
    return true;
}

ListControl* QtDialog::GetListControl(UINT id) {
    Control* c = Find(id);
    return c ? c->list.get() : nullptr;
}

void QtDialog::EnableControl(UINT id, bool enable) {
    Control* c = Find(id);
    if (!c) return;
    c->enabled = enable;
    {
        // The focus Qt moves away from a control that goes is not the user's doing.
        ProgramScope scope(*this, nullptr);
        if (c->window && PlatformAlive()) windows_.EnableWindow(c->window, enable);
        c->widget->setEnabled(enable);
    }
    if (!enable && focus_ == id) focus_ = 0;
}

bool QtDialog::IsControlEnabled(UINT id) const {
    const Control* c = Find(id);
    return c && c->enabled;
}

void QtDialog::ShowControl(UINT id, bool show) {
    Control* c = Find(id);
    if (!c) return;
    c->visible = show;
    {
        ProgramScope scope(*this, nullptr);
        if (c->window && PlatformAlive()) windows_.ShowWindow(c->window, show);
        c->widget->setVisible(show);
    }
    if (!show && focus_ == id) focus_ = 0;
}

bool QtDialog::IsControlVisible(UINT id) const {
    const Control* c = Find(id);
    return c && c->visible;
}

void QtDialog::SetFocus(UINT id) {
    if (Control* c = Find(id)) FocusOn(*c);
}

void QtDialog::FocusOn(Control& c) {
    focus_ = c.source->id;
    // Before the dialog is shown Qt only remembers the widget, and gives it the focus then.
    ProgramScope scope(*this, nullptr);
    c.widget->setFocus(Qt::OtherFocusReason);
}

void QtDialog::EndDialog(int result) {
    if (ended_) return;
    ended_ = true;
    result_ = result;
}

void QtDialog::Notify(UINT id, UINT code) {
    // Signals the widgets send while the program changes them, or after the end, are no one's.
    if (ended_ || programDepth_ > 0) return;
    owner_.OnDialogCommand(id, code);
}

void QtDialog::OnPersonEdited(Control& c) {
    if (ended_ || programDepth_ > 0) return;
    if (QComboBox* combo = Combo(&c)) {
        if (combo->currentIndex() >= 0) {
            // Typing leaves no entry chosen; the field keeps what was typed.
            QLineEdit* edit = combo->lineEdit();
            const QString typed = edit->text();
            const int cursor = edit->cursorPosition();
            ProgramScope scope(*this, combo);
            combo->setCurrentIndex(-1);
            edit->setText(typed);
            edit->setCursorPosition(cursor);
        }
        Notify(c.source->id, CBN_EDITCHANGE);
        return;
    }
    Notify(c.source->id, EN_CHANGE);
}

void QtDialog::OnPersonEditedMultiline(Control& c) {
    if (ended_ || programDepth_ > 0) return;
    QPlainTextEdit* edit = Plain(&c);
    const QString typed = edit->toPlainText();
    int cursor = edit->textCursor().position();
    const QString kept = LimitTyped(c.lastText, typed, c.limit, &cursor).value_or(c.lastText);
    if (kept != typed) {
        ProgramScope scope(*this, edit);
        edit->setPlainText(kept);
        QTextCursor at = edit->textCursor();
        at.setPosition(std::min(cursor, static_cast<int>(kept.size())));
        edit->setTextCursor(at);
    }
    if (kept == c.lastText) return;
    c.lastText = kept;
    Notify(c.source->id, EN_CHANGE);
}

void QtDialog::OnFocusChanged(QWidget* now) {
    // A person moved the focus (a click, Tab); the program's own moves set it already.
    if (ended_ || programDepth_ > 0 || !now) return;
    for (const auto& c : controls_) {
        if (c->widget.get() == now || c->widget->isAncestorOf(now)) {
            focus_ = c->source->id;
            return;
        }
    }
}

std::string QtDialog::UserType(UINT id, std::string_view text) {
    Control* c = Find(id);
    if (std::string why = RefuseTyping(c, id, ended_); !why.empty()) return why;
    FocusOn(*c);
    const std::string_view typed = TypedText(*c, text);
    if (TextOf(*c) == typed) return {};
    if (QComboBox* combo = Combo(c)) {
        {
            ProgramScope scope(*this, combo);
            combo->setCurrentIndex(-1);
            combo->setEditText(ToQt(typed));
        }
        Notify(id, CBN_EDITCHANGE);
        return {};
    }
    PutText(*c, ToQt(typed));
    Notify(id, EN_CHANGE);
    return {};
}

std::string QtDialog::UserChoose(UINT id, std::string_view text) {
    Control* c = Find(id);
    if (std::string why = RefuseChoosing(c, id, ended_); !why.empty()) return why;
    const std::vector<QString> entries = Entries(*c);
    const QString wanted = ToQt(text);
    auto it = std::find(entries.begin(), entries.end(), wanted);
    if (it == entries.end()) return RefuseNoEntry(id, text);
    FocusOn(*c);
    const int index = static_cast<int>(it - entries.begin());
    if (index == Selection(*c) && (!IsKind(c, Kind::ComboDropDown) || TextOf(*c) == text))
        return {};
    PutSelection(*c, index);
    Notify(id, ChoiceNotification(*c));
    return {};
}

std::string QtDialog::UserCheck(UINT id, int state) {
    Control* c = Find(id);
    if (std::string why = RefuseChecking(c, id, ended_); !why.empty()) return why;
    FocusOn(*c);
    if (GetCheck(id) == state) return {};
    SetCheck(id, state);
    Notify(id, BN_CLICKED);
    return {};
}

std::string QtDialog::UserPress(UINT id) {
    Control* c = Find(id);
    if (std::string why = RefusePressing(c, id, ended_); !why.empty()) return why;
    if (IsKind(c, Kind::CheckBox)) return UserCheck(id, GetCheck(id) ? 0 : 1);
    FocusOn(*c);
    // The button's own click, as a person's: its clicked signal notifies the owner.
    Button(c)->click();
    return {};
}

void QtDialog::UserClose() {
    if (!ended_) owner_.OnDialogClose();
}

}  // namespace orbel::platform
