// The scanner component: opens the scanner used last (or the first found), lets the person
// choose the device, source, mode and resolution in its scan dialog when asked to, and scans
// every sheet into one TIFF file. Each scan is told as one line of the container's transcript.
#pragma once

#include <memory>
#include <string>

#include "platform/framework/OleControl.h"
#include "platform/imaging/SaneScanner.h"

namespace orbel::imaging {

class CImageScan final : public COleControl {
  public:
    CImageScan();
    ~CImageScan() override;

    HRESULT GetIDsOfNames(std::string_view name, DISPID& id) override;
    HRESULT Invoke(DISPID id, InvokeKind kind, std::span<const Variant> args,
                   Variant* result) override;

    std::string Dump() const;

  protected:
    std::string WindowClassName() const override { return "OrbelImageScan"; }

  private:
    long OpenScanner();
    long StartScan();
    // The scan dialog; false when the person cancelled it.
    bool RunSetup();

    std::unique_ptr<SaneScanner> scanner_;
    std::string image_;
    long scanTo_ = 0;
    long fileType_ = 1;
    bool multiPage_ = true;
    long pageOption_ = 1;
    long showSetup_ = 0;
    ScanSettings settings_;
    std::string last_;  // the last scan or failure, as the dump tells it
};

}  // namespace orbel::imaging
