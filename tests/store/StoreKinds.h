// The stores the conformance suite runs over. Each kind gives a new empty store for a test and
// further connections to that same store, as another program would open it; a kind that
// cannot run here (no PostgreSQL) says why, and its tests are skipped with that line.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/store/StoreFixture.h"

namespace orbel::host::test {

class SqliteKind {
  public:
    static constexpr const char* kName = "Sqlite";
    std::string Unavailable() const { return {}; }
    std::unique_ptr<TableStore> OpenNew();
    std::unique_ptr<TableStore> OpenAgain(StoreAccess access = StoreAccess::ReadWrite);

  private:
    TempFolder folder_;
};

#ifdef ORBEL_WITH_POSTGRES
class PgKind {
  public:
    static constexpr const char* kName = "Postgres";
    std::string Unavailable() const;
    // The store in the test program's database, emptied of every table first.
    std::unique_ptr<TableStore> OpenNew();
    std::unique_ptr<TableStore> OpenAgain(StoreAccess access = StoreAccess::ReadWrite);
    // The connection string of the test program's database.
    static const std::string& ConnInfo();
};
using StoreKinds = ::testing::Types<SqliteKind, PgKind>;
#else
using StoreKinds = ::testing::Types<SqliteKind>;
#endif

struct StoreKindNames {
    template <class Kind>
    static std::string GetName(int) {
        return Kind::kName;
    }
};

// A test over each kind of store: `store_` is a new empty one.
template <class Kind>
class StoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (const std::string why = kind_.Unavailable(); !why.empty()) GTEST_SKIP() << why;
        store_ = kind_.OpenNew();
        ASSERT_TRUE(store_);
    }

    Kind kind_;
    std::unique_ptr<TableStore> store_;
};

}  // namespace orbel::host::test
