// Network names of local paths, from the mount table: what the original platform's
// universal-name lookup answers for a mapped drive.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orbel::platform {

class MountTable {
  public:
    struct Mount {
        std::string mountPoint;  // "/mnt/data"
        std::string fsType;      // "cifs", "smb3", "nfs", "nfs4", "ext4", ...
        std::string source;      // "//srv/data", "srv:/export/data", "/dev/sda1"
        std::string root;        // the directory of the file system shown there, "/" mostly
    };

    // Parses the text of /proc/self/mountinfo (octal escapes such as \040 decoded); lines
    // that do not parse are skipped.
    static MountTable FromMountInfo(std::string_view text);
    // The live table of this process.
    static MountTable ReadSystem();

    // The universal name "\\server\share\rest" of a path on a CIFS/SMB or NFS mount (the
    // deepest mount point that contains the path wins); nullopt for a local path.
    std::optional<std::string> UniversalName(std::string_view path) const;
    // The local path of a universal name whose share is mounted here; nullopt otherwise.
    std::optional<std::string> LocalPath(std::string_view universalName) const;

    const std::vector<Mount>& Mounts() const { return mounts_; }

  private:
    // The index of the mount that holds a path given as its components: the deepest mount
    // point, and of two on the same point the later one.
    std::optional<std::size_t> OwnerOf(const std::vector<std::string>& components) const;

    std::vector<Mount> mounts_;
};

}  // namespace orbel::platform
