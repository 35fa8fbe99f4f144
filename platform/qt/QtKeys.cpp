#include "platform/qt/QtKeys.h"

#include <Qt>
#include <array>
#include <utility>

namespace orbel::platform {

namespace {
// Keys whose codes differ; letters and digits share theirs (A-Z 0x41-0x5A, 0-9 0x30-0x39).
constexpr std::array<std::pair<int, UINT>, 31> kKeys{{
    {Qt::Key_Backspace, VK_BACK},
    {Qt::Key_Tab, VK_TAB},
    {Qt::Key_Backtab, VK_TAB},
    {Qt::Key_Return, VK_RETURN},
    {Qt::Key_Enter, VK_RETURN},
    {Qt::Key_Shift, VK_SHIFT},
    {Qt::Key_Control, VK_CONTROL},
    {Qt::Key_Alt, VK_MENU},
    {Qt::Key_Escape, VK_ESCAPE},
    {Qt::Key_Space, VK_SPACE},
    {Qt::Key_PageUp, VK_PRIOR},
    {Qt::Key_PageDown, VK_NEXT},
    {Qt::Key_End, VK_END},
    {Qt::Key_Home, VK_HOME},
    {Qt::Key_Left, VK_LEFT},
    {Qt::Key_Up, VK_UP},
    {Qt::Key_Right, VK_RIGHT},
    {Qt::Key_Down, VK_DOWN},
    {Qt::Key_Insert, 0x2D},
    {Qt::Key_Delete, VK_DELETE},
    {Qt::Key_Asterisk, VK_MULTIPLY},
    {Qt::Key_Plus, VK_ADD},
    {Qt::Key_Minus, VK_SUBTRACT},
    {Qt::Key_F1, 0x70},
    {Qt::Key_F2, VK_F2},
    {Qt::Key_F3, 0x72},
    {Qt::Key_F4, 0x73},
    {Qt::Key_F5, 0x74},
    {Qt::Key_F6, 0x75},
    {Qt::Key_F10, 0x79},
    {Qt::Key_F12, 0x7B},
}};
}  // namespace

UINT VirtualKeyFromQt(int qtKey) {
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return static_cast<UINT>(qtKey);
    for (const auto& [qt, vk] : kKeys)
        if (qt == qtKey) return vk;
    return 0;
}

int QtKeyFromVirtualKey(UINT key) {
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) return static_cast<int>(key);
    for (const auto& [qt, vk] : kKeys)
        if (vk == key) return qt;  // the first listed wins (Tab, Return)
    return 0;
}

}  // namespace orbel::platform
