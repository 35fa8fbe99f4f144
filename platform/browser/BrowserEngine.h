// What shows the pages inside the browser component. The component keeps the order of its
// events and its answers to its callers; an engine loads, keeps the history and tells the
// component what happened, in this order for each page: started, address, title(s), finished.
// The desktop's engine is Qt WebEngine, which loads while the program waits in its loop;
// without a desktop a page model reads each page at once.
#pragma once

#include <memory>
#include <string>

#include "platform/PrintDialog.h"
#include "platform/Win.h"

namespace orbel::browser {

class BrowserEngineEvents {
  public:
    virtual ~BrowserEngineEvents();
    virtual void OnLoadStarted() = 0;
    virtual void OnAddressChanged(const std::string& url) = 0;
    virtual void OnTitleChanged(const std::string& title) = 0;
    // `error` says why the page could not be shown; empty when it was.
    virtual void OnLoadFinished(const std::string& error) = 0;
};

class BrowserEngine {
  public:
    virtual ~BrowserEngine();
    // The component's window exists; the engine shows its pages in it from now on.
    virtual void Attach(HWND window, BrowserEngineEvents& events) = 0;
    virtual void Detach() = 0;
    virtual void Resize(int cx, int cy) = 0;
    virtual void Load(const std::string& url) = 0;
    virtual void Back() = 0;
    virtual void Forward() = 0;
    virtual void Reload() = 0;
    virtual void Stop() = 0;
    virtual bool CanGoBack() const = 0;
    virtual bool CanGoForward() const = 0;
    virtual std::string Url() const = 0;
    virtual std::string Title() const = 0;
    virtual bool Busy() const = 0;
    // Prints the page shown where the person chose; false with the reason in `error`.
    virtual bool Print(const platform::PrintChoice& where, std::string& error) = 0;
};

// The engine of the installed platform: Qt WebEngine on the desktop, else the page model.
std::unique_ptr<BrowserEngine> MakeBrowserEngine();
std::unique_ptr<BrowserEngine> MakePageModel();

}  // namespace orbel::browser
