// Handles keep their bindings: a cursor from row to row and from opening to
// opening, the single reads and writes from statement to statement. Each row
// must still land in the buffers of the current read, and a column the
// current read leaves out must not be written.
#include <gtest/gtest.h>

#include <string>

#include "db/connection.h"
#include "db/sql_text.h"
#include "db/statement.h"
#include "in_process.h"
#include "support/roster_builder.h"

namespace {

class CursorBinding : public mv::InProcess {
 protected:
  void SetUp() override {
    mv::InProcess::SetUp();
    db_.Exec(std::string("CREATE TABLE ") + db::Schema() +
             ".CurBind (k int NOT NULL PRIMARY KEY, t varchar(10) NULL, n int NULL)");
    for (int k = 1; k <= 4; ++k) {
      db_.Exec(db::SqlText("INSERT INTO %s.CurBind (k, t, n) VALUES (%d, 'r%d', %d)",
                           {db::Schema(), k, k, 10 * k}));
    }
  }
  static std::string Row(int k) {
    return db::SqlText("SELECT k, t, n FROM %s.CurBind WHERE k = %d", {db::Schema(), k});
  }
};

TEST_F(CursorBinding, EveryReadDeliversIntoItsOwnBuffers) {
  db::Cursor cur;
  ASSERT_EQ(cur.Open(db::SqlText("SELECT k, t, n FROM %s.CurBind ORDER BY k", {db::Schema()})), 0);
  int32_t k1 = 0, n1 = 0, k2 = 0, n2 = -1;
  FixedText<10> t1, t2;
  auto read = [&](int32_t& k, FixedText<10>& t, int32_t* n) {
    return cur.Read(
        [&](db::Columns& c) {
          c.Long(k).Text(t);
          if (n != nullptr) c.Long(*n);
        },
        [] {});
  };
  // Row 1 and 2 into the same buffers: the second Read binds nothing anew.
  ASSERT_EQ(read(k1, t1, &n1), 0);
  ASSERT_EQ(read(k1, t1, &n1), 0);
  EXPECT_EQ(k1, 2);
  EXPECT_STREQ(t1.c_str(), "r2");
  EXPECT_EQ(n1, 20);
  // Row 3 into other buffers, without the third column.
  ASSERT_EQ(read(k2, t2, nullptr), 0);
  EXPECT_EQ(k2, 3);
  EXPECT_STREQ(t2.c_str(), "r3");
  EXPECT_EQ(k1, 2);
  EXPECT_EQ(n1, 20);
  EXPECT_EQ(n2, -1);
  // Row 4 with all three again, into the second set.
  ASSERT_EQ(read(k2, t2, &n2), 0);
  EXPECT_EQ(k2, 4);
  EXPECT_EQ(n2, 40);
  EXPECT_EQ(n1, 20);
  EXPECT_EQ(read(k2, t2, &n2), 100);
  cur.Close();
  // A new opening starts with nothing bound.
  ASSERT_EQ(cur.Open(db::SqlText("SELECT k, t, n FROM %s.CurBind ORDER BY k", {db::Schema()})), 0);
  ASSERT_EQ(read(k2, t2, &n2), 0);
  EXPECT_EQ(k2, 1);
  EXPECT_EQ(n2, 10);
  cur.Close();
  // The next opening on the kept handle binds one column only.
  ASSERT_EQ(cur.Open(db::SqlText("SELECT k FROM %s.CurBind WHERE k = 3", {db::Schema()})), 0);
  int32_t k3 = 0;
  ASSERT_EQ(cur.Read([&](db::Columns& c) { c.Long(k3); }, [] {}), 0);
  EXPECT_EQ(k3, 3);
  EXPECT_EQ(k2, 1);
  EXPECT_EQ(n2, 10);
  // A new connection: the cursor opens on a handle of its own there.
  ASSERT_TRUE(ts::ConnectJob(db_));
  ASSERT_EQ(cur.Open(Row(4)), 0);
  ASSERT_EQ(read(k2, t2, &n2), 0);
  EXPECT_EQ(n2, 40);
  cur.Close();
}

TEST_F(CursorBinding, SingleReadsAndWritesShareHandles) {
  int32_t k = 0, n = -1, other = -1;
  FixedText<10> t;
  auto full = [&](db::Columns& c) { c.Long(k).Text(t).Long(n); };
  ASSERT_EQ(db::ReadOne(Row(2), full, [] {}), 0);
  EXPECT_EQ(n, 20);
  // Fewer columns: the third one is no longer written.
  ASSERT_EQ(db::ReadOne(
                Row(3), [&](db::Columns& c) { c.Long(k).Text(t); }, [] {}),
            0);
  EXPECT_EQ(k, 3);
  EXPECT_STREQ(t.c_str(), "r3");
  EXPECT_EQ(n, 20);
  // A failing statement, no row, a write and a read inside a delivery leave
  // the handle fit for the next read.
  EXPECT_EQ(db::ReadLong(db::SqlText("SELECT k FROM %s.NoSuchTable", {db::Schema()}), other), 208);
  EXPECT_EQ(db::ReadOne(Row(9), full, [] {}), 100);
  EXPECT_EQ(db::Write(db::SqlText("UPDATE %s.CurBind SET n = 99 WHERE k = 4", {db::Schema()})), 0);
  ASSERT_EQ(db::ReadOne(Row(4), full, [&] { EXPECT_EQ(db::ReadLong(Row(1), other), 0); }), 0);
  EXPECT_EQ(k, 4);
  EXPECT_EQ(n, 99);
  EXPECT_EQ(other, 1);
}

}  // namespace
