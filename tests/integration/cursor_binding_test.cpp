// A cursor binds only what changed since its previous row: each row must
// still land in the buffers of the current Read, and a column the current
// Read leaves out must not be written.
#include <gtest/gtest.h>

#include <string>

#include "db/connection.h"
#include "db/sql_text.h"
#include "db/statement.h"
#include "in_process.h"

namespace {

class CursorBinding : public mv::InProcess {};

TEST_F(CursorBinding, EveryReadDeliversIntoItsOwnBuffers) {
  db_.Exec(std::string("CREATE TABLE ") + db::Schema() +
           ".CurBind (k int NOT NULL PRIMARY KEY, t varchar(10) NULL, n int NULL)");
  for (int k = 1; k <= 4; ++k) {
    db_.Exec(db::SqlText("INSERT INTO %s.CurBind (k, t, n) VALUES (%d, 'r%d', %d)",
                         {db::Schema(), k, k, 10 * k}));
  }
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
}

}  // namespace
