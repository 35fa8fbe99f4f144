// Where a host program finds what was installed with it: things at fixed places relative to
// the program's own folder (PREFIX/bin beside PREFIX/lib/orbel), or, when it runs from a build
// tree, where that build made them.
#pragma once

#include <filesystem>

namespace orbel::host {

// The folder of the running program; empty when it cannot be told.
std::filesystem::path ProgramDir();
// `fromProgram` (relative to the program's folder) when it exists, else `built`.
std::filesystem::path InstalledOrBuilt(const std::filesystem::path& programDir,
                                       const std::filesystem::path& fromProgram,
                                       const std::filesystem::path& built);

}  // namespace orbel::host
