// The viewer's page on the desktop: one widget inside the viewer's window that paints the page
// turned and scaled, a reason in place of a page that cannot be shown, and the selection
// rectangle. The mouse passes through it to the viewer's window, as a person's input reaches
// every window of the system.
#include <QHBoxLayout>
#include <QImage>
#include <QPainter>
#include <QPointer>
#include <QWidget>

#include "platform/Platform.h"
#include "platform/imaging/ImageFile.h"
#include "platform/imaging/QtPageImage.h"
#include "platform/imaging/ViewerSurface.h"
#include "platform/qt/QtWindows.h"

namespace orbel::imaging {

namespace {

class PagePane final : public QWidget {
  public:
    explicit PagePane(QWidget* parent) : QWidget(parent) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

    void SetPage(QImage page, std::shared_ptr<const BilevelImage> bilevel = nullptr) {
        page_ = std::move(page);
        bilevel_ = std::move(bilevel);
        scaled_ = QImage();
    }
    void SetPicture(const ViewerPicture& picture) {
        if (picture.zoom != picture_.zoom || picture.rotation != picture_.rotation ||
            picture.smooth != picture_.smooth)
            scaled_ = QImage();
        picture_ = picture;
        // The page is scaled when it is shown, not at the next paint, so that showing it costs
        // what it costs once.
        if (picture_.shown) Scaled();
        update();
    }
    // The page as it is drawn, made once for each zoom, turn and smoothing.
    const QImage& Scaled() {
        if (scaled_.isNull() && !page_.isNull()) {
            QTransform turn;
            turn.rotate(picture_.rotation);
            turn.scale(picture_.zoom, picture_.zoom);
            // Grey scaling: a bilevel page made smaller is drawn in greys, each the share of
            // white it stands for, and only then turned.
            if (picture_.smooth && bilevel_ && picture_.zoom < 1.0) {
                GreyImage grey = ScaleToGrey(*bilevel_, picture_.zoom);
                QImage small(grey.pixels.data(), grey.width, grey.height, grey.width,
                             QImage::Format_Grayscale8);
                QTransform quarter;
                quarter.rotate(picture_.rotation);
                // A deep copy: `small` only borrows the pixels of `grey`.
                scaled_ = small.transformed(quarter).copy();
            } else if (picture_.smooth && page_.format() == QImage::Format_Mono)
                scaled_ = page_.convertToFormat(QImage::Format_Grayscale8)
                              .transformed(turn, Qt::SmoothTransformation);
            else
                scaled_ = page_.transformed(
                    turn, picture_.smooth ? Qt::SmoothTransformation : Qt::FastTransformation);
        }
        return scaled_;
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), palette().color(QPalette::Window));
        if (!picture_.message.empty()) {
            p.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap,
                       QString::fromStdString(picture_.message));
            return;
        }
        if (!picture_.shown) return;
        p.drawImage(0, 0, Scaled());
        const RECT& s = picture_.selection;
        if (s.right > s.left && s.bottom > s.top) {
            p.setPen(QPen(Qt::black, 1, Qt::DashLine));
            p.drawRect(s.left, s.top, s.right - s.left - 1, s.bottom - s.top - 1);
        }
    }

  private:
    QImage page_;
    // The bits behind a black-and-white page_, for scaling to grey.
    std::shared_ptr<const BilevelImage> bilevel_;
    QImage scaled_;
    ViewerPicture picture_;
};

class QtViewerSurface final : public ViewerSurface {
  public:
    explicit QtViewerSurface(platform::QtWindows& windows) : windows_(windows) {}

    void Attach(HWND window) override {
        QWidget* host = windows_.Widget(window);
        if (!host) return;
        pane_ = new PagePane(host);
        auto* layout = new QHBoxLayout(host);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(pane_);
    }

    bool Load(const ImageFile& file, int page, std::string& error) override {
        auto decoded = DecodeQtPage(file, page, error);
        if (!decoded) return false;
        if (pane_) pane_->SetPage(std::move(decoded->image), std::move(decoded->bilevel));
        return true;
    }

    void Clear() override {
        if (pane_) pane_->SetPage(QImage());
    }

    void Paint(const ViewerPicture& picture) override {
        if (pane_) pane_->SetPicture(picture);
    }

  private:
    platform::QtWindows& windows_;
    QPointer<PagePane> pane_;
};

}  // namespace

std::unique_ptr<ViewerSurface> MakeViewerSurface() {
    if (auto* windows = dynamic_cast<platform::QtWindows*>(&platform::GetPlatform().Windows()))
        return std::make_unique<QtViewerSurface>(*windows);
    return MakeStateOnlySurface();
}

}  // namespace orbel::imaging
