// A scanner reached through SANE: the device used last (remembered per user) or else the first
// one found, its sources, modes and resolutions, and a scan into a TIFF file, one page per
// sheet (every sheet of a feeder run in one file; G4 for line art, LZW otherwise).
// Not for: asking the person anything (the scan component's dialog does that).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace orbel::imaging {

struct ScanSettings {
    std::string source;  // as the device names it; empty: the device's default
    std::string mode;    // "Color", "Gray" or "Lineart"; empty: the device's default
    int dpi = 0;         // 0: the device's default
};

class SaneScanner {
  public:
    // Opens `device`, or when it is empty the device used last, else the first one found;
    // nothing with the reason in `error` when there is none or it does not open.
    static std::unique_ptr<SaneScanner> Open(const std::string& device, std::string& error);
    // The devices SANE finds (slow where network backends answer).
    static std::vector<std::string> Devices();
    // The device remembered for this user; empty for none.
    static std::string RememberedDevice();
    ~SaneScanner();

    const std::string& Device() const { return device_; }
    // The values the device offers for its "source" and "mode" options.
    std::vector<std::string> Sources() const;
    std::vector<std::string> Modes() const;

    // Called with each page and line read; false cancels the scan.
    using Progress = std::function<bool(int page, int line)>;
    // Scans into `target`, replacing it; the pages written, or 0 with the reason in `error`
    // (the file is then removed). A feeder scans until it runs out of sheets.
    int Scan(const ScanSettings& settings, const std::string& target, const Progress& progress,
             std::string& error);
    // What the last scan used: the mode and resolution the device settled on.
    const ScanSettings& Used() const { return used_; }

  private:
    struct Handle;
    SaneScanner(std::string device, std::unique_ptr<Handle> handle);
    bool Apply(const ScanSettings& settings, std::string& error);

    std::string device_;
    std::unique_ptr<Handle> handle_;
    ScanSettings used_;
};

}  // namespace orbel::imaging
