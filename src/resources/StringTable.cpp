#include "src/resources/StringTable.h"

#include <map>

namespace orbel {

std::string LoadString(unsigned id) {
    static const std::map<unsigned, std::string> table = {
        {IDS_ORBEL, "Orbel Control"},
        {IDS_ORBEL_PPG, "Orbel Property Page"},
        {IDS_ORBEL_PPG_CAPTION, "General"},
    };
    auto it = table.find(id);
    return it == table.end() ? std::string() : it->second;
}

}  // namespace orbel
