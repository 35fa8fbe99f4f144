// The browser's engine on the desktop: Qt WebEngine in the component's window. Pages load while
// the program waits in its loop. The engine tells the component a page's address and title
// when the page has loaded (WebEngine's own first title is made from the address), so that the
// component's events come in the same order as without a desktop; a title a page sets later
// is told at once.
#include <QEventLoop>
#include <QHBoxLayout>
#include <QPageLayout>
#include <QPageSize>
#include <QPointer>
#include <QPrinter>
#include <QWebEngineHistory>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "platform/Platform.h"
#include "platform/browser/BrowserEngine.h"
#include "platform/qt/QtWindows.h"

namespace orbel::browser {

namespace {

class QtBrowserEngine final : public BrowserEngine {
  public:
    explicit QtBrowserEngine(platform::QtWindows& windows) : windows_(windows) {}
    ~QtBrowserEngine() override { delete view_.data(); }

    void Attach(HWND window, BrowserEngineEvents& events) override {
        events_ = &events;
        QWidget* host = windows_.Widget(window);
        if (!host) return;
        view_ = new QWebEngineView(host);
        auto* layout = new QHBoxLayout(host);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(view_);
        QObject::connect(view_, &QWebEngineView::loadStarted, view_, [this] {
            asked_ = false;
            if (loading_) return;
            loading_ = true;
            if (events_) events_->OnLoadStarted();
        });
        QObject::connect(view_, &QWebEngineView::loadFinished, view_, [this](bool ok) {
            if (!loading_) {
                // A load that never said it started (a page's own jump within itself).
                loading_ = true;
                if (events_) events_->OnLoadStarted();
            }
            loading_ = false;
            asked_ = false;
            if (!events_) return;
            events_->OnAddressChanged(Url());
            events_->OnTitleChanged(Title());
            events_->OnLoadFinished(ok ? std::string() : "the page could not be loaded");
        });
        QObject::connect(view_, &QWebEngineView::titleChanged, view_, [this](const QString&) {
            if (!loading_ && events_) events_->OnTitleChanged(Title());
        });
    }
    void Detach() override { events_ = nullptr; }
    void Resize(int, int) override {}

    void Load(const std::string& url) override {
        if (!view_) return;
        asked_ = true;
        view_->load(QUrl(QString::fromStdString(url)));
    }
    void Back() override {
        if (!CanGoBack()) return;
        asked_ = true;
        view_->back();
    }
    void Forward() override {
        if (!CanGoForward()) return;
        asked_ = true;
        view_->forward();
    }
    void Reload() override {
        if (!view_) return;
        asked_ = true;
        view_->reload();
    }
    void Stop() override {
        asked_ = false;
        if (view_) view_->stop();
    }
    bool CanGoBack() const override { return view_ && view_->history()->canGoBack(); }
    bool CanGoForward() const override { return view_ && view_->history()->canGoForward(); }
    std::string Url() const override {
        return view_ ? view_->url().toString().toStdString() : std::string();
    }
    std::string Title() const override {
        return view_ ? view_->title().toStdString() : std::string();
    }
    // From the call that asks for a page on: WebEngine says that it started only later.
    bool Busy() const override { return asked_ || loading_; }

    bool Print(const platform::PrintChoice& where, std::string& error) override {
        if (!view_) {
            error = "no page is shown";
            return false;
        }
        QEventLoop wait;
        bool done = false;
        if (!where.outputFile.empty()) {
            QObject::connect(view_->page(), &QWebEnginePage::pdfPrintingFinished, &wait,
                             [&](const QString&, bool ok) {
                                 done = ok;
                                 wait.quit();
                             });
            view_->page()->printToPdf(
                QString::fromStdString(where.outputFile),
                QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
        } else {
            QPrinter printer(QPrinter::HighResolution);
            if (!where.printer.empty())
                printer.setPrinterName(QString::fromStdString(where.printer));
            if (!printer.isValid()) {
                error = "no printer";
                return false;
            }
            QObject::connect(view_, &QWebEngineView::printFinished, &wait, [&](bool ok) {
                done = ok;
                wait.quit();
            });
            view_->print(&printer);
            wait.exec();
            if (!done) error = "the page could not be printed";
            return done;
        }
        wait.exec();
        if (!done) error = "cannot print to " + where.outputFile;
        return done;
    }

  private:
    platform::QtWindows& windows_;
    QPointer<QWebEngineView> view_;
    BrowserEngineEvents* events_ = nullptr;
    bool loading_ = false;
    bool asked_ = false;
};

}  // namespace

std::unique_ptr<BrowserEngine> MakeBrowserEngine() {
    if (auto* windows = dynamic_cast<platform::QtWindows*>(&platform::GetPlatform().Windows()))
        return std::make_unique<QtBrowserEngine>(*windows);
    return MakePageModel();
}

}  // namespace orbel::browser
