// Rows as the host sends them: any text in sData and the keys must parse, and a parsed row
// must build back into strings of exactly the field widths (in characters) that parse to the
// same row. Texts are kept byte for byte: a parsed text is a piece of what was sent, and
// neither parsing nor building adds a byte that is no UTF-8 (cutting inside a character would).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/text/Utf8.h"
#include "src/store/RecordFormats.h"

namespace {

std::size_t BytesThatAreNoUtf8(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = orbel::CharacterLength(text, at);
        if (length == 1 && static_cast<unsigned char>(text[at]) >= 0x80) ++count;
        at += length;
    }
    return count;
}

void Check(bool ok) {
    if (!ok) std::abort();
}

// A text read from `sent` is a piece of it and no worse than it.
void CheckKept(std::string_view value, std::string_view sent) {
    Check(sent.find(value) != std::string_view::npos);
    Check(BytesThatAreNoUtf8(value) <= BytesThatAreNoUtf8(sent));
}

}  // namespace

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
    CheckKept(e.Name, part[2]);
    CheckKept(e.Batch, part[0]);
    CheckKept(e.Type, part[0]);
    RowText row = BuildTreeEntry(e);
    Check(CharacterCount(row.data) == 18 && CharacterCount(row.key1) == 16 &&
          CharacterCount(row.key2) == 54 && CharacterCount(row.key3) == 8);
    Check(BytesThatAreNoUtf8(row.key2) == BytesThatAreNoUtf8(e.Name));
    Check(BytesThatAreNoUtf8(row.data) == BytesThatAreNoUtf8(e.Batch) + BytesThatAreNoUtf8(e.Type));
    Check(ParseTreeEntry(row.data, row.key1, row.key2, row.key3) == e);
    Check(StoredText(e.Name, kNameWidth) == e.Name);

    ResourceRecord r = ParseResourceRecord(part[0], part[1]);
    CheckKept(r.Path, part[0]);
    RowText rrow = BuildResourceRecord(r);
    Check(CharacterCount(rrow.data) >= kPathWidth);
    Check(ParseResourceRecord(rrow.data, rrow.key1) == r);

    ClassRecord c = ParseClassRecord(part[0], part[1]);
    CheckKept(c.ClassName, part[1]);
    RowText crow = BuildClassRecord(c);
    Check(CharacterCount(crow.key1) == 10 && crow.data.size() == 8);
    Check(ParseClassRecord(crow.data, crow.key1) == c);
    return 0;
}
