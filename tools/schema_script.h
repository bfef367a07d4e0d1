// Splitting of a T-SQL script in the sqlcmd batch format into statements.
//
// SchemaBatches replaces every "$(SCHEMA)" by `schema`, splits the text at
// lines that hold only "GO" (any case, surrounding blanks allowed), removes
// lines that are wholly "--" comments, and returns the remaining batches in
// script order without leading and trailing blank lines. Batches that are
// empty or held only comments are dropped. Windows line ends are accepted.
#pragma once

#include <string>
#include <vector>

std::vector<std::string> SchemaBatches(const std::string& script_text, const std::string& schema);
