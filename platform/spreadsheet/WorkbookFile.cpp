#include "platform/spreadsheet/WorkbookFile.h"

#include <freexl.h>
#include <zlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

namespace orbel::spreadsheet {

namespace {

std::string LowerExtension(const std::string& path) {
    std::string ext = std::filesystem::path(path).extension().string();
    for (char& c : ext)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return ext;
}

bool ReadXlsSheets(const std::string& path, std::vector<std::string>& names, std::string& error) {
    const void* handle = nullptr;
    if (freexl_open_info(path.c_str(), &handle) != FREEXL_OK) {
        if (handle) freexl_close(handle);
        error = "not a workbook";
        return false;
    }
    unsigned count = 0;
    bool ok = freexl_get_info(handle, FREEXL_BIFF_SHEET_COUNT, &count) == FREEXL_OK;
    for (unsigned i = 0; ok && i < count; ++i) {
        const char* name = nullptr;
        ok = freexl_get_worksheet_name(handle, static_cast<unsigned short>(i), &name) == FREEXL_OK;
        if (ok) names.emplace_back(name ? name : "");
    }
    freexl_close(handle);
    if (!ok) error = "its sheets cannot be read";
    return ok;
}

std::uint32_t Le(const std::string& s, std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(s[at + i]);
    return v;
}

// One member of a zip archive, stored or deflated, found through the central directory (the
// local headers may leave their sizes to a descriptor after the data).
std::optional<std::string> ZipMember(const std::string& zip, const std::string& wanted) {
    constexpr std::size_t kEndSize = 22;
    if (zip.size() < kEndSize) return std::nullopt;
    std::size_t end = zip.size() - kEndSize;
    while (Le(zip, end, 4) != 0x06054b50) {
        if (end == 0 || zip.size() - end > kEndSize + 0xFFFF) return std::nullopt;
        --end;
    }
    const std::size_t entries = Le(zip, end + 10, 2);
    std::size_t at = Le(zip, end + 16, 4);
    for (std::size_t n = 0; n < entries; ++n) {
        if (at + 46 > zip.size() || Le(zip, at, 4) != 0x02014b50) return std::nullopt;
        const std::uint32_t method = Le(zip, at + 10, 2);
        const std::size_t packed = Le(zip, at + 20, 4);
        const std::size_t size = Le(zip, at + 24, 4);
        const std::size_t nameLen = Le(zip, at + 28, 2);
        const std::size_t skip = nameLen + Le(zip, at + 30, 2) + Le(zip, at + 32, 2);
        const std::size_t local = Le(zip, at + 42, 4);
        if (at + 46 + nameLen > zip.size()) return std::nullopt;
        if (zip.compare(at + 46, nameLen, wanted) == 0) {
            if (local + 30 > zip.size()) return std::nullopt;
            const std::size_t data = local + 30 + Le(zip, local + 26, 2) + Le(zip, local + 28, 2);
            if (data + packed > zip.size()) return std::nullopt;
            if (method == 0) return zip.substr(data, packed);
            if (method != 8) return std::nullopt;
            std::string out(size, '\0');
            z_stream z{};
            if (inflateInit2(&z, -MAX_WBITS) != Z_OK) return std::nullopt;
            z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(zip.data() + data));
            z.avail_in = static_cast<uInt>(packed);
            z.next_out = reinterpret_cast<Bytef*>(out.data());
            z.avail_out = static_cast<uInt>(out.size());
            const int rc = inflate(&z, Z_FINISH);
            inflateEnd(&z);
            if (rc != Z_STREAM_END || z.total_out != size) return std::nullopt;
            return out;
        }
        at += 46 + skip;
    }
    return std::nullopt;
}

std::string XmlUnescaped(const std::string& text) {
    static const std::pair<const char*, char> kEntities[] = {
        {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        bool replaced = false;
        for (const auto& [entity, c] : kEntities) {
            if (text.compare(i, std::char_traits<char>::length(entity), entity) == 0) {
                out += c;
                i += std::char_traits<char>::length(entity);
                replaced = true;
                break;
            }
        }
        if (!replaced) out += text[i++];
    }
    return out;
}

}  // namespace

std::vector<std::string> TableNamesOfContent(const std::string& xml) {
    std::vector<std::string> names;
    const std::string open = "<table:table ";
    const std::string attribute = "table:name=\"";
    for (std::size_t at = xml.find(open); at != std::string::npos; at = xml.find(open, at + 1)) {
        const std::size_t close = xml.find('>', at);
        const std::size_t name = xml.find(attribute, at);
        if (close == std::string::npos || name == std::string::npos || name > close) continue;
        const std::size_t from = name + attribute.size();
        const std::size_t to = xml.find('"', from);
        if (to == std::string::npos || to > close) continue;
        names.push_back(XmlUnescaped(xml.substr(from, to - from)));
    }
    return names;
}

bool ReadSheetNames(const std::string& path, std::vector<std::string>& names, std::string& error) {
    names.clear();
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        error = "no such file";
        return false;
    }
    const std::string ext = LowerExtension(path);
    if (ext == ".xls") return ReadXlsSheets(path, names, error);
    if (ext == ".ods") {
        std::ifstream in(path, std::ios::binary);
        const std::string zip{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        const std::optional<std::string> content = ZipMember(zip, "content.xml");
        if (content) names = TableNamesOfContent(*content);
        if (names.empty()) error = "not a workbook";
        return !names.empty();
    }
    error = "not a workbook";
    return false;
}

}  // namespace orbel::spreadsheet
