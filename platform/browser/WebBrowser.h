// The web browser component: shows web pages in a child window and is driven by the dispatch
// IDs of the browser control's automation interface (navigate, back, forward, home, search,
// stop, refresh, print, the page's address and title). It raises the control's events in one
// order on every engine: DownloadBegin, NavigateComplete2, StatusTextChange, TitleChange,
// StatusTextChange, CommandStateChange for forward and back, DownloadComplete,
// DocumentComplete. Every navigation that ends prints one line for whoever listens.
#pragma once

#include <memory>
#include <string>

#include "platform/browser/BrowserEngine.h"
#include "platform/framework/OleControl.h"

namespace orbel::browser {

// Where Home goes: the "Home" of the browser's initialisation file, else the start page
// installed with the program.
std::string HomeAddress();
// Where Search goes: the "Search" of the browser's initialisation file; empty for none, and
// then Search does nothing.
std::string SearchAddress();

class CWebBrowser final : public COleControl, private BrowserEngineEvents {
  public:
    explicit CWebBrowser(std::unique_ptr<BrowserEngine> engine);
    ~CWebBrowser() override;

    HRESULT GetIDsOfNames(std::string_view name, DISPID& id) override;
    HRESULT Invoke(DISPID id, InvokeKind kind, std::span<const Variant> args,
                   Variant* result) override;

    // `url="..." title="..." busy=B back=B forward=B` and the last failure, if any.
    std::string Dump() const;

  protected:
    std::string WindowClassName() const override { return "OrbelWebBrowser"; }
    int OnCreate() override;
    void OnDestroy() override;
    void OnSize(int cx, int cy) override;

  private:
    HRESULT Call(DISPID id, std::span<const Variant> args);
    HRESULT Navigate(const std::string& address);
    HRESULT Print();

    void OnLoadStarted() override;
    void OnAddressChanged(const std::string& url) override;
    void OnTitleChanged(const std::string& title) override;
    void OnLoadFinished(const std::string& error) override;
    void Fire(DISPID id, std::vector<Variant> args = {});
    // The browser as the events name it (the frame the page is in).
    std::shared_ptr<IDispatch> Self();

    std::unique_ptr<BrowserEngine> engine_;
    std::string title_;  // the last title told to the callers
    std::string error_;  // why the last page could not be shown
    bool loading_ = false;
};

}  // namespace orbel::browser
