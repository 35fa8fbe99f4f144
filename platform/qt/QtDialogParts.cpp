#include "platform/qt/QtDialogParts.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QWindow>
#include <algorithm>
#include <utility>

namespace orbel::platform {

namespace {
// units * base / divisor, rounded half away from zero as the original platform's MulDiv does.
int MulDiv(int units, int base, int divisor) {
    const int product = units * base;
    return (product + (product >= 0 ? divisor / 2 : -divisor / 2)) / divisor;
}

bool StartsPair(const QString& text, qsizetype i) {
    return text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
}
}  // namespace

QFont DialogFontOf(const DialogTemplate& dialogTemplate) {
    if (!dialogTemplate.font) return QApplication::font("QDialog");
    QFont font(QString::fromStdString(dialogTemplate.font->face));
    font.setPointSize(dialogTemplate.font->pointSize);
    return font;
}

DialogBaseUnits DialogBaseUnitsOf(const QFont& font) {
    const QFontMetrics metrics(font);
    const int alphabet = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return DialogBaseUnits{(alphabet / 26 + 1) / 2, metrics.height()};
}

RECT DialogUnitsToPixels(const RECT& units, DialogBaseUnits base) {
    return RECT{MulDiv(units.left, base.x, 4), MulDiv(units.top, base.y, 8),
                MulDiv(units.right, base.x, 4), MulDiv(units.bottom, base.y, 8)};
}

int CodePoints(const QString& text) {
    int count = 0;
    for (qsizetype i = 0; i < text.size(); i += StartsPair(text, i) ? 2 : 1) ++count;
    return count;
}

std::optional<QString> LimitTyped(const QString& before, const QString& after, int limit,
                                  int* cursor) {
    const int allowed = std::max(limit, CodePoints(before));
    const int excess = CodePoints(after) - allowed;
    if (limit <= 0 || excess <= 0) return after;

    // What the edit put in is what lies between the parts it left alone at both ends.
    const qsizetype common = std::min(before.size(), after.size());
    qsizetype head = 0;
    while (head < common && before[head] == after[head]) ++head;
    if (head > 0 && after[head - 1].isHighSurrogate()) --head;
    qsizetype tail = 0;
    while (tail < common - head &&
           before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    if (tail > 0 && after[after.size() - tail].isLowSurrogate()) --tail;
    const QString inserted = after.mid(head, after.size() - head - tail);

    const int keep = CodePoints(inserted) - excess;
    qsizetype kept = 0;
    for (int n = 0; n < keep && kept < inserted.size(); ++n)
        kept += StartsPair(inserted, kept) ? 2 : 1;
    QString result = after.left(head) + inserted.left(kept) + after.right(tail);
    if (result == before) return std::nullopt;
    if (cursor) *cursor = static_cast<int>(head + kept);
    return result;
}

TypingLimit::TypingLimit(std::function<int()> limit, std::function<bool(const QString&)> passes,
                         QString current)
    : limit_(std::move(limit)), passes_(std::move(passes)), last_(std::move(current)) {}

QValidator::State TypingLimit::validate(QString& input, int& pos) const {
    // Every change of the field passes here, the program's too, so the last text accepted is
    // what the field held before a person's edit.
    if (input == last_) return Acceptable;
    const int limit = limit_();
    if (limit <= 0 || passes_(input)) {
        last_ = input;
        return Acceptable;
    }
    int cursor = pos;
    std::optional<QString> kept = LimitTyped(last_, input, limit, &cursor);
    if (!kept) return Invalid;  // the field takes back the keystroke
    input = *kept;
    pos = cursor;
    last_ = input;
    return Acceptable;
}

QtDialogWindow::QtDialogWindow(std::function<void()> askClose, std::function<bool()> ended,
                               std::function<void(bool)> shownChanged, QWidget* owner)
    : askClose_(std::move(askClose)),
      ended_(std::move(ended)),
      shownChanged_(std::move(shownChanged)),
      owner_(owner) {}

void QtDialogWindow::done(int) {
    // Only the owner ends a dialog; the modal run hides it afterwards.
}

void QtDialogWindow::reject() {
    // Escape.
    if (!ended_()) askClose_();
}

void QtDialogWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (!ended_()) askClose_();
}

void QtDialogWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!placed_ && owner_) {
        // Not a child of the owner's widget (which may go first), but centred over it and kept
        // above it.
        QWidget* top = owner_->window();
        move(top->frameGeometry().center() - QPoint(width() / 2, height() / 2));
        if (windowHandle() && top->windowHandle())
            windowHandle()->setTransientParent(top->windowHandle());
    }
    placed_ = true;
    shownChanged_(true);
}

void QtDialogWindow::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (resized_) resized_(size());
}

void QtDialogWindow::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    shownChanged_(false);
}

}  // namespace orbel::platform
