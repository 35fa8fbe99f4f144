#include "src/preview/PreviewDescription.h"

#include "platform/controls/ControlText.h"
#include "src/preview/FrameContainer.h"
#include "src/preview/ImageFrame.h"
#include "src/preview/ImageView.h"

namespace orbel {

namespace {
CImageFrame* PreviewFrame(CFrameContainer* frame) {
    if (!frame || frame->InnerSplitter().GetRowCount() < 2) return nullptr;
    return dynamic_cast<CImageFrame*>(frame->InnerSplitter().GetPane(1, 0));
}
}  // namespace

std::string DescribePreview(CFrameContainer* frame) {
    CImageFrame* preview = PreviewFrame(frame);
    if (!preview || !preview->GetActiveView()) return "hidden";
    return preview->GetActiveView()->Describe();
}

std::string DescribePageBar(CFrameContainer* frame) {
    CImageFrame* preview = PreviewFrame(frame);
    if (!preview) return "hidden";
    CPageBar& bar = preview->PageBar();
    return platform::DescribeToolBar(bar.GetToolBarCtrl()) + "page box " +
           QuoteString(bar.PageBoxText()) + (bar.ButtonsEnabled() ? "" : " disabled") + "\n";
}

}  // namespace orbel
