// A live dialog on the desktop: a QDialog with one widget per template control, each at its
// template rectangle converted with the dialog font, and each a window of the window system
// with its control ID. The widgets hold what the dialog shows; what a person does to them
// reaches the owner as the original platform's notifications, and so does what the scripted
// user does through the User* calls. Changes the program makes notify nobody.
#pragma once

#include <QMetaObject>
#include <QPointer>
#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "platform/controls/Controls.h"
#include "platform/dialogs/DialogBase.h"

class QWidget;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QAbstractButton;
class QCheckBox;
class QComboBox;
class QListWidget;
class QTabBar;
class QGroupBox;
class QMenuBar;
class QAction;

namespace orbel::platform {

class QtWindows;
class QtDialogWindow;
class TypingLimit;

class QtDialog final : public DialogBase {
  public:
    // `alive` expires when the platform that made the dialog goes; `owner` is the widget of
    // the window that owns the dialog, if any.
    QtDialog(const DialogTemplate& dialogTemplate, DialogOwner& owner, QtWindows& windows,
             Controls& controls, QWidget* ownerWidget, std::weak_ptr<const int> alive,
             HWND formParent = kNoWindow);
    ~QtDialog() override;

    SIZE GetClientSize() const override;
    void MoveChild(HWND child, const RECT& rect) override;

  private:
    struct Widgets : Control {
        // Declared before the widget that refers to it, so that it goes after.
        std::unique_ptr<TypingLimit> typingLimit;
        std::unique_ptr<QWidget> widget;  // a child of the dialog's widget
        // Multi-line edits: the text as the program or the person last left it, and whether
        // the program wrote its line breaks as CR LF.
        QString lastText;
        bool crlf = false;
    };
    static Widgets& Of(Control& c) { return static_cast<Widgets&>(c); }
    static const Widgets& Of(const Control& c) { return static_cast<const Widgets&>(c); }
    // While the program changes a control: its signals are blocked and what the widgets do in
    // reaction is not the user's.
    class ProgramScope;

    std::string TextOf(const Control& c) const override;
    void PutText(Control& c, std::string_view text) override;
    int CheckOf(const Control& c) const override;
    void PutCheck(Control& c, int state) override;
    int EntryCount(const Control& c) const override;
    std::string EntryText(const Control& c, int index) const override;
    int AppendEntry(Control& c, std::string_view text) override;
    void ClearEntries(Control& c) override;
    int InsertTabAt(Control& c, int index, std::string_view text) override;
    int Selection(const Control& c) const override;
    void PutSelection(Control& c, int index) override;
    void OnReadOnly(Control& c) override;
    void OnEnabled(Control& c) override;
    void OnShown(Control& c) override;
    void FocusOn(Control& c) override;
    void Notify(UINT id, UINT code) override;
    void Click(Control& c) override;
    void OnCaption() override;
    void OnMenuItemEnabled(UINT id, bool enable) override;
    void OnControlMoved(Control& c) override;
    void ResizeClient(int cx, int cy) override;

    // The template's menu bar, above the client area; its height is `top_`.
    void BuildMenu();
    void OnWindowResized(QSize size);
    // A rectangle of the client area in the dialog window's coordinates.
    QRect InWindow(const RECT& client) const;
    void Build(Controls& controls);
    std::unique_ptr<QWidget> MakeWidget(Widgets& c);
    void Connect(Widgets& c);
    static QLabel* Label(const Control* c);
    static QLineEdit* Line(const Control* c);
    static QPlainTextEdit* Plain(const Control* c);
    static QAbstractButton* Button(const Control* c);
    static QCheckBox* Check(const Control* c);
    static QComboBox* Combo(const Control* c);
    static QListWidget* ListBox(const Control* c);
    static QTabBar* Tabs(const Control* c);
    static QGroupBox* Group(const Control* c);
    void PutQtText(Widgets& c, const QString& text);
    // What a person does to the widgets.
    void OnPersonEdited(Widgets& c);
    void OnPersonEditedMultiline(Widgets& c);
    void OnFocusChanged(QWidget* now);
    bool PlatformAlive() const { return !alive_.expired(); }

    QtWindows& windows_;
    QPointer<QWidget> ownerWidget_;
    std::weak_ptr<const int> alive_;
    // Goes after the controls, whose widgets are its children.
    std::unique_ptr<QtDialogWindow> dialog_;
    int programDepth_ = 0;
    QMetaObject::Connection focusConnection_;
    QPointer<QMenuBar> menuBar_;  // a child of the dialog's window
    std::vector<std::pair<UINT, QPointer<QAction>>> menuActions_;
    int top_ = 0;
    SIZE notifiedSize_{};
};

}  // namespace orbel::platform
