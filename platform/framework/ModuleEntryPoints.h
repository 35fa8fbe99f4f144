#pragma once
// The work behind the entry points of a component module that serves one class: each module
// keeps its own exported functions (they must be its own symbols) and hands them to these.
#include <memory>

#include "platform/framework/Registration.h"

namespace orbel {

// DllRegisterServer: the class under its CLSID and ProgID in the hive lookups read.
HRESULT RegisterModuleClass(const ClassRegistration& r);
// DllUnregisterServer: both keys removed again.
HRESULT UnregisterModuleClass(const ClassRegistration& r);
// DllGetClassObject: a factory making objects through `make` when `asked` is `served`.
HRESULT ModuleClassObject(const Guid& served, const Guid& asked, ModuleClassFactory::Make make,
                          std::shared_ptr<IClassFactory>& factory);

}  // namespace orbel
