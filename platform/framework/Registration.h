// What a self-registering module writes into the registry for its type library, its
// interfaces and its classes, and removes again.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Win.h"
#include "platform/automation/Dispatch.h"
#include "platform/automation/Guid.h"
#include "platform/registry/RegistryHive.h"

namespace orbel {

struct TypeLibRegistration {
    Guid libid;
    unsigned short major = 1;
    unsigned short minor = 0;
    std::string help;        // the library's help string
    std::string modulePath;  // the module that carries the library
    // Dispatch interfaces of the library: IID and name.
    std::vector<std::pair<Guid, std::string>> interfaces;
};

struct ControlRegistration {
    Guid clsid;
    std::string progId;
    std::string typeName;
    std::string modulePath;
    unsigned toolboxBitmapId = 1;
    DWORD miscStatus = 0;
    Guid libid;
    unsigned short major = 1;
    unsigned short minor = 0;
    bool insertable = false;
};

struct ClassRegistration {
    Guid clsid;
    std::string progId;
    std::string typeName;
    std::string modulePath;
};

// Each writes its keys into the hive; false when a key could not be written.
bool RegisterTypeLib(platform::RegistryHive& hive, const TypeLibRegistration& r);
bool UnregisterTypeLib(platform::RegistryHive& hive, const TypeLibRegistration& r);
bool RegisterControlClass(platform::RegistryHive& hive, const ControlRegistration& r);
bool RegisterPropertyPageClass(platform::RegistryHive& hive, const ClassRegistration& r);
// A class that is no control: its module and ProgID only.
bool RegisterObjectClass(platform::RegistryHive& hive, const ClassRegistration& r);
// Removes the class key and its ProgID key.
bool UnregisterClass(platform::RegistryHive& hive, const Guid& clsid, const std::string& progId);

// Runs `edit` on the registry hive that CLSID lookups read, and writes it back when `edit`
// succeeds; false when the hive cannot be read or written or `edit` fails.
bool EditDefaultHive(const std::function<bool(platform::RegistryHive&)>& edit);

// The file of the module that contains `address` (a function or object of that module).
std::string ModulePathOf(const void* address);

// The class factory a module hands out for one of its classes: objects come from `make`, and
// only while a platform is installed, as they live in its windows and loop.
class ModuleClassFactory final : public IClassFactory {
  public:
    using Make = std::shared_ptr<IUnknown> (*)();
    explicit ModuleClassFactory(Make make) : make_(make) {}
    HRESULT CreateInstance(std::shared_ptr<IUnknown>& object) override;

  private:
    Make make_;
};

}  // namespace orbel
