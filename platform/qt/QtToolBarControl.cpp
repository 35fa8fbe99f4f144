#include "platform/qt/QtToolBarControl.h"

#include <QAbstractButton>
#include <QAction>
#include <QIcon>
#include <QToolBar>
#include <array>
#include <utility>

#include "platform/qt/QtImageList.h"
#include "platform/qt/QtViewParts.h"
#include "platform/qt/QtWindows.h"

namespace orbel::platform {

namespace {
// The theme's pictures for the commands the control's toolbars carry.
constexpr std::array<std::pair<UINT, const char*>, 12> kCommandIcons{{
    {32834, "folder-new"},           // New Folder
    {32833, "document-new"},         // New OLE Item
    {32850, "scanner"},              // Scan New Item
    {32786, "image-x-generic"},      // Show Preview Pane
    {32797, "mail-attachment"},      // Attach Objects
    {32793, "system-users"},         // Subscriber Maintenance
    {32794, "mail-send"},            // Send Email To Subscribers
    {32799, "preferences-system"},   // Options
    {32818, "mail-message-new"},     // Send As Email Attachment
    {32810, "document-new"},         // Create New Script
    {32811, "system-run"},           // Run Script
    {32812, "document-properties"},  // Modify Script
}};

QIcon CommandIcon(UINT id) {
    for (const auto& [command, name] : kCommandIcons) {
        if (command != id) continue;
        EnsureIconTheme();
        // Newer themes keep many actions only in their symbolic (one-colour) form.
        const QString themed = QString::fromUtf8(name);
        QIcon icon = QIcon::fromTheme(themed);
        return icon.isNull() ? QIcon::fromTheme(themed + QStringLiteral("-symbolic")) : icon;
    }
    return QIcon();
}
}  // namespace

QtToolBarControl::QtToolBarControl(std::weak_ptr<QtControlContext> context, HWND window,
                                   ToolBarControlEvents& events)
    : ToolBarBase(events),
      registration_(std::move(context), &QtControlContext::toolBars, window, this) {
    if (auto c = registration_.Context()) host_ = c->windows.Widget(window);
    if (!host_) return;
    auto* bar = new QToolBar(host_);  // owned by the window's widget until we go
    bar_ = bar;
    bar->setMovable(false);
    bar->setFloatable(false);
    // A button without a picture shows its text.
    bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    bar->setContentsMargins(0, 0, 0, 0);
    FillWindow(host_, bar, nullptr);
}

QtToolBarControl::~QtToolBarControl() {
    for (QPointer<QAction>& action : actions_)
        if (action && bar_) QObject::disconnect(action, &QAction::triggered, bar_, nullptr);
    if (bar_) {
        bar_->hide();
        // Deleted once the event it may be in (a click) has ended.
        bar_->deleteLater();
    }
}

void QtToolBarControl::OnButtonsSet() {
    if (bar_) bar_->clear();
    for (QPointer<QAction>& action : actions_)
        if (action) action->deleteLater();
    actions_.clear();
    if (!bar_) return;
    bar_->setIconSize(QSize(ButtonWidth(), ButtonHeight()));
    for (std::size_t i = 0; i < Buttons().size(); ++i) {
        const ToolButton& b = Buttons()[i];
        if (b.id == 0) {
            actions_.emplace_back(bar_->addSeparator());
            continue;
        }
        QAction* action = bar_->addAction(CommandIcon(b.id), QString::fromStdString(b.text));
        action->setToolTip(QString::fromStdString(b.tip.empty() ? b.text : b.tip));
        QObject::connect(action, &QAction::triggered, bar_, [this, i] { OnTriggered(i); });
        actions_.emplace_back(action);
    }
}

void QtToolBarControl::OnButtonState(std::size_t index) {
    if (index >= actions_.size() || !actions_[index]) return;
    QAction& action = *actions_[index];
    const State& s = StateAt(index);
    action.setEnabled(s.enabled);
    // Checked is a state of any button here, not a kind of button: only a checked one is
    // checkable, so that a click never checks it by itself.
    action.setCheckable(s.checked);
    action.setChecked(s.checked);
    action.setVisible(!s.hidden);
}

QWidget* QtToolBarControl::ButtonWidget(UINT id) const {
    const std::size_t i = IndexOf(id);
    if (i >= actions_.size() || !actions_[i] || !bar_ || StateAt(i).hidden) return nullptr;
    return bar_->widgetForAction(actions_[i]);
}

RECT QtToolBarControl::GetButtonRect(UINT id) const {
    QWidget* button = ButtonWidget(id);
    if (!button || !host_) return RECT{};
    const QRect r(button->mapTo(host_.data(), QPoint(0, 0)), button->size());
    return RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

bool QtToolBarControl::UserClick(UINT id) {
    if (!Clickable(id)) return false;
    if (auto* button = qobject_cast<QAbstractButton*>(ButtonWidget(id)))
        button->click();
    else
        OnTriggered(IndexOf(id));
    return true;
}

void QtToolBarControl::OnTriggered(std::size_t index) {
    if (index >= Buttons().size()) return;
    OnButtonState(index);  // a click leaves the checked state to the owner
    Clicked(Buttons()[index].id);
}

}  // namespace orbel::platform
