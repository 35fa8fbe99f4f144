// The print administrator: prints an image file, a range of its pages or all of them, where
// the person chose in the print dialog. Its caller names the file, runs the dialog, then
// prints; every print is told as one line of the container's transcript.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/PrintDialog.h"
#include "platform/framework/OleControl.h"
#include "platform/imaging/PagePrinter.h"

namespace orbel::imaging {

class CImageAdmin final : public COleControl {
  public:
    explicit CImageAdmin(std::unique_ptr<PagePrinter> printer);
    ~CImageAdmin() override;

    HRESULT GetIDsOfNames(std::string_view name, DISPID& id) override;
    HRESULT Invoke(DISPID id, InvokeKind kind, std::span<const Variant> args,
                   Variant* result) override;

    std::string Dump() const;

  protected:
    std::string WindowClassName() const override { return "OrbelImageAdmin"; }

  private:
    void ShowPrintDialog(HWND owner);
    HRESULT Print(std::optional<long> first, std::optional<long> last);

    std::unique_ptr<PagePrinter> printer_;
    std::string image_;
    // What the last print dialog gave: where to print, or nothing after Cancel. Before any
    // dialog the default printer is used.
    enum class Dialog { NotRun, Chosen, Cancelled };
    Dialog dialog_ = Dialog::NotRun;
    platform::PrintChoice choice_;
    std::string last_;  // the last print, as the dump tells it
};

}  // namespace orbel::imaging
