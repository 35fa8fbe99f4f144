#include "tests/spreadsheet/TestWorkbooks.h"

#include <spawn.h>
#include <sys/wait.h>
#include <zlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>

extern char** environ;

namespace orbel::test {

namespace {

constexpr const char* kPython = "/usr/bin/python3";

// The sheet names travel as arguments, never through a shell.
constexpr const char* kXlwtScript =
    "import sys, xlwt\n"
    "wb = xlwt.Workbook()\n"
    "for i, name in enumerate(sys.argv[2:]):\n"
    "    wb.add_sheet(name).write(0, 0, i)\n"
    "wb.save(sys.argv[1])\n";

void Le(std::string& out, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

std::string Escaped(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == '"')
            out += "&quot;";
        else
            out += c;
    }
    return out;
}

}  // namespace

bool MakeXls(const std::string& path, const std::vector<std::string>& sheets, std::string& why) {
    if (!std::filesystem::exists(kPython)) {
        why = "no /usr/bin/python3 to write .xls files with";
        return false;
    }
    std::vector<std::string> args{kPython, "-c", kXlwtScript, path};
    args.insert(args.end(), sheets.begin(), sheets.end());
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    int status = 0;
    if (posix_spawn(&pid, kPython, nullptr, nullptr, argv.data(), environ) != 0 ||
        waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0 ||
        !std::filesystem::exists(path)) {
        why = "/usr/bin/python3 cannot write .xls files (python3-xlwt missing?)";
        return false;
    }
    return true;
}

void MakeOds(const std::string& path, const std::vector<std::string>& sheets) {
    std::string content =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><office:document-content "
        "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
        "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
        "office:version=\"1.2\"><office:body>"
        "<office:spreadsheet>";
    for (const std::string& s : sheets)
        content += "<table:table table:name=\"" + Escaped(s) +
                   "\" table:style-name=\"ta1\"><table:table-row/></table:table>";
    content += "</office:spreadsheet></office:body></office:document-content>";
    // The manifest makes it a document a spreadsheet program opens, not only one we read.
    const std::string manifest =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><manifest:manifest "
        "xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0\" "
        "manifest:version=\"1.2\"><manifest:file-entry manifest:full-path=\"/\" "
        "manifest:version=\"1.2\" "
        "manifest:media-type=\"application/vnd.oasis.opendocument.spreadsheet\"/>"
        "<manifest:file-entry manifest:full-path=\"content.xml\" "
        "manifest:media-type=\"text/xml\"/></manifest:manifest>";
    const std::pair<std::string, std::string> members[] = {
        {"mimetype", "application/vnd.oasis.opendocument.spreadsheet"},
        {"content.xml", content},
        {"META-INF/manifest.xml", manifest}};
    std::string zip, central;
    for (const auto& [name, data] : members) {
        const auto crc = static_cast<std::uint32_t>(
            crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
        const auto offset = static_cast<std::uint32_t>(zip.size());
        const auto size = static_cast<std::uint32_t>(data.size());
        const auto nameLen = static_cast<std::uint32_t>(name.size());
        Le(zip, 0x04034b50, 4);
        Le(zip, 10, 2), Le(zip, 0, 2), Le(zip, 0, 2), Le(zip, 0, 4);
        Le(zip, crc, 4), Le(zip, size, 4), Le(zip, size, 4);
        Le(zip, nameLen, 2), Le(zip, 0, 2);
        zip += name + data;
        Le(central, 0x02014b50, 4);
        Le(central, 20, 2), Le(central, 10, 2), Le(central, 0, 2), Le(central, 0, 2);
        Le(central, 0, 4), Le(central, crc, 4), Le(central, size, 4), Le(central, size, 4);
        Le(central, nameLen, 2), Le(central, 0, 2), Le(central, 0, 2), Le(central, 0, 2);
        Le(central, 0, 2), Le(central, 0, 4), Le(central, offset, 4);
        central += name;
    }
    const auto centralAt = static_cast<std::uint32_t>(zip.size());
    zip += central;
    Le(zip, 0x06054b50, 4);
    const auto count = static_cast<std::uint32_t>(std::size(members));
    Le(zip, 0, 2), Le(zip, 0, 2), Le(zip, count, 2), Le(zip, count, 2);
    Le(zip, static_cast<std::uint32_t>(central.size()), 4), Le(zip, centralAt, 4), Le(zip, 0, 2);
    std::ofstream(path, std::ios::binary) << zip;
}

}  // namespace orbel::test
