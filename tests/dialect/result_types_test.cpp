#include "dialect/result_types.h"

#include <gtest/gtest.h>

#include "dialect/dialect.h"

namespace tsq {
namespace {

// The types a T-SQL query's translation declares for its select list.
std::vector<std::string> TypesOf(const std::string& tsql) {
  Translation t = Translate(tsql);
  EXPECT_TRUE(t.ok) << tsql;
  return SelectListTypes(t.sqlite_sql);
}

TEST(ResultTypes, TranslatedExpressionsKeepTheirTypes) {
  using V = std::vector<std::string>;
  EXPECT_EQ(TypesOf("SELECT convert(char(19), d, 120) AS a, convert(varchar(5), k) b, "
                    "cast(k AS varchar) FROM x.t"),
            (V{"char(19)", "varchar(5)", "varchar(30)"}));
  EXPECT_EQ(TypesOf("SELECT DISTINCT count(*), convert(datetime, s), cast(s AS smallint), "
                    "convert(decimal(9,2), k), len(s), getdate(), year(d) FROM x.t"),
            (V{"int", "datetime", "SMALLINT", "float", "int", "datetime", "int"}));
  // Plain columns and unknown expressions are left to the engine's declaration.
  EXPECT_EQ(TypesOf("SELECT TOP 3 t.k, k + 1 AS n, 'lit', max(k) FROM x.t"), (V{"", "", "", ""}));
  // Lists that do not name every column, and other statements.
  EXPECT_TRUE(TypesOf("SELECT * FROM x.t").empty());
  EXPECT_TRUE(TypesOf("SELECT t.*, count(*) FROM x.t").empty());
  EXPECT_TRUE(TypesOf("UPDATE x.t SET k = 1").empty());
}

}  // namespace
}  // namespace tsq
