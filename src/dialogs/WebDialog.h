// The web browser dialog: a small resizable browser in which the user goes to the page to link
// as an item. The caller sets the address to start at (empty for the browser's home page) and,
// after OK, reads the address shown and the page's title. The browser is an outside component
// reached through CWebB; the dialog follows its events (caption, status line, address, the
// Back and Forward items of its menu).
#pragma once

#include <memory>
#include <string>

#include "platform/framework/Dialog.h"
#include "src/dialogs/WebB.h"

namespace orbel {

class CWebDialog : public CDialog {
  public:
    explicit CWebDialog(HWND parent = kNoWindow);
    ~CWebDialog() override;

    std::string m_strAddress;  // the address box
    std::string m_strStatus;   // the status line
    std::string m_strTitle;    // the page's title, taken at OK

    // The browser's window while the dialog runs; none otherwise.
    HWND GetBrowserWindow() const { return m_browser.GetSafeHwnd(); }

    // What the dialog says when the browser component cannot be made.
    static constexpr const char* kNoBrowser =
        "The web browser could not be started: its component is not registered.";

  protected:
    bool OnInitDialog() override;
    bool OnCommand(UINT id, UINT code) override;
    void OnOK() override;
    void OnCancel() override;
    void DoDataExchange(CDataExchange& dx) override;
    void OnSize(int cx, int cy) override;

  private:
    class EventSink;
    void OnBrowserEvent(DISPID id, std::span<const Variant> args);
    void ShowAddress();
    void CloseBrowser();

    CWebB m_browser;
    std::shared_ptr<EventSink> m_sink;
    bool m_downloading = false;
    bool m_firstSize = true;
};

}  // namespace orbel
