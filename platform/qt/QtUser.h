// A person at the desktop answers what is modal: message boxes, the beep, popup menus and
// dialogs, each shown by Qt and waited for in a nested event loop.
#pragma once

#include <QMessageBox>

#include "platform/PrintDialog.h"
#include "platform/UserInteraction.h"

namespace orbel::platform {

class QtLoop;

// The filter of a chooser request as Qt writes it: each description with its patterns in
// parentheses ("Text (*.txt)", "All Files (*)"), separated by ";;".
QString QtFileFilter(const std::string& filter);
class QtWindows;

// The message box's buttons for a request, and the answer a clicked button gives.
QMessageBox::StandardButtons QtButtonsFor(MessageButtons buttons);
MessageAnswer AnswerFromQtButton(QMessageBox::StandardButton button, MessageButtons buttons);
QMessageBox::Icon QtIconFor(MessageIcon icon);

class QtUser final : public UserInteraction, public PrinterChooser {
  public:
    QtUser(QtWindows& windows, QtLoop& loop) : windows_(windows), loop_(loop) {}
    MessageAnswer MessageBox(const MessageBoxRequest& request) override;
    void MessageBeep() override;
    // Keys and left clicks that reach the open menu pass the menu's filter hooks first.
    UINT TrackPopupMenu(const PopupMenuRequest& request) override;
    int RunModalDialog(LiveDialog& dialog) override;
    void ShowModelessDialog(LiveDialog& dialog) override;
    // Qt's own file dialog (not the desktop's), so that it behaves the same on every desktop
    // and under test.
    std::optional<std::string> ChooseFile(const FileChooserRequest& request) override;
    // Qt's print dialog over the desktop's printers (CUPS), with printing to a PDF file.
    std::optional<PrintChoice> ChoosePrinter(const PrintDialogRequest& request) override;

  private:
    QtWindows& windows_;
    QtLoop& loop_;
};

}  // namespace orbel::platform
