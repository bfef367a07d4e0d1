// The types of a query's result columns as its translation knows them, for
// columns the engine declares no type for (expressions): convert() and cast()
// give their target type (convert(char(19), ..) is char(19)), count() an int,
// len() and charindex() an int, getdate() a datetime. Read from the SQLite
// text alone, never from values, so one text is always described alike.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tsq {

// One declared type per item of the select list of `sqlite_sql` (a type name
// in SQLite's declared-type style, e.g. "char(19)"; empty when the item's
// type is not known from its text). Empty when the list cannot be read item
// by item (not a SELECT, a "*" in it, or a text that does not tokenize).
std::vector<std::string> SelectListTypes(std::string_view sqlite_sql);

}  // namespace tsq
