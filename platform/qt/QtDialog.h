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
#include "platform/dialogs/DialogControlRules.h"
#include "platform/dialogs/Dialogs.h"

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

namespace orbel::platform {

class QtWindows;
class QtDialogWindow;
class TypingLimit;

class QtDialog final : public LiveDialog {
  public:
    // `alive` expires when the platform that made the dialog goes; `owner` is the widget of
    // the window that owns the dialog, if any.
    QtDialog(const DialogTemplate& dialogTemplate, DialogOwner& owner, QtWindows& windows,
             Controls& controls, QWidget* ownerWidget, std::weak_ptr<const int> alive);
    ~QtDialog() override;
    QtDialog(const QtDialog&) = delete;
    QtDialog& operator=(const QtDialog&) = delete;

    const DialogTemplate& Template() const override { return template_; }
    HWND Window() const override { return window_; }
    bool HasControl(UINT id) const override { return Find(id) != nullptr; }

    std::string GetText(UINT id) const override;
    void SetText(UINT id, std::string_view text) override;
    void LimitText(UINT id, int maxChars) override;
    void SetReadOnly(UINT id, bool readOnly) override;
    int GetCheck(UINT id) const override;
    void SetCheck(UINT id, int state) override;

    int AddString(UINT id, std::string_view text) override;
    int GetCount(UINT id) const override;
    int GetCurSel(UINT id) const override;
    bool SetCurSel(UINT id, int index) override;
    std::string GetItemText(UINT id, int index) const override;
    void ResetContent(UINT id) override;

    int InsertTab(UINT id, int index, std::string_view text) override;
    int GetCurTab(UINT id) const override;
    bool SetCurTab(UINT id, int index) override;

    ListControl* GetListControl(UINT id) override;

    void EnableControl(UINT id, bool enable) override;
    bool IsControlEnabled(UINT id) const override;
    void ShowControl(UINT id, bool show) override;
    bool IsControlVisible(UINT id) const override;
    void SetFocus(UINT id) override;
    UINT GetFocus() const override { return focus_; }

    void EndDialog(int result) override;
    bool IsEnded() const override { return ended_; }
    int Result() const override { return result_; }

    std::string UserType(UINT id, std::string_view text) override;
    std::string UserChoose(UINT id, std::string_view text) override;
    std::string UserCheck(UINT id, int state) override;
    std::string UserPress(UINT id) override;
    void UserClose() override;

  private:
    struct Control : DialogControlState {
        HWND window;
        // Declared before the widget that refers to it, so that it goes after.
        std::unique_ptr<TypingLimit> typingLimit;
        std::unique_ptr<QWidget> widget;    // a child of the dialog's widget
        std::unique_ptr<ListControl> list;  // list controls only
        // Multi-line edits: the text as the program or the person last left it, and whether
        // the program wrote its line breaks as CR LF.
        QString lastText;
        bool crlf = false;
    };
    // While the program changes a control: its signals are blocked and what the widgets do in
    // reaction is not the user's.
    class ProgramScope;

    void Build(Controls& controls);
    std::unique_ptr<QWidget> MakeWidget(Control& c);
    void Connect(Control& c);
    const Control* Find(UINT id) const;
    Control* Find(UINT id);
    static QLabel* Label(const Control* c);
    static QLineEdit* Line(const Control* c);
    static QPlainTextEdit* Plain(const Control* c);
    static QAbstractButton* Button(const Control* c);
    static QCheckBox* Check(const Control* c);
    static QComboBox* Combo(const Control* c);
    static QListWidget* ListBox(const Control* c);
    static QTabBar* Tabs(const Control* c);
    static QGroupBox* Group(const Control* c);
    // The entries of a combo box or list box, or the tabs of a tab control.
    std::vector<QString> Entries(const Control& c) const;
    int Selection(const Control& c) const;
    std::string TextOf(const Control& c) const;
    void PutText(Control& c, const QString& text);
    void PutSelection(Control& c, int index);
    void FocusOn(Control& c);
    void Notify(UINT id, UINT code);
    // What a person does to the widgets.
    void OnPersonEdited(Control& c);
    void OnPersonEditedMultiline(Control& c);
    void OnFocusChanged(QWidget* now);
    bool PlatformAlive() const { return !alive_.expired(); }

    DialogTemplate template_;
    DialogOwner& owner_;
    QtWindows& windows_;
    QPointer<QWidget> ownerWidget_;
    std::weak_ptr<const int> alive_;
    // Declared before the controls: their widgets are its children and go first.
    std::unique_ptr<QtDialogWindow> dialog_;
    HWND window_;
    std::vector<std::unique_ptr<Control>> controls_;  // template order
    UINT focus_ = 0;
    bool ended_ = false;
    int result_ = 0;
    int programDepth_ = 0;
    QMetaObject::Connection focusConnection_;
};

}  // namespace orbel::platform
