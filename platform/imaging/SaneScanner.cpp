#include "platform/imaging/SaneScanner.h"

#include <sane/sane.h>
#include <sane/saneopts.h>
#include <tiffio.h>

#include <array>
#include <cstring>
#include <filesystem>
#include <vector>

#include "platform/profile/Profile.h"

namespace orbel::imaging {

namespace {

constexpr const char* kProfile = "orbel-imaging.ini";
constexpr const char* kSection = "Scanner";
constexpr const char* kDeviceKey = "Device";

// SANE is set up once a process: its start reads every backend's configuration.
bool SaneReady() {
    static const bool ready = [] {
        SANE_Int version = 0;
        return sane_init(&version, nullptr) == SANE_STATUS_GOOD;
    }();
    return ready;
}

std::string Status(SANE_Status status) {
    return sane_strstatus(status);
}

// The pages of one scan, written as they come.
class TiffPages {
  public:
    explicit TiffPages(const std::string& path)
        : tif_(TIFFOpen(path.c_str(), "w"), [](TIFF* t) { TIFFClose(t); }) {}
    bool IsOpen() const { return tif_ != nullptr; }
    bool Write(const SANE_Parameters& p, int dpi, const std::vector<std::uint8_t>& data, int page) {
        TIFF* t = tif_.get();
        const int lines =
            static_cast<int>(data.size() / static_cast<std::size_t>(p.bytes_per_line));
        const bool colour = p.format == SANE_FRAME_RGB;
        const bool bilevel = p.depth == 1;
        TIFFSetField(t, TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(p.pixels_per_line));
        TIFFSetField(t, TIFFTAG_IMAGELENGTH, static_cast<uint32_t>(lines));
        TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, static_cast<uint16_t>(p.depth));
        TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, static_cast<uint16_t>(colour ? 3 : 1));
        TIFFSetField(t, TIFFTAG_PLANARCONFIG, uint16_t{PLANARCONFIG_CONTIG});
        // SANE's line art has 1 for black.
        TIFFSetField(t, TIFFTAG_PHOTOMETRIC,
                     static_cast<uint16_t>(colour    ? PHOTOMETRIC_RGB
                                           : bilevel ? PHOTOMETRIC_MINISWHITE
                                                     : PHOTOMETRIC_MINISBLACK));
        TIFFSetField(t, TIFFTAG_COMPRESSION,
                     static_cast<uint16_t>(bilevel ? COMPRESSION_CCITTFAX4 : COMPRESSION_LZW));
        TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, static_cast<uint32_t>(bilevel ? lines : 16));
        if (dpi > 0) {
            TIFFSetField(t, TIFFTAG_XRESOLUTION, static_cast<float>(dpi));
            TIFFSetField(t, TIFFTAG_YRESOLUTION, static_cast<float>(dpi));
            TIFFSetField(t, TIFFTAG_RESOLUTIONUNIT, uint16_t{RESUNIT_INCH});
        }
        TIFFSetField(t, TIFFTAG_SUBFILETYPE, FILETYPE_PAGE);
        // How many sheets a feeder holds is known only at its end.
        TIFFSetField(t, TIFFTAG_PAGENUMBER, static_cast<uint16_t>(page), uint16_t{0});
        std::vector<std::uint8_t> row(static_cast<std::size_t>(p.bytes_per_line));
        for (int y = 0; y < lines; ++y) {
            std::memcpy(row.data(), data.data() + static_cast<std::size_t>(y) * row.size(),
                        row.size());
            if (TIFFWriteScanline(t, row.data(), static_cast<uint32_t>(y), 0) < 0) return false;
        }
        return TIFFWriteDirectory(t) != 0;
    }

  private:
    std::unique_ptr<TIFF, void (*)(TIFF*)> tif_;
};

}  // namespace

struct SaneScanner::Handle {
    SANE_Handle sane = nullptr;
    ~Handle() {
        if (sane) sane_close(sane);
    }
    // The option's number and descriptor; SANE refuses an option until its descriptor has been
    // fetched.
    std::pair<SANE_Int, const SANE_Option_Descriptor*> Find(const char* name) const {
        for (SANE_Int i = 1;; ++i) {
            const SANE_Option_Descriptor* d = sane_get_option_descriptor(sane, i);
            if (!d) return {-1, nullptr};
            if (d->name && std::strcmp(d->name, name) == 0) return {i, d};
        }
    }
    std::vector<std::string> Choices(const char* name) const {
        std::vector<std::string> out;
        auto [i, d] = Find(name);
        if (d && d->constraint_type == SANE_CONSTRAINT_STRING_LIST)
            for (const SANE_String_Const* s = d->constraint.string_list; *s; ++s)
                out.emplace_back(*s);
        return out;
    }
    std::string Text(const char* name) const {
        auto [i, d] = Find(name);
        if (!d || d->type != SANE_TYPE_STRING) return {};
        std::vector<char> value(static_cast<std::size_t>(d->size) + 1);
        if (sane_control_option(sane, i, SANE_ACTION_GET_VALUE, value.data(), nullptr) !=
            SANE_STATUS_GOOD)
            return {};
        return value.data();
    }
    // A number option's value, a fixed-point one rounded; 0 when there is none.
    int Number(const char* name) const {
        auto [i, d] = Find(name);
        SANE_Word w = 0;
        if (!d ||
            sane_control_option(sane, i, SANE_ACTION_GET_VALUE, &w, nullptr) != SANE_STATUS_GOOD)
            return 0;
        return d->type == SANE_TYPE_FIXED ? static_cast<int>(SANE_UNFIX(w) + 0.5) : w;
    }
    bool SetNumber(const char* name, int value) const {
        auto [i, d] = Find(name);
        SANE_Word w = d && d->type == SANE_TYPE_FIXED ? SANE_FIX(value) : value;
        return d &&
               sane_control_option(sane, i, SANE_ACTION_SET_VALUE, &w, nullptr) == SANE_STATUS_GOOD;
    }
    // A device without a line-art mode may still scan one bit deep in grey.
    bool OneBitGrey() const {
        auto [i, d] = Find(SANE_NAME_BIT_DEPTH);
        if (!d || d->constraint_type != SANE_CONSTRAINT_WORD_LIST) return false;
        for (SANE_Int k = 1; k <= d->constraint.word_list[0]; ++k)
            if (d->constraint.word_list[k] == 1) return true;
        return false;
    }
    bool HasLineArtMode() const {
        for (const std::string& m : Choices(SANE_NAME_SCAN_MODE))
            if (m == SANE_VALUE_SCAN_MODE_LINEART) return true;
        return false;
    }
};

SaneScanner::SaneScanner(std::string device, std::unique_ptr<Handle> handle)
    : device_(std::move(device)), handle_(std::move(handle)) {}

SaneScanner::~SaneScanner() = default;

std::vector<std::string> SaneScanner::Devices() {
    std::vector<std::string> out;
    const SANE_Device** list = nullptr;
    if (!SaneReady() || sane_get_devices(&list, SANE_TRUE) != SANE_STATUS_GOOD) return out;
    for (; list && *list; ++list) out.emplace_back((*list)->name);
    return out;
}

std::string SaneScanner::RememberedDevice() {
    std::array<char, 256> buffer{};
    platform::GetPrivateProfileString(kSection, kDeviceKey, "", buffer, kProfile);
    return buffer.data();
}

std::unique_ptr<SaneScanner> SaneScanner::Open(const std::string& device, std::string& error) {
    if (!SaneReady()) {
        error = "SANE cannot be started";
        return nullptr;
    }
    // The device used last opens without asking every backend for its devices, which takes
    // seconds where network scanners answer.
    std::string name = device.empty() ? RememberedDevice() : device;
    auto handle = std::make_unique<Handle>();
    SANE_Status status = SANE_STATUS_INVAL;
    if (!name.empty()) status = sane_open(name.c_str(), &handle->sane);
    if (status != SANE_STATUS_GOOD && device.empty()) {
        const auto found = Devices();
        if (found.empty()) {
            error = "no scanner was found";
            return nullptr;
        }
        name = found.front();
        status = sane_open(name.c_str(), &handle->sane);
    }
    if (status != SANE_STATUS_GOOD) {
        handle->sane = nullptr;
        error = "the scanner " + name + " cannot be opened: " + Status(status);
        return nullptr;
    }
    platform::WritePrivateProfileString(kSection, kDeviceKey, name, kProfile);
    return std::unique_ptr<SaneScanner>(new SaneScanner(name, std::move(handle)));
}

std::vector<std::string> SaneScanner::Sources() const {
    return handle_->Choices(SANE_NAME_SCAN_SOURCE);
}

std::vector<std::string> SaneScanner::Modes() const {
    std::vector<std::string> modes = handle_->Choices(SANE_NAME_SCAN_MODE);
    if (!handle_->HasLineArtMode() && handle_->OneBitGrey())
        modes.emplace_back(SANE_VALUE_SCAN_MODE_LINEART);
    return modes;
}

bool SaneScanner::Apply(const ScanSettings& settings, std::string& error) {
    auto setText = [&](const char* name, const std::string& value) {
        if (value.empty()) return true;
        auto [i, d] = handle_->Find(name);
        std::vector<char> text(
            std::max<std::size_t>(static_cast<std::size_t>(d ? d->size : 0), value.size() + 1));
        std::memcpy(text.data(), value.c_str(), value.size() + 1);
        if (!d || sane_control_option(handle_->sane, i, SANE_ACTION_SET_VALUE, text.data(),
                                      nullptr) != SANE_STATUS_GOOD) {
            error = "the scanner has no " + std::string(name) + " " + value;
            return false;
        }
        return true;
    };
    // Line art on a device without that mode is grey one bit deep.
    const bool oneBitGrey = settings.mode == SANE_VALUE_SCAN_MODE_LINEART &&
                            !handle_->HasLineArtMode() && handle_->OneBitGrey();
    if (!setText(SANE_NAME_SCAN_SOURCE, settings.source) ||
        !setText(SANE_NAME_SCAN_MODE, oneBitGrey ? SANE_VALUE_SCAN_MODE_GRAY : settings.mode))
        return false;
    if (handle_->OneBitGrey()) handle_->SetNumber(SANE_NAME_BIT_DEPTH, oneBitGrey ? 1 : 8);
    if (settings.dpi > 0 && !handle_->SetNumber(SANE_NAME_SCAN_RESOLUTION, settings.dpi)) {
        error = "the scanner cannot scan at " + std::to_string(settings.dpi) + " dpi";
        return false;
    }
    return true;
}

int SaneScanner::Scan(const ScanSettings& settings, const std::string& target,
                      const Progress& progress, std::string& error) {
    if (!Apply(settings, error)) return 0;
    used_ = ScanSettings{handle_->Text(SANE_NAME_SCAN_SOURCE), handle_->Text(SANE_NAME_SCAN_MODE),
                         handle_->Number(SANE_NAME_SCAN_RESOLUTION)};
    if (handle_->OneBitGrey() && handle_->Number(SANE_NAME_BIT_DEPTH) == 1)
        used_.mode = SANE_VALUE_SCAN_MODE_LINEART;
    int pages = 0;
    {
        TiffPages file(target);
        if (!file.IsOpen()) {
            error = "cannot write " + target;
            return 0;
        }
        std::vector<std::uint8_t> data;
        std::array<SANE_Byte, 32768> buffer;
        for (;;) {
            SANE_Status status = sane_start(handle_->sane);
            // A feeder that has run out of sheets ends the run; the first sheet must come.
            if (status == SANE_STATUS_NO_DOCS && pages > 0) break;
            if (status != SANE_STATUS_GOOD) {
                error = Status(status);
                pages = 0;
                break;
            }
            SANE_Parameters p{};
            sane_get_parameters(handle_->sane, &p);
            data.clear();
            bool cancelled = false;
            SANE_Int got = 0;
            while ((status = sane_read(handle_->sane, buffer.data(), buffer.size(), &got)) ==
                   SANE_STATUS_GOOD) {
                data.insert(data.end(), buffer.begin(), buffer.begin() + got);
                if (progress &&
                    !progress(pages + 1,
                              static_cast<int>(data.size() / std::max(p.bytes_per_line, 1)))) {
                    cancelled = true;
                    break;
                }
            }
            if (cancelled || status != SANE_STATUS_EOF || p.bytes_per_line <= 0) {
                error = cancelled ? "cancelled" : Status(status);
                pages = 0;
                break;
            }
            if (!file.Write(p, used_.dpi, data, pages)) {
                error = "cannot write " + target;
                pages = 0;
                break;
            }
            ++pages;
            if (used_.source.find("Feeder") == std::string::npos &&
                used_.source.find("ADF") == std::string::npos)
                break;
        }
        sane_cancel(handle_->sane);
    }
    // Nothing is left behind by a scan that did not end well.
    if (pages == 0) std::filesystem::remove(target);
    return pages;
}

}  // namespace orbel::imaging
