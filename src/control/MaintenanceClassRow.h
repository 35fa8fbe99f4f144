// The OLE_CLA rows of the maintenance modes: each names the OLE ID of the class tree that
// holds that mode's folders, taken from the OLE ID counter the first time the mode opens.
#pragma once

#include <cstdint>
#include <string>

#include "src/store/HostExchange.h"

namespace orbel {

// The value of class `className`, inserted with a new OLE ID when there is none; -1 after
// showing `insertError` when it cannot be inserted.
std::int32_t FindOrInsertMaintenanceClass(CHostExchange& exchange, const std::string& className,
                                          const std::string& insertError);

}  // namespace orbel
