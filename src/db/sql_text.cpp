#include "db/sql_text.h"

#include <cstdio>

namespace db {

std::string EscapeSqlText(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 2);
  for (char c : text) {
    out += c;
    if (c == '\'') out += '\'';
  }
  return out;
}

std::string SqlText(const char* format, std::initializer_list<SqlArg> args) {
  std::string out;
  if (format == nullptr) return out;
  const SqlArg* next = args.begin();
  const SqlArg* end = args.end();
  char num[400];  // room for the widest %f of a double
  for (const char* p = format; *p != '\0'; ++p) {
    if (*p != '%') {
      out += *p;
      continue;
    }
    ++p;
    if (*p == '%') {
      out += '%';
      continue;
    }
    SqlArg::Kind want;
    if (*p == 's') {
      want = SqlArg::Kind::kText;
    } else if (*p == 'd') {
      want = SqlArg::Kind::kInt;
    } else if (p[0] == 'l' && p[1] == 'd') {
      want = SqlArg::Kind::kInt;
      ++p;
    } else if (*p == 'f') {
      want = SqlArg::Kind::kReal;
    } else {
      return std::string();
    }
    if (next == end || next->kind != want) return std::string();
    switch (want) {
      case SqlArg::Kind::kText:
        out += EscapeSqlText(next->s);
        break;
      case SqlArg::Kind::kInt:
        std::snprintf(num, sizeof num, "%lld", static_cast<long long>(next->i));
        out += num;
        break;
      case SqlArg::Kind::kReal:
        std::snprintf(num, sizeof num, "%f", next->d);
        out += num;
        break;
    }
    ++next;
  }
  if (next != end) return std::string();
  return out;
}

}  // namespace db
