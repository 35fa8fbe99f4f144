// The browser's engine without a desktop: each page is read whole when it is asked for (files
// on this computer, and web servers on it), so that a navigation has happened, with every
// event, when the call that asked for it returns. It keeps its own history.
#include <vector>

#include "platform/EffectLog.h"
#include "platform/automation/Variant.h"
#include "platform/browser/BrowserEngine.h"
#include "platform/browser/PageSource.h"

namespace orbel::browser {

BrowserEngineEvents::~BrowserEngineEvents() = default;
BrowserEngine::~BrowserEngine() = default;

namespace {

class PageModel final : public BrowserEngine {
  public:
    void Attach(HWND, BrowserEngineEvents& events) override { events_ = &events; }
    void Detach() override { events_ = nullptr; }
    void Resize(int, int) override {}

    void Load(const std::string& url) override {
        if (!history_.empty()) history_.resize(current_ + 1);
        history_.push_back({url, url, url});
        current_ = history_.size() - 1;
        Show();
    }
    void Back() override {
        if (!CanGoBack()) return;
        --current_;
        Show();
    }
    void Forward() override {
        if (!CanGoForward()) return;
        ++current_;
        Show();
    }
    void Reload() override {
        if (!history_.empty()) Show();
    }
    // Nothing loads once the call that asked for a page has returned.
    void Stop() override {}
    bool CanGoBack() const override { return !history_.empty() && current_ > 0; }
    bool CanGoForward() const override { return current_ + 1 < history_.size(); }
    std::string Url() const override { return history_.empty() ? "" : history_[current_].url; }
    std::string Title() const override { return history_.empty() ? "" : history_[current_].title; }
    bool Busy() const override { return false; }

    bool Print(const platform::PrintChoice& where, std::string& error) override {
        if (history_.empty()) {
            error = "no page is shown";
            return false;
        }
        // Without a desktop nothing lays the page out: the transcript says where it went.
        platform::RecordEffect("browser: print " + QuoteString(Url()) + " to " +
                               (where.outputFile.empty() ? std::string("the printer")
                                                         : QuoteString(where.outputFile)) +
                               " (not laid out without a desktop)");
        return true;
    }

  private:
    struct Entry {
        std::string asked;  // the address navigated to, which a redirection may change
        std::string url;
        std::string title;
    };

    void Show() {
        Entry& entry = history_[current_];
        if (events_) events_->OnLoadStarted();
        const FetchedPage page = FetchPage(entry.asked);
        entry.url = page.url;
        entry.title = page.title;
        if (!events_) return;
        events_->OnAddressChanged(entry.url);
        events_->OnTitleChanged(entry.title);
        events_->OnLoadFinished(page.ok ? std::string() : page.error);
    }

    BrowserEngineEvents* events_ = nullptr;
    std::vector<Entry> history_;
    std::size_t current_ = 0;
};

}  // namespace

std::unique_ptr<BrowserEngine> MakePageModel() {
    return std::make_unique<PageModel>();
}

}  // namespace orbel::browser
