#include "platform/qt/QtFileProperties.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <memory>

namespace orbel::platform {

bool ShowFileProperties(const FileProperties& properties, QWidget* parent) {
    auto window = std::make_unique<QDialog>(parent);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setModal(false);
    window->setWindowTitle(QString::fromStdString(properties.name) + QStringLiteral(" Properties"));

    // Each part is handed to the one that holds it: labels to the form, the form and the
    // buttons to the column, the column to the window.
    auto form = std::make_unique<QFormLayout>();
    // "Name: report.odt" becomes the row "Name:" | "report.odt".
    const QStringList lines =
        QString::fromStdString(properties.Text()).split('\n', Qt::SkipEmptyParts);
    for (const QString& line : lines) {
        const qsizetype colon = line.indexOf(QStringLiteral(": "));
        const QString key = colon < 0 ? QString() : line.left(colon + 1);
        auto value = std::make_unique<QLabel>(colon < 0 ? line : line.mid(colon + 2));
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        form->addRow(key, value.release());
    }
    auto buttons = std::make_unique<QDialogButtonBox>(QDialogButtonBox::Close);
    QObject::connect(buttons.get(), &QDialogButtonBox::rejected, window.get(), &QDialog::close);
    auto column = std::make_unique<QVBoxLayout>();
    column->addLayout(form.release());
    column->addWidget(buttons.release());
    window->setLayout(column.release());

    window->show();
    // From here the window deletes itself when closed, or goes with its parent.
    window.release()->raise();
    return true;
}

}  // namespace orbel::platform
