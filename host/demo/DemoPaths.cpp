#include "host/demo/DemoPaths.h"

#include <cstdlib>
#include <string_view>
#include <system_error>

#include "host/adapter/ProgramPaths.h"

namespace orbel::demo {

namespace fs = std::filesystem;

fs::path DataHome() {
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && data[0] == '/') return data;
    const char* home = std::getenv("HOME");
    return fs::path(home && *home ? home : "/") / ".local" / "share";
}

fs::path DefaultStorePath() {
    return DataHome() / "orbel" / "demo.orbel";
}

fs::path ObjectDirFor(const fs::path& store) {
    return store.parent_path() / (store.stem().string() + "-objects");
}

std::string ModulePath() {
    if (const char* module = std::getenv("ORBEL_MODULE"); module && *module) return module;
    return host::InstalledOrBuilt(host::ProgramDir(), ORBEL_DEMO_MODULE_FROM_PROGRAM,
                                  ORBEL_DEMO_BUILT_MODULE)
        .string();
}

std::string SpreadsheetModulePath() {
    if (const char* module = std::getenv("ORBEL_SPREADSHEET_MODULE"); module && *module)
        return module;
    // A build without LibreOffice's kit has no such module.
    if (std::string_view(ORBEL_DEMO_BUILT_SPREADSHEET_MODULE).empty()) return {};
    return host::InstalledOrBuilt(host::ProgramDir(), ORBEL_DEMO_SPREADSHEET_MODULE_FROM_PROGRAM,
                                  ORBEL_DEMO_BUILT_SPREADSHEET_MODULE)
        .string();
}

std::string ImagingModulePath() {
    if (const char* module = std::getenv("ORBEL_IMAGING_MODULE"); module && *module) return module;
    return host::InstalledOrBuilt(host::ProgramDir(), ORBEL_DEMO_IMAGING_MODULE_FROM_PROGRAM,
                                  ORBEL_DEMO_BUILT_IMAGING_MODULE)
        .string();
}

std::string BrowserModulePath() {
    if (const char* module = std::getenv("ORBEL_BROWSER_MODULE"); module && *module) return module;
    return host::InstalledOrBuilt(host::ProgramDir(), ORBEL_DEMO_BROWSER_MODULE_FROM_PROGRAM,
                                  ORBEL_DEMO_BUILT_BROWSER_MODULE)
        .string();
}

fs::path SamplesDir() {
    return host::InstalledOrBuilt(host::ProgramDir(), ORBEL_DEMO_SAMPLES_FROM_PROGRAM,
                                  ORBEL_DEMO_BUILT_SAMPLES);
}

}  // namespace orbel::demo
