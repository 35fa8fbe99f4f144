#include "host/store/TableStore.h"

namespace orbel::host {

TableStore::~TableStore() = default;

}  // namespace orbel::host
