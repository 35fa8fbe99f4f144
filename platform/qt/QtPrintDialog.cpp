#include <QPrintDialog>
#include <QPrinter>

#include "platform/qt/QtUser.h"
#include "platform/qt/QtWindows.h"

namespace orbel::platform {

std::optional<PrintChoice> QtUser::ChoosePrinter(const PrintDialogRequest& request) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QString::fromStdString(request.document));
    if (request.pageCount > 0) printer.setFromTo(1, request.pageCount);
    QPrintDialog dialog(&printer, windows_.Widget(request.owner));
    // The pages are the caller's: the item's range or the whole file.
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    PrintChoice choice;
    if (printer.outputFormat() == QPrinter::PdfFormat)
        choice.outputFile = printer.outputFileName().toStdString();
    else
        choice.printer = printer.printerName().toStdString();
    return choice;
}

}  // namespace orbel::platform
