// The typed columns are cut from the texts the way the control reads its replies, so a query
// on them sees the values the control sees.
#include <gtest/gtest.h>

#include "host/store/StoreRows.h"
#include "src/store/RecordFormats.h"

namespace orbel::host {
namespace {

TEST(StoreRows, TreeFieldsAgreeWithTheControlsReadingOfTheSameTexts) {
    struct Texts {
        const char* data;
        const char* key1;
        const char* key2;
        const char* key3;
    };
    const std::string longName =
        "00000005000000050000000"
        "1" +
        std::string(31, 'n') + "tail";
    for (const Texts& t : std::initializer_list<Texts>{
             {"100200300000000tif", "0000000500000007", "000000050000000500000002Minutes   ",
              "00000012"},
             {"000100200000001", "0000000500000008", "000000050000000500000002", "13"},
             {"1", "5", "", ""},
             {"", "", "", ""},
             {"x12-45  batch   url!", "-0000001 abc    ", longName.c_str(), "99999999999"},
         }) {
        const TreeRowFields f = ParseTreeRow(t.data, t.key1, t.key2, t.key3);
        const TreeEntry e = ParseTreeEntry(t.data, t.key1, t.key2, t.key3);
        EXPECT_EQ(f, (TreeRowFields{e.OwnerId, e.EntryNo, e.OwnerId2, e.ParentOwnerId,
                                    e.ParentEntryNo, e.Name, e.ResourceId, e.IsItem, e.PageStart,
                                    e.PageEnd, e.Batch, e.Type}))
            << t.data << "|" << t.key1 << "|" << t.key2 << "|" << t.key3;
    }
}

TEST(StoreRows, ResourceAndClassFieldsAgreeWithTheControlsReading) {
    for (const char* key : {"00000041", "41", "", "  -7x"}) {
        const ResourceRecord r = ParseResourceRecord("C:\\docs\\a b.doc   ", key);
        EXPECT_EQ(ParseResourceRow("C:\\docs\\a b.doc   ", key),
                  (ResourceRowFields{r.ResourceId, r.Path}));
        const ClassRecord c = ParseClassRecord(key, "EMAIL     ");
        EXPECT_EQ(ParseClassRow(key, "EMAIL     "), (ClassRowFields{c.ClassName, c.Value}));
    }
}

}  // namespace
}  // namespace orbel::host
