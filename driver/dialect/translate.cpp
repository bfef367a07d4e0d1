// Translate() and RegisterFunctions(): classifies the statement, hands DDL
// to its own translation and rewrites every other statement's expressions.
#include <sqlite3.h>

#include "dialect/ddl.h"
#include "dialect/dialect.h"
#include "dialect/functions.h"
#include "dialect/rewriter.h"
#include "dialect/tokenizer.h"

namespace tsq {
namespace {

bool WordAt(const std::vector<Token>& tokens, size_t pos, std::string_view upper) {
  return pos < tokens.size() && IsWord(tokens[pos], upper);
}

StatementKind KindOf(const std::vector<Token>& tokens) {
  if (WordAt(tokens, 0, "SELECT") || (!tokens.empty() && IsSymbol(tokens[0], "("))) {
    return StatementKind::kQuery;
  }
  if (WordAt(tokens, 0, "WITH")) {
    // A common table expression ahead of a SELECT or of a change.
    int depth = 0;
    for (const Token& t : tokens) {
      if (IsSymbol(t, "(")) ++depth;
      if (IsSymbol(t, ")")) --depth;
      if (depth == 0 && (IsWord(t, "INSERT") || IsWord(t, "UPDATE") || IsWord(t, "DELETE"))) {
        return StatementKind::kModify;
      }
    }
    return StatementKind::kQuery;
  }
  if (WordAt(tokens, 0, "INSERT") || WordAt(tokens, 0, "UPDATE") || WordAt(tokens, 0, "DELETE") ||
      WordAt(tokens, 0, "MERGE") || WordAt(tokens, 0, "REPLACE")) {
    return StatementKind::kModify;
  }
  if (WordAt(tokens, 0, "CREATE") || WordAt(tokens, 0, "DROP") || WordAt(tokens, 0, "ALTER") ||
      WordAt(tokens, 0, "TRUNCATE")) {
    return StatementKind::kDdl;
  }
  return StatementKind::kOther;
}

// SQL Server lets INSERT go without INTO and DELETE without FROM.
void AddOptionalKeyword(std::vector<Token>& tokens) {
  const char* missing = nullptr;
  if (WordAt(tokens, 0, "INSERT") && !WordAt(tokens, 1, "INTO")) missing = "INTO";
  if (WordAt(tokens, 0, "DELETE") && !WordAt(tokens, 1, "FROM")) missing = "FROM";
  if (missing == nullptr || tokens.size() < 2) return;
  Token word;
  word.kind = TokenKind::kWord;
  word.text = missing;
  word.space_before = true;
  tokens.insert(tokens.begin() + 1, word);
}

std::string TranslateStatement(Rewriter& rewriter, std::vector<Token>& tokens) {
  if (WordAt(tokens, 0, "CREATE")) {
    if (WordAt(tokens, 1, "TABLE")) return TranslateCreateTable(rewriter, tokens);
    size_t pos = 1;
    if (WordAt(tokens, pos, "UNIQUE")) ++pos;
    if (WordAt(tokens, pos, "CLUSTERED") || WordAt(tokens, pos, "NONCLUSTERED")) ++pos;
    if (WordAt(tokens, pos, "INDEX")) return TranslateCreateIndex(rewriter, tokens);
  }
  if (WordAt(tokens, 0, "DROP") && WordAt(tokens, 1, "INDEX")) {
    return TranslateDropIndex(rewriter, tokens);
  }
  if (WordAt(tokens, 0, "ALTER") && WordAt(tokens, 1, "TABLE")) {
    return TranslateAlterTable(rewriter, tokens);
  }
  if (WordAt(tokens, 0, "TRUNCATE") && WordAt(tokens, 1, "TABLE")) {
    return "DELETE FROM " + rewriter.Render(2, tokens.size());
  }
  return rewriter.Render(0, tokens.size());
}

}  // namespace

Translation Translate(std::string_view tsql) {
  TokenizeResult tokenized = Tokenize(tsql);
  if (!tokenized.ok) {
    Translation result;
    result.error = tokenized.error;
    return result;
  }
  Translation result;
  std::vector<Token>& tokens = tokenized.tokens;
  while (!tokens.empty() && IsSymbol(tokens.back(), ";")) tokens.pop_back();
  for (const Token& t : tokens) {
    if (IsSymbol(t, ";")) {
      // Running only the first would silently drop the others.
      result.error = {kOneStatementNative, "HY000", kOneStatementMessage};
      return result;
    }
  }
  result.kind = KindOf(tokens);
  if (WordAt(tokens, 0, "CREATE") && WordAt(tokens, 1, "SCHEMA")) {
    const bool named = tokens.size() >= 3 && (tokens[2].kind == TokenKind::kWord ||
                                              tokens[2].kind == TokenKind::kQuotedName);
    const bool rest_ok =
        tokens.size() == 3 || (tokens.size() == 5 && WordAt(tokens, 3, "AUTHORIZATION"));
    if (!named || !rest_ok) {
      const size_t at = named ? 3 : std::min<size_t>(2, tokens.size() - 1);
      result.error = {102, "42000", "Incorrect syntax near '" + tokens[at].text + "'."};
      return result;
    }
    result.kind = StatementKind::kCreateSchema;
    result.schema = tokens[2].text;
    result.ok = true;
    return result;
  }
  result.counts_rows = result.kind == StatementKind::kModify ||
                       (WordAt(tokens, 0, "TRUNCATE") && WordAt(tokens, 1, "TABLE"));
  result.no_data_without_rows = WordAt(tokens, 0, "UPDATE") || WordAt(tokens, 0, "DELETE");
  AddOptionalKeyword(tokens);
  Rewriter rewriter(tokens);
  std::string sql = TranslateStatement(rewriter, tokens);
  if (rewriter.error()) {
    result.error = *rewriter.error();
    return result;
  }
  result.sqlite_sql = std::move(sql);
  result.ok = true;
  return result;
}

void RegisterFunctions(sqlite3* db) {
  RegisterDialectFunctions(db);
  // "x" names a column, never a string, as with SQL Server's QUOTED_IDENTIFIER ON.
  sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
}

}  // namespace tsq
