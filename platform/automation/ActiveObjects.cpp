#include "platform/automation/ActiveObjects.h"

#include <map>
#include <mutex>
#include <string>

namespace orbel {

namespace {
std::mutex& TableMutex() {
    static std::mutex m;
    return m;
}
std::map<std::string, std::weak_ptr<IDispatch>, std::less<>>& Table() {
    static std::map<std::string, std::weak_ptr<IDispatch>, std::less<>> t;
    return t;
}
}  // namespace

void RegisterActiveObject(std::string_view progId, const std::shared_ptr<IDispatch>& object) {
    std::lock_guard lock(TableMutex());
    Table()[std::string(progId)] = object;
}

std::shared_ptr<IDispatch> GetActiveObject(std::string_view progId) {
    std::lock_guard lock(TableMutex());
    auto it = Table().find(progId);
    return it == Table().end() ? nullptr : it->second.lock();
}

}  // namespace orbel
