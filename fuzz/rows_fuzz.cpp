// Rows as the host sends them: any text in sData and the keys must parse, and a parsed row
// must build back into strings of exactly the field widths that parse to the same row.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "src/store/RecordFormats.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    std::string_view in(reinterpret_cast<const char*>(bytes), size);
    std::string_view part[4];
    for (int i = 0; i < 3; ++i) {
        std::size_t cut = in.find('|');
        part[i] = in.substr(0, cut);
        in = cut == std::string_view::npos ? std::string_view() : in.substr(cut + 1);
    }
    part[3] = in;

    using namespace orbel;
    TreeEntry e = ParseTreeEntry(part[0], part[1], part[2], part[3]);
    RowText row = BuildTreeEntry(e);
    if (row.data.size() != 18 || row.key1.size() != 16 || row.key2.size() != 54 ||
        row.key3.size() != 8)
        std::abort();
    if (!(ParseTreeEntry(row.data, row.key1, row.key2, row.key3) == e)) std::abort();

    ResourceRecord r = ParseResourceRecord(part[0], part[1]);
    if (!(ParseResourceRecord(BuildResourceRecord(r).data, BuildResourceRecord(r).key1) == r))
        std::abort();

    ClassRecord c = ParseClassRecord(part[0], part[1]);
    RowText crow = BuildClassRecord(c);
    if (crow.key1.size() != 10 || crow.data.size() != 8) std::abort();
    if (!(ParseClassRecord(crow.data, crow.key1) == c)) std::abort();
    return 0;
}
