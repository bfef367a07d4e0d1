#include "db/sql_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace db {

namespace {

// Appends `text` to `out` with every single quote doubled.
void AppendEscaped(std::string& out, std::string_view text) {
  size_t from = 0;
  for (size_t quote = text.find('\''); quote != std::string_view::npos;
       quote = text.find('\'', from)) {
    out.append(text.data() + from, quote + 1 - from);
    out += '\'';
    from = quote + 1;
  }
  out.append(text.data() + from, text.size() - from);
}

// Appends `v` as "%f" writes it (six decimals), without going through stdio
// for finite values.
void AppendReal(std::string& out, double v) {
  char num[400];  // room for the widest %f of a double
  if (std::isfinite(v)) {
    const std::to_chars_result r =
        std::to_chars(num, num + sizeof num, v, std::chars_format::fixed, 6);
    if (r.ec == std::errc()) {
      out.append(num, r.ptr);
      return;
    }
  }
  const int n = std::snprintf(num, sizeof num, "%f", v);
  if (n > 0) out.append(num, std::min<size_t>(static_cast<size_t>(n), sizeof num - 1));
}

}  // namespace

std::string EscapeSqlText(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 2);
  AppendEscaped(out, text);
  return out;
}

std::string SqlText(const char* format, std::initializer_list<SqlArg> args) {
  std::string out;
  if (format == nullptr) return out;
  const SqlArg* next = args.begin();
  const SqlArg* end = args.end();
  // Room for the whole text at once: the format, every text argument and 24
  // characters for each number (more only for quotes doubled or a huge %f).
  const size_t format_size = std::strlen(format);
  const char* const format_end = format + format_size;
  size_t room = format_size;
  for (const SqlArg& a : args) room += a.kind == SqlArg::Kind::kText ? a.s.size() : 24;
  out.reserve(room);
  for (const char* p = format; *p != '\0'; ++p) {
    if (*p != '%') {
      const char* run = p;
      const void* percent = std::memchr(p, '%', static_cast<size_t>(format_end - p));
      p = percent != nullptr ? static_cast<const char*>(percent) : format_end;
      out.append(run, static_cast<size_t>(p - run));
      --p;
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
        AppendEscaped(out, next->s);
        break;
      case SqlArg::Kind::kInt: {
        char num[24];
        const std::to_chars_result r = std::to_chars(num, num + sizeof num, next->i);
        out.append(num, r.ptr);
        break;
      }
      case SqlArg::Kind::kReal:
        AppendReal(out, next->d);
        break;
    }
    ++next;
  }
  if (next != end) return std::string();
  return out;
}

}  // namespace db
