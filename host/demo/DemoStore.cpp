#include "host/demo/DemoStore.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <span>
#include <system_error>

#include "src/store/RecordFormats.h"

namespace orbel::demo {

namespace fs = std::filesystem;

namespace {

// A folder or item of the demo, filed under (parentOwner, parentEntry); (0, 0) is the top.
struct Row {
    std::int32_t owner;
    std::int32_t entry;
    std::int32_t parentOwner;
    std::int32_t parentEntry;
    const char* name;
    std::int32_t resource = 0;  // an item's document, by resource ID; 0 for a folder
    std::int32_t pageStart = 0;
    std::int32_t pageEnd = 0;
};

constexpr std::int32_t C = kDemoClassOleId;
constexpr std::int32_t O = kDemoOleId;
constexpr std::int32_t S = kDemoScriptClassOleId;
constexpr std::int32_t E = kDemoEmailClassOleId;
constexpr std::int32_t R = kDemoRoutingSheetOleId;
constexpr std::int32_t A = kDemoAccountsOleId;

// The class tree gives the store its fixed structure; the item files its own folders and its
// documents in it and beside it.
constexpr Row kRows[] = {
    {C, 1, 0, 0, "Correspondence"},
    {C, 2, 0, 0, "Invoices"},
    {C, 3, C, 2, "2026"},
    {C, 4, C, 3, "Q1"},
    {C, 5, 0, 0, "Orders"},
    {O, 1, 0, 0, "Drafts"},
    {O, 2, C, 1, "Bank"},
    {O, 3, 0, 0, "Read me first", 1},
    {O, 4, C, 3, "Scanned invoice", 2, 1, 3},
    {O, 5, C, 5, "Order 4711", 3},
    {O, 6, O, 1, "Project web site", 4},
    {S, 1, 0, 0, kDemoScriptFolder},
    {S, 2, S, 1, "Greeting", 5},
    {S, 3, S, 1, "Copy fields", 6},
    {O, 8, C, 1, "Scanned letter", 13, 1, 2},
    {O, 9, C, 2, "Budget 2026.xls", 14},
    // Subscribers: one of the item's own; the tree Accounts has a group with one more.
    {O, 7, E, 0, "Mary Clerk", 7},
    {A, 1, E, 0, "Payables team", 0},
    {A, 2, A, 1, "Ann Payable", 8},
    {A, 3, E, 0, "Bob Ledger", 9},
    // The routing sheet: incoming documents waiting to be attached or mailed, each with a
    // resource of its own, since routing marks the stored path.
    {R, 1, 0, 0, "Incoming invoice", 10, 1, 3},
    {R, 2, 0, 0, "Incoming order", 11},
    {R, 3, 0, 0, "Incoming letter", 12},
};

const char* const kCounterOleId = "0";
const char* const kCounterResourceId = "1";
const char* const kScriptClass = "4";
const char* const kEmailClass = "EMAIL";
const char* const kRoutingSheetClass = "5";

std::string ItemType(const std::string& path) {
    if (path.find("://") != std::string::npos) return "url";
    const std::string ext = fs::path(path).extension().string();
    return ext.size() > 1 && ext.size() <= 4 ? ext.substr(1) : std::string();
}

}  // namespace

SampleDocuments SampleDocumentsIn(const fs::path& dir) {
    return SampleDocuments{dir / "welcome.txt",     dir / "invoice-scan.tif",
                           dir / "order-4711.xml",  "https://www.example.org/",
                           dir / "greeting.vbs",    dir / "fields.js",
                           dir / "letter-scan.tif", dir / "budget.xls"};
}

bool SeedDemoStore(host::SqliteTableStore& store, const SampleDocuments& documents,
                   std::string& error) {
    // A script's resource path names its language and the procedure Run starts.
    const std::string paths[] = {documents.text.string(),
                                 documents.tiff.string(),
                                 documents.xml.string(),
                                 documents.webAddress,
                                 documents.vbscript.string() + "!VBScript#Main",
                                 documents.jscript.string() + "!JScript#Main",
                                 "mary.clerk@example.org",
                                 "ann.payable@example.org",
                                 "bob.ledger@example.org",
                                 documents.tiff.string(),
                                 documents.xml.string(),
                                 documents.text.string(),
                                 documents.letter.string(),
                                 documents.workbook.string()};
    auto refused = [&](const char* what) {
        error = std::string("cannot write ") + what + ": " + store.LastError();
        return false;
    };
    const bool done = store.InTransaction([&] {
        for (std::size_t i = 0; i < std::size(paths); ++i) {
            const RowText row = BuildResourceRecord({static_cast<std::int32_t>(i + 1), paths[i]});
            if (store.InsertRecord("OLE_RES", row.data, row.key1, row.key2, row.key3) !=
                host::kStoreOk)
                return refused("a resource row");
        }
        for (const Row& r : kRows) {
            TreeEntry e;
            e.OwnerId = e.OwnerId2 = r.owner;
            e.EntryNo = r.entry;
            e.ParentOwnerId = r.parentOwner;
            e.ParentEntryNo = r.parentEntry;
            e.Name = r.name;
            if (r.resource) {
                e.IsItem = 1;
                e.ResourceId = r.resource;
                e.PageStart = r.pageStart;
                e.PageEnd = r.pageEnd;
                e.Type = ItemType(paths[r.resource - 1]);
            }
            const RowText row = BuildTreeEntry(e);
            if (store.InsertRecord("OLE_TREE", row.data, row.key1, row.key2, row.key3) !=
                host::kStoreOk)
                return refused("a tree row");
        }
        // The control's own counters hold the last ID handed out: the next new item and the
        // next document get fresh ones.
        for (const ClassRecord& c :
             {ClassRecord{kCounterOleId, kDemoLastFixedOleId}, ClassRecord{kScriptClass, S},
              ClassRecord{kEmailClass, E}, ClassRecord{kRoutingSheetClass, R},
              ClassRecord{kCounterResourceId, static_cast<std::int32_t>(std::size(paths))}}) {
            const RowText row = BuildClassRecord(c);
            if (store.InsertRecord("OLE_CLA", row.data, row.key1, row.key2, row.key3) !=
                host::kStoreOk)
                return refused("a counter row");
        }
        return true;
    });
    if (!done && error.empty()) error = store.LastError();
    return done;
}

bool ReserveDemoIds(host::TableStore& store, std::string& error) {
    if (store.ReadOnly()) return true;
    std::int64_t last = 0;
    if (!store.ExecuteSql(
            std::string("SELECT coalesce(max(Value), 0) FROM OLE_CLA WHERE ClassName = '") +
                kCounterOleId + "'",
            [&](std::span<const std::string> row) { last = std::atoll(row[0].c_str()); })) {
        error = "cannot read the OLE ID counter: " + store.LastError();
        return false;
    }
    while (last < kDemoLastFixedOleId) {
        const host::StoreReply reply = store.NextOleId();
        if (reply.result != host::kStoreOk) {
            error = "cannot move the OLE ID counter: " + store.LastError();
            return false;
        }
        last = std::atoll(reply.data.c_str());
    }
    return true;
}

OpenedStore OpenStoreFile(const fs::path& path, const SampleDocuments* seed) {
    OpenedStore opened;
    std::error_code ec;
    opened.created = !fs::exists(path, ec);
    if (opened.created && path.has_parent_path()) fs::create_directories(path.parent_path(), ec);
    host::SqliteOpenResult result = host::SqliteTableStore::Open(path.string());
    if (!result) {
        opened.error = result.error;
        return opened;
    }
    if (opened.created && seed && !SeedDemoStore(*result.store, *seed, opened.error)) {
        result.store.reset();
        fs::remove(path, ec);
        return opened;
    }
    opened.store = std::move(result.store);
    return opened;
}

}  // namespace orbel::demo
