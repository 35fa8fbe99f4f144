#include "platform/EffectLog.h"

namespace orbel::platform {

namespace {
std::function<void(const std::string&)>& Listener() {
    static std::function<void(const std::string&)> listener;
    return listener;
}
}  // namespace

void RecordEffect(const std::string& line) {
    if (Listener()) Listener()(line);
}

bool EffectListened() {
    return static_cast<bool>(Listener());
}

void SetEffectListener(std::function<void(const std::string&)> listener) {
    Listener() = std::move(listener);
}

}  // namespace orbel::platform
