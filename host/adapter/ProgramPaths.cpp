#include "host/adapter/ProgramPaths.h"

#include <system_error>

namespace orbel::host {

namespace fs = std::filesystem;

fs::path ProgramDir() {
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::path() : self.parent_path();
}

fs::path InstalledOrBuilt(const fs::path& programDir, const fs::path& fromProgram,
                          const fs::path& built) {
    if (!programDir.empty()) {
        std::error_code ec;
        const fs::path installed = (programDir / fromProgram).lexically_normal();
        if (fs::exists(installed, ec)) return installed;
    }
    return built;
}

}  // namespace orbel::host
