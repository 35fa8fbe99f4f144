// The demo's store: a class tree and the own tree of one OLE item, with items that link to the
// sample documents installed with the program, so that a newcomer sees a real store at once.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "host/store/SqliteTableStore.h"

namespace orbel::demo {

// The trees a demo store holds: OLE item 2 filed in class tree 1. A store made elsewhere is
// opened with the same two IDs. Script maintenance finds its scripts in the folder Scripts of
// class tree 3, the tree of the script class "4".
inline constexpr std::int32_t kDemoOleId = 2;
inline constexpr std::int32_t kDemoClassOleId = 1;
inline constexpr std::int32_t kDemoScriptClassOleId = 3;
inline constexpr const char* kDemoScriptFolder = "Scripts";
// Routing: the subscribers of the item and of the tree Accounts hang under the "EMAIL" class
// root; the routing sheet is the tree of the directory-selection class "5".
inline constexpr std::int32_t kDemoEmailClassOleId = 4;
inline constexpr std::int32_t kDemoRoutingSheetOleId = 5;
inline constexpr std::int32_t kDemoAccountsOleId = 6;
// The highest OLE ID the demo uses by number.
inline constexpr std::int32_t kDemoLastFixedOleId = kDemoAccountsOleId;

// The documents the sample items link to.
struct SampleDocuments {
    std::filesystem::path text;  // a letter, plain text
    std::filesystem::path tiff;  // a scanned invoice of three pages
    std::filesystem::path xml;   // an order as XML
    std::string webAddress;
    std::filesystem::path vbscript;  // a script of each language
    std::filesystem::path jscript;
    std::filesystem::path letter;    // a scanned letter of two pages
    std::filesystem::path workbook;  // a budget, for linking fields to its cells
};

// The documents as installed (or built) in `dir`.
SampleDocuments SampleDocumentsIn(const std::filesystem::path& dir);

// Writes the demo rows into an empty store as one transaction: the class folders, the item's
// own folders, one item per sample document, the script class with a script of each language,
// subscribers, a routing sheet, and the control's ID counters set past the IDs used. False, with
// `error`, when the store refused a row (then nothing is written).
bool SeedDemoStore(host::SqliteTableStore& store, const SampleDocuments& documents,
                   std::string& error);

// The demo opens every store with the fixed IDs above; a store that has not handed out those
// OLE IDs yet (one made empty, or on a server) moves its OLE ID counter past them, so that a
// class the control makes on first use gets a tree of its own. A read-only store is left alone.
// False, with `error`, when the store refused.
bool ReserveDemoIds(host::TableStore& store, std::string& error);

struct OpenedStore {
    std::unique_ptr<host::SqliteTableStore> store;  // null on failure
    bool created = false;                           // the file was made by this call
    std::string error;
};

// Opens the store file at `path`. A file that does not exist is created, with its folders;
// when `seed` is set it is filled with the demo rows first.
OpenedStore OpenStoreFile(const std::filesystem::path& path, const SampleDocuments* seed);

}  // namespace orbel::demo
