#include "platform/imaging/ScanProgress.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/Api.h"
#include "platform/framework/Dialog.h"
#include "platform/imaging/ImagingIds.h"

namespace orbel::imaging {

using namespace scan;

namespace {

// How often the window is brought up to date while the scanner reads.
constexpr UINT kTickMs = 50;

const platform::DialogTemplate& ProgressTemplate() {
    using K = platform::DialogControlKind;
    static const platform::DialogTemplate t{
        kProgressDialog,
        "Scanning",
        160,
        46,
        std::nullopt,
        {
            {kProgressText, K::Static, "Starting the scanner...", RECT{7, 7, 153, 15}, 0},
            {IDCANCEL, K::Button, "Cancel", RECT{55, 25, 105, 39}, 0},
        }};
    return t;
}

std::string ProgressText(int page, int line) {
    return "Scanning page " + std::to_string(page) + ", line " + std::to_string(line) + "...";
}

// What the reading thread tells the window, and the window's Cancel back.
struct Shared {
    std::mutex mutex;
    std::condition_variable changed;
    int page = 0;
    int line = 0;
    bool done = false;
    std::atomic<bool> cancel{false};
};

class ProgressWindow final : public CDialog {
  public:
    explicit ProgressWindow(Shared& shared) : CDialog(ProgressTemplate()), shared_(shared) {}

  protected:
    void OnCancel() override {
        shared_.cancel = true;
        SetDlgItemText(kProgressText, "Cancelling...");
        GetDlgItem(IDCANCEL).EnableWindow(false);
    }

  private:
    Shared& shared_;
};

}  // namespace

int ScanWithProgress(SaneScanner& scanner, const ScanSettings& settings, const std::string& target,
                     HWND owner, bool& cancelled, std::string& error) {
    auto shared = std::make_shared<Shared>();
    ProgressWindow window(*shared);
    window.Create(owner);
    if (owner) window.CenterWindow(owner);
    window.UpdateWindow();

    int pages = 0;
    std::string scanError;
    std::thread reader([&scanner, &settings, &target, &pages, &scanError, shared] {
        pages = scanner.Scan(
            settings, target,
            [shared](int page, int line) {
                {
                    const std::lock_guard lock(shared->mutex);
                    shared->page = page;
                    shared->line = line;
                }
                return !shared->cancel;
            },
            scanError);
        const std::lock_guard lock(shared->mutex);
        shared->done = true;
        shared->changed.notify_all();
    });

    // The window's text follows the reader on a timer of the loop; the loop runs until the
    // reader is done, as a modal wait does.
    struct Ticks {
        bool finished = false;
        bool abandoned = false;
        int page = 0;
        int line = 0;
    };
    auto ticks = std::make_shared<Ticks>();
    platform::MessageLoop& loop = platform::GetPlatform().Loop();
    std::function<void()> tick;
    tick = [&tick, &loop, &window, ticks, shared] {
        if (ticks->abandoned) return;
        std::unique_lock lock(shared->mutex);
        // A loop whose clock is virtual comes back at once: the real reader is given a moment.
        shared->changed.wait_for(lock, std::chrono::milliseconds(kTickMs),
                                 [&] { return shared->done; });
        const bool done = shared->done;
        const int page = shared->page;
        const int line = shared->line;
        lock.unlock();
        if (done) {
            ticks->finished = true;
            return;
        }
        if ((page != ticks->page || line != ticks->line) && !shared->cancel) {
            ticks->page = page;
            ticks->line = line;
            window.SetDlgItemText(kProgressText, ProgressText(page, line));
        }
        loop.PostDelayedTask(kTickMs, tick);
    };
    loop.PostDelayedTask(0, tick);
    while (!ticks->finished) {
        MSG msg;
        if (!GetMessage(msg)) {
            // The program is ending: the scan stops and the quit goes on to the outer loop.
            ticks->abandoned = true;
            shared->cancel = true;
            reader.join();
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        TranslateMessage(msg);
        DispatchMessage(msg);
    }
    if (reader.joinable()) reader.join();
    cancelled = shared->cancel;
    window.DestroyWindow();
    error = scanError;
    return pages;
}

}  // namespace orbel::imaging
