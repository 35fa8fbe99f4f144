#include "platform/imaging/QtPageImage.h"

#include <QImageReader>

namespace orbel::imaging {

std::optional<QtPage> DecodeQtPage(const ImageFile& file, int page, std::string& error) {
    QtPage out;
    if (file.Format() == ImageFormat::Tiff && file.Page(page).type == PageType::BlackAndWhite) {
        // A scanned page stays one bit a pixel until it is scaled for the screen.
        auto bilevel = file.DecodeTiffBilevelPage(page, error);
        if (!bilevel) return std::nullopt;
        auto bits = std::make_shared<const BilevelImage>(std::move(*bilevel));
        // The image shares the bits and keeps them alive with itself.
        auto* keep = new std::shared_ptr<const BilevelImage>(bits);
        out.image = QImage(
            bits->bits.data(), bits->width, bits->height, static_cast<qsizetype>(bits->stride),
            QImage::Format_Mono,
            [](void* p) { delete static_cast<std::shared_ptr<const BilevelImage>*>(p); }, keep);
        const QRgb white = qRgb(255, 255, 255), black = qRgb(0, 0, 0);
        out.image.setColorTable(bits->zeroIsWhite ? QList<QRgb>{white, black}
                                                  : QList<QRgb>{black, white});
        out.bilevel = std::move(bits);
    } else if (file.Format() == ImageFormat::Tiff) {
        auto decoded = file.DecodeTiffPage(page, error);
        if (!decoded) return std::nullopt;
        // The pixels move into the image, which frees them with itself.
        auto* pixels = new std::vector<std::uint32_t>(std::move(decoded->pixels));
        out.image = QImage(
            reinterpret_cast<uchar*>(pixels->data()), decoded->width, decoded->height,
            decoded->width * 4, QImage::Format_RGBA8888,
            [](void* p) { delete static_cast<std::vector<std::uint32_t>*>(p); }, pixels);
    } else {
        QImageReader reader(QString::fromStdString(file.Path()));
        if (page > 1 && !reader.jumpToImage(page - 1)) {
            error = "no such page";
            return std::nullopt;
        }
        out.image = reader.read();
        if (out.image.isNull()) {
            error = reader.errorString().toStdString();
            return std::nullopt;
        }
    }
    return out;
}

}  // namespace orbel::imaging
