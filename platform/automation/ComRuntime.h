// Creating objects the way a host does: a ProgID or class ID is looked up in the registry,
// the module named there is loaded once and kept, and its class factory makes the object.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/automation/Dispatch.h"
#include "platform/automation/TypeLib.h"

namespace orbel {

// The entry points a self-registering module exports.
using DllRegisterServerFn = HRESULT (*)();
using DllUnregisterServerFn = HRESULT (*)();
using DllGetClassObjectFn = HRESULT (*)(const Guid& clsid, std::shared_ptr<IClassFactory>& factory);
using DllCanUnloadNowFn = HRESULT (*)();
// The text of the type library the module carries.
using DllGetTypeLibTextFn = const char* (*)();

HRESULT CLSIDFromProgID(std::string_view progId, Guid& clsid);
HRESULT CoGetClassObject(const Guid& clsid, std::shared_ptr<IClassFactory>& factory);
HRESULT CoCreateInstance(const Guid& clsid, std::shared_ptr<IUnknown>& object);
HRESULT CreateObject(std::string_view progId, std::shared_ptr<IUnknown>& object);

// The registered type library of that ID and version, read from its module.
HRESULT LoadRegTypeLib(const Guid& libid, unsigned short major, unsigned short minor,
                       TypeLibrary& library, std::string* error = nullptr);

// The type library a class registered with itself (its TypeLib and Version keys).
HRESULT LoadClassTypeLib(const Guid& clsid, TypeLibrary& library, std::string* error = nullptr);

// What a registration tool does: loads the module and calls its (un)registration entry.
HRESULT RegisterModule(const std::string& modulePath, std::string* error = nullptr);
HRESULT UnregisterModule(const std::string& modulePath, std::string* error = nullptr);

// The text of a failure of the calls above, for messages ("class not registered", ...).
std::string ComErrorText(HRESULT hr);

}  // namespace orbel
