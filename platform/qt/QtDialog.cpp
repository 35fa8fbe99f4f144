#include "platform/qt/QtDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
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
                   Controls& controls, QWidget* ownerWidget, std::weak_ptr<const int> alive,
                   HWND formParent)
    : DialogBase(dialogTemplate, owner),
      windows_(windows),
      ownerWidget_(ownerWidget),
      alive_(std::move(alive)) {
    dialog_ =
        std::make_unique<QtDialogWindow>([this] { UserClose(); }, [this] { return IsEnded(); },
                                         [this](bool shown) {
                                             if (Window() && PlatformAlive())
                                                 windows_.ShowWindow(Window(), shown);
                                         },
                                         ownerWidget);
    const DialogTemplate& t = Template();
    dialog_->setWindowTitle(ToQt(t.caption));
    if (t.font) dialog_->setFont(DialogFontOf(t));
    const RECT size =
        DialogUnitsToPixels(RECT{0, 0, t.width, t.height}, DialogBaseUnitsOf(DialogFontOf(t)));
    BuildMenu();
    QWidget* view = formParent ? windows_.Widget(formParent) : nullptr;
    if (view) {
        // A form lies in its view and takes the view's size.
        dialog_->setParent(view, Qt::Widget);
        dialog_->resize(size.Width(), size.Height());
        SetWindow(windows_.Adopt(dialog_.get(), "#32770", formParent, 0, nullptr));
        Build(controls);
        windows_.ShowWindow(Window(), true);
    } else if (t.resizable) {
        dialog_->setWindowFlags(dialog_->windowFlags() | Qt::WindowMinMaxButtonsHint);
        dialog_->setSizeGripEnabled(true);
        dialog_->resize(size.Width(), size.Height() + top_);
        notifiedSize_ = SIZE{size.Width(), size.Height()};
        dialog_->SetResized([this](QSize s) { OnWindowResized(s); });
        SetWindow(windows_.Adopt(dialog_.get(), "#32770", kNoWindow, 0, nullptr));
        windows_.ShowWindow(Window(), false);
        Build(controls);
    } else {
        dialog_->setFixedSize(size.Width(), size.Height() + top_);
        // The dialog is a window of its own, not a child of the one that owns it: searches
        // below the owner must not find the dialog's controls. It is not shown until the modal
        // run.
        SetWindow(windows_.Adopt(dialog_.get(), "#32770", kNoWindow, 0, nullptr));
        windows_.ShowWindow(Window(), false);
        Build(controls);
    }
    focusConnection_ = QObject::connect(qApp, &QApplication::focusChanged, dialog_.get(),
                                        [this](QWidget*, QWidget* now) { OnFocusChanged(now); });
}

QtDialog::~QtDialog() {
    QObject::disconnect(focusConnection_);
    for (const auto& c : AllControls()) c->list.reset();
    if (Window() && PlatformAlive()) windows_.DestroyWindow(Window());
    SetWindow(kNoWindow);
    ClearControls();
    dialog_.reset();
}

void QtDialog::Build(Controls& controls) {
    const DialogBaseUnits base = DialogBaseUnitsOf(DialogFontOf(Template()));
    for (const DialogControlTemplate& source : Template().controls) {
        auto c = std::make_unique<Widgets>();
        c->Start(source);
        c->widget = MakeWidget(*c);

        c->place = DialogUnitsToPixels(source.rect, base);
        OnControlMoved(*c);

        // Tab order and stacking follow the template, as widgets made in that order do.
        c->window = windows_.Adopt(c->widget.get(), WindowClassOf(source.kind), Window(), source.id,
                                   nullptr);
        if (c->window) {
            if (!c->enabled) windows_.EnableWindow(c->window, false);
            if (!c->visible) windows_.ShowWindow(c->window, false);
        }
        c->widget->setEnabled(c->enabled);
        if (!c->visible) c->widget->hide();

        if (source.kind == Kind::ListControl && c->window) {
            c->list = controls.CreateListControl(c->window, ListEventsOf(Owner(), source.id));
        }
        Connect(*c);
        AddControl(std::move(c));
    }
    // A label's mnemonic moves the focus to the control after it, as the original's does.
    const auto& all = AllControls();
    for (std::size_t i = 0; i < all.size(); ++i) {
        QLabel* label = Label(all[i].get());
        if (!label || !label->text().contains('&')) continue;
        for (std::size_t j = i + 1; j < all.size(); ++j) {
            const Kind kind = all[j]->source->kind;
            if (kind == Kind::Static || kind == Kind::GroupBox) continue;
            label->setBuddy(Of(*all[j]).widget.get());
            break;
        }
    }
}

std::unique_ptr<QWidget> QtDialog::MakeWidget(Widgets& c) {
    QWidget* parent = dialog_.get();
    const QString text = ToQt(c.source->text);
    Widgets* cp = &c;
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

void QtDialog::Connect(Widgets& c) {
    Widgets* cp = &c;
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

QLabel* QtDialog::Label(const Control* c) {
    return c ? qobject_cast<QLabel*>(Of(*c).widget.get()) : nullptr;
}
QLineEdit* QtDialog::Line(const Control* c) {
    return c ? qobject_cast<QLineEdit*>(Of(*c).widget.get()) : nullptr;
}
QPlainTextEdit* QtDialog::Plain(const Control* c) {
    return c ? qobject_cast<QPlainTextEdit*>(Of(*c).widget.get()) : nullptr;
}
QAbstractButton* QtDialog::Button(const Control* c) {
    return c ? qobject_cast<QAbstractButton*>(Of(*c).widget.get()) : nullptr;
}
QCheckBox* QtDialog::Check(const Control* c) {
    return c ? qobject_cast<QCheckBox*>(Of(*c).widget.get()) : nullptr;
}
QComboBox* QtDialog::Combo(const Control* c) {
    return c ? qobject_cast<QComboBox*>(Of(*c).widget.get()) : nullptr;
}
QListWidget* QtDialog::ListBox(const Control* c) {
    return c ? qobject_cast<QListWidget*>(Of(*c).widget.get()) : nullptr;
}
QTabBar* QtDialog::Tabs(const Control* c) {
    return c ? qobject_cast<QTabBar*>(Of(*c).widget.get()) : nullptr;
}
QGroupBox* QtDialog::Group(const Control* c) {
    return c ? qobject_cast<QGroupBox*>(Of(*c).widget.get()) : nullptr;
}

int QtDialog::EntryCount(const Control& c) const {
    if (QComboBox* combo = Combo(&c)) return combo->count();
    if (QListWidget* list = ListBox(&c)) return list->count();
    if (QTabBar* tabs = Tabs(&c)) return tabs->count();
    return 0;
}

std::string QtDialog::EntryText(const Control& c, int index) const {
    if (QComboBox* combo = Combo(&c)) return combo->itemText(index).toStdString();
    if (QListWidget* list = ListBox(&c)) return list->item(index)->text().toStdString();
    if (QTabBar* tabs = Tabs(&c)) return tabs->tabText(index).toStdString();
    return {};
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
            if (Of(c).crlf)
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
            return selection < 0 ? std::string() : EntryText(c, selection);
        }
        case Kind::ListControl:
            return {};
    }
    return {};
}

void QtDialog::PutText(Control& c, std::string_view text) {
    PutQtText(Of(c), ToQt(text));
}

void QtDialog::PutQtText(Widgets& c, const QString& text) {
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
    ProgramScope scope(*this, Of(c).widget.get());
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

void QtDialog::OnReadOnly(Control& c) {
    if (QLineEdit* line = Line(&c)) line->setReadOnly(c.readOnly);
    if (QPlainTextEdit* plain = Plain(&c)) plain->setReadOnly(c.readOnly);
}

int QtDialog::CheckOf(const Control& c) const {
    switch (Check(&c)->checkState()) {
        case Qt::Checked:
            return 1;
        case Qt::PartiallyChecked:
            return 2;
        default:
            return 0;
    }
}

void QtDialog::PutCheck(Control& c, int state) {
    QCheckBox* box = Check(&c);
    ProgramScope scope(*this, box);
    if (state == 2) box->setTristate(true);
    box->setCheckState(state == 2 ? Qt::PartiallyChecked : state ? Qt::Checked : Qt::Unchecked);
}

int QtDialog::AppendEntry(Control& c, std::string_view text) {
    ProgramScope scope(*this, Of(c).widget.get());
    if (QComboBox* combo = Combo(&c)) {
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
    QListWidget* list = ListBox(&c);
    list->addItem(ToQt(text));
    return list->count() - 1;
}

void QtDialog::ClearEntries(Control& c) {
    ProgramScope scope(*this, Of(c).widget.get());
    if (QComboBox* combo = Combo(&c)) {
        combo->clear();
        if (combo->isEditable()) combo->setEditText(QString());
    } else if (QListWidget* list = ListBox(&c)) {
        list->clear();
    }
}

int QtDialog::InsertTabAt(Control& c, int index, std::string_view text) {
    QTabBar* tabs = Tabs(&c);
    ProgramScope scope(*this, tabs);
    return tabs->insertTab(index, ToQt(text));
}

void QtDialog::OnEnabled(Control& c) {
    // The focus Qt moves away from a control that goes is not the user's doing.
    ProgramScope scope(*this, nullptr);
    if (c.window && PlatformAlive()) windows_.EnableWindow(c.window, c.enabled);
    Of(c).widget->setEnabled(c.enabled);
}

void QtDialog::OnShown(Control& c) {
    ProgramScope scope(*this, nullptr);
    if (c.window && PlatformAlive()) windows_.ShowWindow(c.window, c.visible);
    Of(c).widget->setVisible(c.visible);
}

void QtDialog::FocusOn(Control& c) {
    DialogBase::FocusOn(c);
    // Before the dialog is shown Qt only remembers the widget, and gives it the focus then.
    ProgramScope scope(*this, nullptr);
    Of(c).widget->setFocus(Qt::OtherFocusReason);
}

void QtDialog::Notify(UINT id, UINT code) {
    // Signals the widgets send while the program changes them, or after the end, are no one's.
    if (IsEnded() || programDepth_ > 0) return;
    DialogBase::Notify(id, code);
}

void QtDialog::BuildMenu() {
    if (Template().menu.empty()) return;
    menuBar_ = new QMenuBar(dialog_.get());
    for (const MenuItem& item : Template().menu) {
        if (item.separator) {
            menuBar_->addSeparator();
            continue;
        }
        QAction* action = menuBar_->addAction(ToQt(item.text));
        const UINT id = item.id;
        QObject::connect(action, &QAction::triggered, menuBar_, [this, id] {
            if (!IsEnded() && programDepth_ == 0 && IsMenuItemEnabled(id))
                Owner().OnDialogCommand(id, 0);
        });
        menuActions_.emplace_back(id, action);
    }
    top_ = menuBar_->sizeHint().height();
    menuBar_->setGeometry(0, 0, dialog_->width(), top_);
}

QRect QtDialog::InWindow(const RECT& client) const {
    return QRect(client.left, client.top + top_, client.Width(), client.Height());
}

SIZE QtDialog::GetClientSize() const {
    return SIZE{dialog_->width(), dialog_->height() - top_};
}

void QtDialog::MoveChild(HWND child, const RECT& rect) {
    if (!PlatformAlive() || windows_.GetParent(child) != Window()) return;
    const QRect r = InWindow(rect);
    windows_.MoveWindow(child, RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()},
                        true);
}

void QtDialog::OnCaption() {
    dialog_->setWindowTitle(ToQt(GetCaption()));
}

void QtDialog::OnMenuItemEnabled(UINT id, bool enable) {
    for (auto& [item, action] : menuActions_)
        if (item == id && action) action->setEnabled(enable);
}

void QtDialog::OnControlMoved(Control& c) {
    QRect r = InWindow(c.place);
    // A combo box's template height includes its dropped list; closed, it is as high as the
    // style draws it.
    if (IsCombo(&c)) r.setHeight(Of(c).widget->sizeHint().height());
    Of(c).widget->setGeometry(r);
}

void QtDialog::ResizeClient(int cx, int cy) {
    dialog_->resize(cx, cy + top_);
    // A hidden window hears of its new size only when it is shown: the owner hears now.
    OnWindowResized(dialog_->size());
}

void QtDialog::OnWindowResized(QSize size) {
    if (menuBar_) menuBar_->setGeometry(0, 0, size.width(), top_);
    const SIZE client{size.width(), size.height() - top_};
    if (client == notifiedSize_ || !PlatformAlive()) return;
    notifiedSize_ = client;
    Owner().OnDialogSize(client.cx, client.cy);
}

void QtDialog::Click(Control& c) {
    // The button's own click, as a person's: its clicked signal notifies the owner.
    Button(&c)->click();
}

void QtDialog::OnPersonEdited(Widgets& c) {
    if (IsEnded() || programDepth_ > 0) return;
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

void QtDialog::OnPersonEditedMultiline(Widgets& c) {
    if (IsEnded() || programDepth_ > 0) return;
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
    if (IsEnded() || programDepth_ > 0 || !now) return;
    for (const auto& c : AllControls()) {
        QWidget* widget = Of(*c).widget.get();
        if (widget == now || widget->isAncestorOf(now)) {
            SetFocusId(c->source->id);
            return;
        }
    }
}

}  // namespace orbel::platform
