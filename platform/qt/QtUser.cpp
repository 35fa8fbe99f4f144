#include "platform/qt/QtUser.h"

#include <QApplication>
#include <QDialog>
#include <QEventLoop>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>

#include "platform/MenuMode.h"
#include "platform/Platform.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/qt/QtKeys.h"
#include "platform/qt/QtLoop.h"
#include "platform/qt/QtWindows.h"

namespace orbel::platform {

QMessageBox::StandardButtons QtButtonsFor(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::Ok:
            return QMessageBox::Ok;
        case MessageButtons::OkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case MessageButtons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case MessageButtons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

MessageAnswer AnswerFromQtButton(QMessageBox::StandardButton button, MessageButtons buttons) {
    switch (button) {
        case QMessageBox::Ok:
            return MessageAnswer::Ok;
        case QMessageBox::Yes:
            return MessageAnswer::Yes;
        case QMessageBox::No:
            return MessageAnswer::No;
        case QMessageBox::Cancel:
            return MessageAnswer::Cancel;
        default:
            // Closed without a button (Escape, the close box).
            return DismissalAnswer(buttons);
    }
}

QMessageBox::Icon QtIconFor(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::None:
            return QMessageBox::NoIcon;
        case MessageIcon::Error:
            return QMessageBox::Critical;
        case MessageIcon::Question:
            return QMessageBox::Question;
        case MessageIcon::Warning:
            return QMessageBox::Warning;
        case MessageIcon::Information:
            return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

namespace {
// The window a modal thing belongs to: the active window of the application, if any.
QWidget* ModalParent() {
    return QApplication::activeWindow();
}
}  // namespace

MessageAnswer QtUser::MessageBox(const MessageBoxRequest& request) {
    QMessageBox box(QtIconFor(request.icon), QString::fromStdString(request.caption),
                    QString::fromStdString(request.text), QtButtonsFor(request.buttons),
                    ModalParent());
    const auto clicked = static_cast<QMessageBox::StandardButton>(box.exec());
    return AnswerFromQtButton(clicked, request.buttons);
}

void QtUser::MessageBeep() {
    QApplication::beep();
}

namespace {
// Offers what the person does in an open menu to the menu's filter hooks before the menu acts.
class MenuFilter final : public QObject {
  public:
    MenuFilter(QtWindows& windows, QtLoop& loop, HWND owner)
        : windows_(windows), loop_(loop), owner_(owner) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        MSG msg{owner_, 0, 0, 0, loop_.Now()};
        if (event->type() == QEvent::KeyPress) {
            const UINT vk = VirtualKeyFromQt(static_cast<QKeyEvent*>(event)->key());
            if (!vk) return false;
            msg.message = WM_KEYDOWN;
            msg.wParam = vk;
            msg.lParam = 1;
        } else if (event->type() == QEvent::MouseButtonPress) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() != Qt::LeftButton) return false;
            const QPoint at = mouse->globalPosition().toPoint();
            msg.hwnd = windows_.WindowFromPoint(POINT{at.x(), at.y()});
            msg.message = WM_LBUTTONDOWN;
            msg.wParam = 1;
            msg.lParam = MAKELPARAM(at.x(), at.y());
        } else {
            return false;
        }
        if (!CallMsgFilter(msg, MSGF_MENU)) return false;
        // A consumed click closes nothing by itself and is not given again to what lies below.
        if (auto* widget = qobject_cast<QWidget*>(watched))
            widget->setAttribute(Qt::WA_NoMouseReplay);
        return true;
    }

  private:
    QtWindows& windows_;
    QtLoop& loop_;
    HWND owner_;
};
}  // namespace

UINT QtUser::TrackPopupMenu(const PopupMenuRequest& request) {
    QMenu menu(windows_.Widget(request.owner));
    MenuFilter filter(windows_, loop_, request.owner);
    menu.installEventFilter(&filter);
    const MenuModeScope mode([&menu] { menu.close(); });
    for (const MenuItem& item : request.items) {
        if (item.separator) {
            menu.addSeparator();
            continue;
        }
        QAction* action = menu.addAction(QString::fromStdString(item.text));
        action->setData(item.id);
        if (item.checked) {
            action->setCheckable(true);
            action->setChecked(true);
        }
        if (item.isDefault) {
            QFont bold = action->font();
            bold.setBold(true);
            action->setFont(bold);
            menu.setDefaultAction(action);
        }
    }
    QAction* chosen = menu.exec(QPoint(request.at.x, request.at.y));
    return chosen ? chosen->data().toUInt() : 0;
}

QString QtFileFilter(const std::string& filter) {
    QStringList parts = QString::fromStdString(filter).split('|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty()) break;
        QString description = parts[i];
        // The description often repeats its patterns; Qt reads them from the parentheses.
        if (const qsizetype open = description.lastIndexOf(" (");
            open > 0 && description.endsWith(')'))
            description.truncate(open);
        QString patterns = parts[i + 1];
        patterns.replace(';', ' ');
        patterns.replace("*.*", "*");
        filters << description + " (" + patterns + ")";
    }
    return filters.join(";;");
}

std::optional<std::string> QtUser::ChooseFile(const FileChooserRequest& request) {
    QFileDialog dialog(windows_.Widget(request.owner));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (!request.title.empty()) dialog.setWindowTitle(QString::fromStdString(request.title));
    if (!request.directory.empty()) dialog.setDirectory(QString::fromStdString(request.directory));
    switch (request.kind) {
        case ChooserKind::Open:
            dialog.setFileMode(QFileDialog::ExistingFile);
            dialog.setAcceptMode(QFileDialog::AcceptOpen);
            break;
        case ChooserKind::Save:
            dialog.setFileMode(QFileDialog::AnyFile);
            dialog.setAcceptMode(QFileDialog::AcceptSave);
            dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
            break;
        case ChooserKind::Folder:
            dialog.setFileMode(QFileDialog::Directory);
            dialog.setOption(QFileDialog::ShowDirsOnly);
            break;
    }
    if (request.kind != ChooserKind::Folder && !request.filter.empty())
        dialog.setNameFilter(QtFileFilter(request.filter));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
}

void QtUser::ShowModelessDialog(LiveDialog& dialog) {
    QWidget* widget = windows_.Widget(dialog.Window());
    if (!widget) return;
    widget->setWindowModality(Qt::NonModal);
    widget->show();
    widget->raise();
    // The program goes on at once, often busy: let the window system map and paint the window
    // first, without taking anything the person does.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

int QtUser::RunModalDialog(LiveDialog& dialog) {
    QPointer<QWidget> widget = windows_.Widget(dialog.Window());
    if (!widget) {
        dialog.EndDialog(2);
        return dialog.Result();
    }
    widget->setWindowModality(Qt::ApplicationModal);
    widget->show();
    widget->raise();
    widget->activateWindow();
    // The dialog's owner ends it from the person's actions; messages the program posted in the
    // meantime are delivered as the original's modal loop does.
    MSG msg;
    while (!dialog.IsEnded() && widget && widget->isVisible()) {
        if (loop_.TakeWithoutWaiting(msg)) {
            GetPlatform().DispatchMessage(msg);
            continue;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    if (widget) widget->hide();
    if (!dialog.IsEnded()) dialog.EndDialog(2);
    return dialog.Result();
}

}  // namespace orbel::platform
