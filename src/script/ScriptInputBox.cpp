#include "src/script/ScriptInputBox.h"

#include "platform/framework/Dialog.h"

namespace orbel {

namespace {

constexpr UINT kPromptId = 100;
constexpr UINT kAnswerId = kScriptInputBoxAnswerId;

platform::DialogTemplate InputBoxTemplate(const std::string& prompt, const std::string& title) {
    using K = platform::DialogControlKind;
    auto at = [](int x, int y, int cx, int cy) { return RECT{x, y, x + cx, y + cy}; };
    platform::DialogTemplate t;
    t.id = kScriptInputBoxTemplateId;
    t.caption = title;
    t.width = 250;
    t.height = 80;
    t.controls = {
        {kPromptId, K::Static, prompt, at(7, 7, 180, 40), 0},
        {IDOK, K::DefaultButton, "OK", at(193, 7, 50, 14), 0},
        {IDCANCEL, K::Button, "Cancel", at(193, 24, 50, 14), 0},
        {kAnswerId, K::Edit, "", at(7, 58, 236, 14), 0},
    };
    return t;
}

class CScriptInputBox final : public CDialog {
  public:
    CScriptInputBox(const platform::DialogTemplate& t, std::string text)
        : CDialog(t), text_(std::move(text)) {}
    const std::string& Text() const { return text_; }

  protected:
    void DoDataExchange(CDataExchange& dx) override { DDX_Text(dx, kAnswerId, text_); }

  private:
    std::string text_;
};

}  // namespace

std::optional<std::string> ShowScriptInputBox(const std::string& prompt, const std::string& title,
                                              const std::string& defaultText) {
    const platform::DialogTemplate t = InputBoxTemplate(prompt, title);
    CScriptInputBox box(t, defaultText);
    if (box.DoModal() != IDOK) return std::nullopt;
    return box.Text();
}

}  // namespace orbel
