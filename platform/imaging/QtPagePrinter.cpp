// Printing on the desktop: each page decoded as the screen decodes it and drawn on its own
// sheet, as large as the sheet allows without changing its proportions.
#include <QPainter>
#include <QPrinter>

#include "platform/Platform.h"
#include "platform/imaging/ImageFile.h"
#include "platform/imaging/PagePrinter.h"
#include "platform/imaging/QtPageImage.h"
#include "platform/qt/QtWindows.h"

namespace orbel::imaging {

namespace {

class QtPagePrinter final : public PagePrinter {
  public:
    bool Print(const ImageFile& file, int first, int last, const platform::PrintChoice& where,
               std::string& error) override {
        QPrinter printer(QPrinter::HighResolution);
        printer.setDocName(QString::fromStdString(file.Path()));
        if (!where.outputFile.empty()) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(QString::fromStdString(where.outputFile));
        } else if (!where.printer.empty()) {
            printer.setPrinterName(QString::fromStdString(where.printer));
        }
        if (!printer.isValid()) {
            error = "no printer";
            return false;
        }
        QPainter painter;
        if (!painter.begin(&printer)) {
            error =
                "cannot print to " + (where.outputFile.empty() ? "the printer" : where.outputFile);
            return false;
        }
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        for (int page = first; page <= last; ++page) {
            auto decoded = DecodeQtPage(file, page, error);
            if (!decoded) {
                painter.end();
                return false;
            }
            if (page > first) printer.newPage();
            const QRect sheet = painter.viewport();
            QSize size = decoded->image.size();
            size.scale(sheet.size(), Qt::KeepAspectRatio);
            painter.drawImage(QRect(sheet.topLeft(), size), decoded->image);
        }
        return painter.end();
    }
};

}  // namespace

std::unique_ptr<PagePrinter> MakePagePrinter() {
    if (dynamic_cast<platform::QtWindows*>(&platform::GetPlatform().Windows()))
        return std::make_unique<QtPagePrinter>();
    return MakeStateOnlyPrinter();
}

}  // namespace orbel::imaging
