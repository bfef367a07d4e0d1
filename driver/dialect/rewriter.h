// Rewrites the T-SQL of a token range into SQLite SQL: convert(), cast(),
// dateadd(), datediff(), getdate() and CURRENT_TIMESTAMP (local time),
// isnull(), len(), substring(), charindex(), year()/month()/day(),
// SELECT TOP n, table hints WITH (NOLOCK), @@IDENTITY and @@ROWCOUNT.
// Everything else passes unchanged, so SQLite judges it. Rewrites nested
// deeper than kMaxRewriteNesting fail with SQL Server's error 191 instead of
// exhausting the stack.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "dialect/dialect.h"
#include "dialect/sql_type.h"
#include "dialect/tokenizer.h"

namespace tsq {

using TokenRange = std::pair<size_t, size_t>;  // [first, second)

inline constexpr int kMaxRewriteNesting = 100;

class Rewriter {
 public:
  // `tokens` must not change while the rewriter is in use.
  explicit Rewriter(const std::vector<Token>& tokens);

  // SQLite text of tokens [begin, end), without a leading blank.
  std::string Render(size_t begin, size_t end);

  // Index of the ")" that closes the "(" at `open`, searched before `end`;
  // std::string::npos when it is not closed there.
  size_t MatchParen(size_t open, size_t end) const;

  // The comma-separated parts of [begin, end) at parenthesis depth 0.
  std::vector<TokenRange> SplitTopLevel(size_t begin, size_t end) const;

  // The first error met (an unknown type, a date part, an undeclared variable).
  const std::optional<SqlError>& error() const { return error_; }
  void SetError(SqlError error);

  // `expr` converted to `type` as convert(type, expr, style) does; style "NULL" for none.
  static std::string ConvertCall(const SqlType& type, const std::string& expr,
                                 const std::string& style);

 private:
  // Rewrites the construct at `i` into `out` and sets `next`; false when the
  // token at `i` passes as it is.
  bool RewriteAt(size_t i, size_t end, std::string& out, size_t& next);
  bool RewriteFunction(size_t i, size_t close, std::string& out);
  bool RewriteConvert(const std::vector<TokenRange>& args, std::string& out);
  bool RewriteCast(const TokenRange& arg, std::string& out);
  bool RewriteTop(size_t i, size_t end, std::string& out, size_t& next);
  bool RewriteTableHint(size_t i, size_t end, size_t& next) const;
  std::optional<std::string> DatePartArgument(const TokenRange& range, const char* function);

  const std::vector<Token>& tokens_;
  std::vector<size_t> close_of_;  // per "(": index of its ")", npos when unclosed
  int nesting_ = 0;
  std::optional<SqlError> error_;
};

}  // namespace tsq
