// T-SQL DDL in SQLite's terms. CREATE TABLE maps the types onto SQLite's
// (texts TEXT-affinity COLLATE RTRIM with a length check, integers INTEGER,
// floating point REAL, dates TEXT "yyyy-mm-dd hh:mm:ss" with a form check)
// and drops what SQLite has no use for (CLUSTERED, ON [PRIMARY], WITH
// options, collations). CREATE INDEX moves the schema from the table to the
// index name, as SQLite wants it. DROP INDEX takes SQL Server's forms.
//
// The generated checks are named tsq_len_<column> (the text is longer than
// its declared length, blanks at its end aside) and tsq_dt_<column> (not a
// date-time in the stored form); error mapping knows them by these names.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "dialect/rewriter.h"

namespace tsq {

// Each takes the whole statement's tokens; `error` is set on failure.
std::string TranslateCreateTable(Rewriter& rewriter, const std::vector<Token>& tokens);
std::string TranslateCreateIndex(Rewriter& rewriter, const std::vector<Token>& tokens);
std::string TranslateDropIndex(Rewriter& rewriter, const std::vector<Token>& tokens);
std::string TranslateAlterTable(Rewriter& rewriter, const std::vector<Token>& tokens);

// A dotted name starting at `pos`: its parts, and `pos` moved past it.
std::vector<std::string> ReadDottedName(const std::vector<Token>& tokens, size_t& pos);
std::string RenderDottedName(const std::vector<std::string>& parts);

}  // namespace tsq
