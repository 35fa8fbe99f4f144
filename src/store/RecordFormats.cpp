#include "src/store/RecordFormats.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstring>

#include "platform/text/Utf8.h"

namespace orbel {

const char* TableName(Table t) {
    switch (t) {
        case Table::OleTree:
            return "OLE_TREE";
        case Table::OleRes:
            return "OLE_RES";
        case Table::OleCla:
            return "OLE_CLA";
    }
    return "";
}

namespace {
// Eight decimal digits and nothing else, as every number of a key is stored, read eight bytes
// at a time: loading a store reads several per row.
bool ReadEightDigits(std::string_view text, std::int32_t& value) {
    if constexpr (std::endian::native != std::endian::little) return false;
    if (text.size() != 8) return false;
    std::uint64_t v;
    std::memcpy(&v, text.data(), 8);
    constexpr std::uint64_t kHigh = 0xF0F0F0F0F0F0F0F0ULL;
    constexpr std::uint64_t kZeros = 0x3030303030303030ULL;
    if ((v & kHigh) != kZeros || ((v + 0x0606060606060606ULL) & kHigh) != kZeros) return false;
    v -= kZeros;
    v = (v * 10) + (v >> 8);  // pairs of digits
    v = (((v & 0x000000FF000000FFULL) * (100 + (1000000ULL << 32))) +
         (((v >> 16) & 0x000000FF000000FFULL) * (1 + (10000ULL << 32)))) >>
        32;
    value = static_cast<std::int32_t>(v);
    return true;
}

// One to eight decimal digits and nothing else: the item flag and the pages of a row are
// such shorter fields.
bool ReadPlainDigits(std::string_view text, std::int32_t& value) {
    if (text.size() == 8) return ReadEightDigits(text, value);
    if (text.empty() || text.size() > 8) return false;
    std::int32_t v = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    value = v;
    return true;
}
}  // namespace

std::int32_t Atol(std::string_view text) {
    if (std::int32_t value = 0; ReadPlainDigits(text, value)) return value;
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > INT32_MAX) {
            value = std::int64_t{INT32_MAX} + 1;
            break;
        }
    }
    if (negative) value = -value;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

namespace {
// The text without its trailing blanks, tabs and line ends, into a string that keeps its room:
// every row read passes its texts through here.
void AssignTrimmed(std::string& out, std::string_view text) {
    std::size_t end = text.size();
    // A name is padded with blanks to its field's width: they go eight at a time.
    constexpr std::uint64_t kEightBlanks = 0x2020202020202020ULL;
    for (std::uint64_t word; end >= 8; end -= 8) {
        std::memcpy(&word, text.data() + end - 8, 8);
        if (word != kEightBlanks) break;
    }
    while (end > 0 && (text[end - 1] == ' ' || text[end - 1] == '\t' || text[end - 1] == '\r' ||
                       text[end - 1] == '\n'))
        --end;
    out.assign(text.substr(0, end));
}
}  // namespace

std::string TrimRight(std::string_view text) {
    std::string out;
    AssignTrimmed(out, text);
    return out;
}

std::string StoredText(std::string_view text, std::size_t width) {
    return TrimRight(FirstCharacters(text, width));
}

namespace {

// "%0Nd" of a value kept within what N characters can hold, so the field never widens.
std::string Number(std::int32_t value, int width) {
    std::int64_t max = 1;
    for (int i = 0; i < width; ++i) max *= 10;
    --max;
    std::int64_t min = -(max / 10);
    std::int64_t v = std::clamp<std::int64_t>(value, min, max);
    char buf[24];
    std::snprintf(buf, sizeof buf, "%0*lld", width, static_cast<long long>(v));
    return buf;
}

// "%-Ns" of a text cut to N characters: widths count characters, not bytes, so a name is cut
// where the label editor stops and never inside a character.
std::string Text(std::string_view value, std::size_t width) {
    const std::string_view cut = FirstCharacters(value, width);
    std::string s(cut);
    s.append(width - CharacterCount(cut), ' ');
    return s;
}

std::string PadTo(std::string_view value, std::size_t width) {
    std::string s(value);
    if (const std::size_t count = CharacterCount(value); count < width)
        s.append(width - count, ' ');
    return s;
}

// Cuts a row string into its fields from left to right, each field so many characters wide. A
// field cut short by the end of its string reads as the blanks it would be padded with.
class Fields {
  public:
    explicit Fields(std::string_view text) : m_text(text), m_ascii(IsAscii(text)) {}
    std::string_view Next(std::size_t width) {
        const std::size_t from = m_at;
        // Most rows are plain ASCII, where a character is a byte: loading a store reads
        // every row through here.
        m_at = m_ascii ? std::min(m_at + width, m_text.size()) : SkipWide(width);
        // Within the text by construction: no bounds check, so that this stays small enough
        // to be inlined at each field.
        return std::string_view(m_text.data() + from, m_at - from);
    }

  private:
    // Kept out of line: a row with wide characters is the rare one.
    [[gnu::noinline]] std::size_t SkipWide(std::size_t width) const {
        return SkipCharacters(m_text, m_at, width);
    }

    static bool IsAscii(std::string_view text) {
        // Eight bytes at a time: a row string is checked once before its fields are cut.
        std::uint64_t any = 0;
        std::size_t i = 0;
        for (; i + 8 <= text.size(); i += 8) {
            std::uint64_t word;
            std::memcpy(&word, text.data() + i, 8);
            any |= word;
        }
        for (; i < text.size(); ++i) any |= static_cast<unsigned char>(text[i]);
        return (any & 0x8080808080808080ULL) == 0;
    }

    std::string_view m_text;
    bool m_ascii;
    std::size_t m_at = 0;
};

}  // namespace

RowText BuildTreeEntry(const TreeEntry& e) {
    RowText row;
    row.data = Number(e.IsItem, 1) + Number(e.PageStart, 3) + Number(e.PageEnd, 3) +
               Text(e.Batch, kBatchWidth) + Text(e.Type, kTypeWidth);
    row.key1 = FormatTreeKey1({e.OwnerId, e.EntryNo});
    row.key2 = FormatTreeKey2({e.OwnerId2, e.ParentOwnerId, e.ParentEntryNo, e.Name});
    row.key3 = FormatTreeKey3({e.ResourceId});
    return row;
}

void ParseTreeEntryInto(TreeEntry& e, std::string_view data, std::string_view key1,
                        std::string_view key2, std::string_view key3) {
    Fields k1(key1);
    e.OwnerId = Atol(k1.Next(8));
    e.EntryNo = Atol(k1.Next(8));
    Fields k2(key2);
    e.OwnerId2 = Atol(k2.Next(8));
    e.ParentOwnerId = Atol(k2.Next(8));
    e.ParentEntryNo = Atol(k2.Next(8));
    AssignTrimmed(e.Name, k2.Next(kNameWidth));
    e.ResourceId = Atol(Fields(key3).Next(8));
    Fields d(data);
    e.IsItem = Atol(d.Next(1));
    e.PageStart = Atol(d.Next(3));
    e.PageEnd = Atol(d.Next(3));
    AssignTrimmed(e.Batch, d.Next(kBatchWidth));
    // The type is cut from the data as sent: a 15-character data string has none.
    AssignTrimmed(e.Type, d.Next(kTypeWidth));
}

TreeEntry ParseTreeEntry(std::string_view data, std::string_view key1, std::string_view key2,
                         std::string_view key3) {
    TreeEntry e;
    ParseTreeEntryInto(e, data, key1, key2, key3);
    return e;
}

RowText BuildResourceRecord(const ResourceRecord& r) {
    // The path is the only field of its string: a longer one moves nothing and is kept whole.
    return RowText{PadTo(r.Path, kPathWidth), FormatResourceKey(r.ResourceId), {}, {}};
}

ResourceRecord ParseResourceRecord(std::string_view data, std::string_view key1) {
    ResourceRecord r;
    // The path is the only field of its string: padding it would only add blanks to trim.
    r.Path = TrimRight(data);
    r.ResourceId = Atol(Fields(key1).Next(8));
    return r;
}

RowText BuildClassRecord(const ClassRecord& c) {
    return RowText{Number(c.Value, 8), FormatClassKey(c.ClassName), {}, {}};
}

ClassRecord ParseClassRecord(std::string_view data, std::string_view key1) {
    ClassRecord c;
    // A key is read within its field, as every key of a row is.
    c.ClassName = TrimRight(Fields(key1).Next(kClassNameWidth));
    c.Value = Atol(Fields(data).Next(8));
    return c;
}

std::string FormatTreeKey1(const TreeKey1& k) {
    return Number(k.OwnerId, 8) + Number(k.EntryNo, 8);
}

std::string FormatTreeKey2(const TreeKey2& k) {
    return Number(k.OwnerId, 8) + Number(k.ParentOwnerId, 8) + Number(k.ParentEntryNo, 8) +
           Text(k.Name, kNameWidth);
}

std::string FormatTreeKey3(const TreeKey3& k) {
    return Number(k.ResourceId, 8);
}

std::string FormatResourceKey(std::int32_t resourceId) {
    return Number(resourceId, 8);
}

std::string FormatClassKey(std::string_view className) {
    return Text(className, kClassNameWidth);
}

TreeKey2 TreeKey2RangeEnd(std::int32_t ownerId) {
    return TreeKey2{ownerId, kLargestNumber, kLargestNumber, std::string(kNameWidth, 'z')};
}

std::int32_t EntryKeyOf(std::int32_t ownerId, std::int32_t entryNo, std::int32_t classOleId) {
    if (entryNo == 0) return 0;
    return ownerId == classOleId ? entryNo * 10 + 1 : entryNo * 10;
}

}  // namespace orbel
