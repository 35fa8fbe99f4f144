// The viewer component: shows one page of an image file in a child window, fitted, zoomed,
// turned and grey-scaled as its caller asks by dispatch ID, and lets a person draw a selection
// rectangle with the mouse. It decodes only the page shown. Its state reads as one line
// (`Dump`), on every backend.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/framework/OleControl.h"
#include "platform/imaging/ImageFile.h"
#include "platform/imaging/ViewerSurface.h"

namespace orbel::imaging {

class CImageViewer final : public COleControl {
  public:
    explicit CImageViewer(std::unique_ptr<ViewerSurface> surface);
    ~CImageViewer() override;

    HRESULT GetIDsOfNames(std::string_view name, DISPID& id) override;
    HRESULT Invoke(DISPID id, InvokeKind kind, std::span<const Variant> args,
                   Variant* result) override;
    LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

    std::string Dump() const;
    // Pages decoded since the viewer was made: paging decodes the page shown and no other.
    int DecodeCount() const { return decodes_; }

  protected:
    std::string WindowClassName() const override { return "OrbelImageViewer"; }
    int OnCreate() override;
    void OnSize(int cx, int cy) override;

  private:
    HRESULT Get(DISPID id, Variant& result) const;
    HRESULT Put(DISPID id, const Variant& value);
    HRESULT Call(DISPID id, std::span<const Variant> args, Variant* result);

    void SetImage(const std::string& path);
    void Display();
    void Fit(int mode);
    void ZoomToSelection();
    void Rotate(int quarterTurns);
    void Blank(int width, int height);
    void Repaint();
    const PageInfo* CurrentPage() const;

    void BeginSelection(POINT at);
    void DragSelection(POINT to);
    void EndSelection(POINT at);

    std::unique_ptr<ViewerSurface> surface_;
    std::string image_;
    std::unique_ptr<ImageFile> file_;
    std::string error_;  // why the file or its page cannot be shown
    long page_ = 1;
    long scrollOrigin_ = 0;
    long scaling_ = 0;
    bool selectionAllowed_ = false;
    bool autoRefresh_ = false;
    bool displayed_ = false;
    std::optional<SIZE> blank_;
    int fitMode_ = -1;  // -1 none yet (actual size), 0..3 the fits, 4 zoomed to a selection
    double zoom_ = 1.0;
    int rotation_ = 0;
    RECT selection_{};
    std::optional<POINT> dragFrom_;
    int decodes_ = 0;
};

}  // namespace orbel::imaging
