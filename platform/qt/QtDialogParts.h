// The pieces a desktop dialog is made of besides its controls: the window that leaves every
// decision to close to the dialog's owner, the limit on what a person types into a field, and
// the conversion of dialog units with the dialog font.
// Not for: what the controls hold or whom they notify (QtDialog).
#pragma once

#include <QDialog>
#include <QFont>
#include <QPointer>
#include <QString>
#include <QValidator>
#include <functional>
#include <optional>

#include "platform/Win.h"
#include "platform/dialogs/DialogTemplate.h"

namespace orbel::platform {

// The dialog font's base units in pixels: its average character width and its height.
struct DialogBaseUnits {
    int x = 6;
    int y = 13;
};

// The font a dialog's controls are drawn in: the template's own, else the desktop's.
QFont DialogFontOf(const DialogTemplate& dialogTemplate);
// Base units the way the original platform measures them: the width of the alphabet in both
// cases over 52, rounded, and the font's height.
DialogBaseUnits DialogBaseUnitsOf(const QFont& font);
// A rectangle in dialog units in pixels: a horizontal unit is a quarter of the average
// character width, a vertical unit an eighth of the height, each rounded to the nearest pixel.
RECT DialogUnitsToPixels(const RECT& units, DialogBaseUnits base);

// Characters (code points) in the text, as a user counts them.
int CodePoints(const QString& text);
// What a person's edit leaves in a field limited to `limit` characters that held `before`:
// the edit unchanged when it fits, else with the typed or pasted characters cut so that it
// fits (a text the program made longer may stay that long, never grow). Nothing when none of
// the typed characters fit. `cursor` is set to the end of what was kept.
std::optional<QString> LimitTyped(const QString& before, const QString& after, int limit,
                                  int* cursor);

// Holds a one-line field to its limit while a person types; the program's own texts and the
// entries a person picks from a combo box's list pass whole.
class TypingLimit final : public QValidator {
  public:
    // `limit` gives the current limit (0: none); `passes` tells whether a text passes whole.
    TypingLimit(std::function<int()> limit, std::function<bool(const QString&)> passes,
                QString current);
    State validate(QString& input, int& pos) const override;

  private:
    std::function<int()> limit_;
    std::function<bool(const QString&)> passes_;
    mutable QString last_;  // the field's text as last accepted
};

// The dialog's window. It never closes itself: Escape and the close box ask the owner, who
// ends the dialog, and the modal run then hides it. Shown over the window that owns it.
class QtDialogWindow final : public QDialog {
  public:
    QtDialogWindow(std::function<void()> askClose, std::function<bool()> ended,
                   std::function<void(bool shown)> shownChanged, QWidget* owner);

    void done(int result) override;
    void reject() override;
    // Called with the window's new size whenever it changes.
    void SetResized(std::function<void(QSize)> resized) { resized_ = std::move(resized); }

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    std::function<void()> askClose_;
    std::function<bool()> ended_;
    std::function<void(bool)> shownChanged_;
    std::function<void(QSize)> resized_;
    QPointer<QWidget> owner_;
    bool placed_ = false;
};

}  // namespace orbel::platform
