#include "dialect/parameterise.h"

#include <charconv>
#include <cstring>

namespace tsq {
namespace {

// A marker stands for lifted literal n in the tokens of a shape; as a string
// token it renders as '\x01n\x01', which no statement text contains.
constexpr char kMarker = '\x01';
// Keys of statements compiled as written begin with this byte.
constexpr char kRawKeyLead = '\x02';

// A marker '\x01n\x01' in a key or in its translation.
struct Marker {
  size_t begin = std::string_view::npos;  // npos: none from there on
  size_t end = std::string_view::npos;    // just past it; npos: not closed
  std::string_view number;                // n
};

// The first marker of `text` at or after `from`.
Marker FindMarker(std::string_view text, size_t from) {
  Marker m;
  // Looked for by its own byte, which only markers hold.
  size_t at = from < text.size() ? text.find(kMarker, from + 1) : std::string_view::npos;
  while (at != std::string_view::npos && text[at - 1] != '\'') at = text.find(kMarker, at + 1);
  if (at == std::string_view::npos) return m;
  m.begin = at - 1;
  const size_t close = text.find(kMarker, at + 1);
  if (close == std::string_view::npos || close + 1 == text.size() || text[close + 1] != '\'') {
    return m;
  }
  m.number = text.substr(at + 1, close - at - 1);
  m.end = close + 2;
  return m;
}

// Calls whose arguments at these positions decide the translation.
struct FormArgument {
  std::string_view function;
  size_t argument;
};
constexpr FormArgument kFormArguments[] = {
    {"CONVERT", 0},  {"CONVERT", 2},  {"DATEADD", 0},   {"DATEDIFF", 0},
    {"DATEPART", 0}, {"DATENAME", 0}, {"DATETRUNC", 0},
};

constexpr std::string_view kTypesWithLength[] = {
    "CHAR",    "VARCHAR", "NCHAR", "NVARCHAR",  "BINARY",         "VARBINARY",
    "DECIMAL", "NUMERIC", "FLOAT", "DATETIME2", "DATETIMEOFFSET", "TIME"};

// A bare word of the text equal to `upper` (given in capitals).
bool WordIs(std::string_view sql, const RawToken& t, std::string_view upper) {
  if (t.kind != TokenKind::kWord || t.end - t.begin != upper.size()) return false;
  for (size_t i = 0; i < upper.size(); ++i) {
    const char c = sql[t.begin + i];
    if ((c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c) != upper[i]) return false;
  }
  return true;
}

bool SymbolIs(std::string_view sql, const RawToken& t, char symbol) {
  return t.kind == TokenKind::kSymbol && t.end - t.begin == 1 && sql[t.begin] == symbol;
}

bool IsTypeWithLength(std::string_view sql, const RawToken& t) {
  for (std::string_view name : kTypesWithLength) {
    if (WordIs(sql, t, name)) return true;
  }
  return false;
}

bool IsFormArgument(const LiteralScope& g) {
  if (g.function.empty()) return false;
  for (const FormArgument& f : kFormArguments) {
    if (g.argument != f.argument || g.function.size() != f.function.size()) continue;
    bool same = true;
    for (size_t i = 0; same && i < f.function.size(); ++i) {
      const char c = g.function[i];
      same = (c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c) == f.function[i];
    }
    if (same) return true;
  }
  return false;
}

bool ParseLiteral(std::string_view sql, const RawToken& t, Literal& out) {
  const size_t begin = t.begin + (t.national ? 1 : 0);
  const std::string_view raw = sql.substr(begin, t.end - begin);
  out.raw = raw;
  if (t.kind == TokenKind::kString) {
    for (char c : raw) {
      if (c == '\0' || c == kMarker || c == kRawKeyLead) return false;
    }
    out.kind = Literal::Kind::kText;
    if (raw.find('\'', 1) + 1 == raw.size()) {
      out.text.assign(raw.data() + 1, raw.size() - 2);
    } else {
      out.text = RawTokenText(sql, t);
    }
    return true;
  }
  if (t.kind != TokenKind::kNumber || raw.empty() || raw.size() > 18) return false;
  size_t dots = 0;
  for (char c : raw) {
    if (c == '.') {
      ++dots;
    } else if (c < '0' || c > '9') {
      return false;  // hexadecimal, exponents and anything else stay as written
    }
  }
  if (dots > 1 || raw.front() == '.' || raw.back() == '.') return false;
  // At most 18 digits: an integer always fits.
  const char* end = raw.data() + raw.size();
  if (dots == 0) {
    out.kind = Literal::Kind::kInteger;
    return std::from_chars(raw.data(), end, out.integer).ptr == end;
  }
  out.kind = Literal::Kind::kReal;
  return std::from_chars(raw.data(), end, out.real).ptr == end;
}

// The words the scan of a statement looks out for.
enum class Keyword { kNone, kSelect, kBy, kOrderOrGroup, kTop, kEndsSelectList, kEndsOrderList };

Keyword Classify(std::string_view sql, const RawToken& t) {
  if (t.kind != TokenKind::kWord) return Keyword::kNone;
  const size_t length = t.end - t.begin;
  if (length < 2 || length > 9) return Keyword::kNone;
  // Looked up by the word's first letter: most words are none.
  auto is = [&](std::string_view word) { return word.size() == length && WordIs(sql, t, word); };
  const char first = sql[t.begin];
  switch (first >= 'a' && first <= 'z' ? static_cast<char>(first - 32) : first) {
    case 'B':
      return is("BY") ? Keyword::kBy : Keyword::kNone;
    case 'E':
      return is("EXCEPT") ? Keyword::kEndsOrderList : Keyword::kNone;
    case 'F':
      if (is("FROM")) return Keyword::kEndsSelectList;
      return is("FOR") ? Keyword::kEndsOrderList : Keyword::kNone;
    case 'G':
      return is("GROUP") ? Keyword::kOrderOrGroup : Keyword::kNone;
    case 'H':
      return is("HAVING") ? Keyword::kEndsOrderList : Keyword::kNone;
    case 'I':
      return is("INTERSECT") ? Keyword::kEndsOrderList : Keyword::kNone;
    case 'L':
      return is("LIMIT") ? Keyword::kEndsOrderList : Keyword::kNone;
    case 'O':
      if (is("ORDER")) return Keyword::kOrderOrGroup;
      return is("OFFSET") || is("OPTION") ? Keyword::kEndsOrderList : Keyword::kNone;
    case 'S':
      return is("SELECT") ? Keyword::kSelect : Keyword::kNone;
    case 'T':
      return is("TOP") ? Keyword::kTop : Keyword::kNone;
    case 'U':
      return is("UNION") ? Keyword::kEndsOrderList : Keyword::kNone;
    case 'W':
      return is("WHERE") ? Keyword::kEndsSelectList : Keyword::kNone;
    default:
      return Keyword::kNone;
  }
}

}  // namespace

bool ShapeStatement(std::string_view tsql, ShapedStatement& out) {
  out.key.clear();
  out.literals.clear();
  // Keys are texts with markers (and raw keys start with \x02): a text with
  // those bytes of its own could pass for another statement's key.
  if (std::memchr(tsql.data(), '\x01', tsql.size()) != nullptr ||
      std::memchr(tsql.data(), '\x02', tsql.size()) != nullptr) {
    return false;
  }
  size_t count = 0;  // literals lifted so far
  SqlError error;
  size_t pos = 0;
  RawToken t, prev;
  if (!NextRawToken(tsql, pos, t, error)) return error.native == 0;
  const bool query = WordIs(tsql, t, "SELECT") || WordIs(tsql, t, "WITH") || SymbolIs(tsql, t, '(');
  const bool change =
      WordIs(tsql, t, "INSERT") || WordIs(tsql, t, "UPDATE") || WordIs(tsql, t, "DELETE");
  std::vector<LiteralScope>& groups = out.groups;
  groups.assign(1, LiteralScope{});
  size_t copied = 0;  // tsql before this offset is in the key
  bool more = true;
  Keyword kw = Keyword::kNone, prev_kw = Keyword::kNone, prev2_kw = Keyword::kNone;
  for (size_t i = 0; more;
       ++i, prev = t, prev2_kw = prev_kw, prev_kw = kw, more = NextRawToken(tsql, pos, t, error)) {
    LiteralScope& g = groups.back();
    kw = Keyword::kNone;
    if (t.kind == TokenKind::kSymbol) {
      if (SymbolIs(tsql, t, '(')) {
        LiteralScope inner;
        if (i > 0 && prev.kind == TokenKind::kWord) {
          inner.function = tsql.substr(prev.begin, prev.end - prev.begin);
          inner.type_length = IsTypeWithLength(tsql, prev);
        }
        inner.select_list = g.select_list;
        groups.push_back(inner);
      } else if (SymbolIs(tsql, t, ')')) {
        if (groups.size() > 1) groups.pop_back();
      } else if (SymbolIs(tsql, t, ',')) {
        ++g.argument;
      }
      continue;
    }
    if (t.kind == TokenKind::kWord) {
      kw = Classify(tsql, t);
      if (kw == Keyword::kSelect) {
        g.select_list = query;
      } else if (kw == Keyword::kBy && prev_kw == Keyword::kOrderOrGroup) {
        g.order_list = true;
      } else if (kw == Keyword::kEndsOrderList || kw == Keyword::kEndsSelectList) {
        g.order_list = false;
        if (kw == Keyword::kEndsSelectList) g.select_list = false;
      }
      continue;
    }
    if (t.kind != TokenKind::kString && t.kind != TokenKind::kNumber) continue;
    if (!(query || change) || g.select_list || g.order_list || g.type_length || count >= 999 ||
        IsFormArgument(g)) {
      continue;
    }
    const bool after_top =
        prev_kw == Keyword::kTop || (SymbolIs(tsql, prev, '(') && prev2_kw == Keyword::kTop);
    if (after_top) continue;
    if (out.literals.size() <= count) out.literals.emplace_back();
    if (!ParseLiteral(tsql, t, out.literals[count])) continue;
    ++count;
    out.key.append(tsql, copied, t.begin - copied);
    out.key += '\'';
    out.key += kMarker;
    out.key += std::to_string(count);
    out.key += kMarker;
    out.key += '\'';
    copied = t.end;
  }
  out.literals.resize(count);
  if (error.native != 0) return false;
  out.key.append(tsql, copied, std::string_view::npos);
  return true;
}

bool MatchShape(std::string_view key, std::string_view tsql, ShapedStatement& out) {
  size_t count = 0;
  size_t k = 0, b = 0;  // where the rest of the key and of the text begin
  for (;;) {
    const Marker m = FindMarker(key, k);
    const size_t same = (m.begin == std::string_view::npos ? key.size() : m.begin) - k;
    if (tsql.size() - b < same || std::memcmp(tsql.data() + b, key.data() + k, same) != 0) {
      return false;
    }
    b += same;
    if (m.begin == std::string_view::npos) break;
    // The token before a lifted literal ends whatever the literal is: the
    // text scans as the key's own text did up to here.
    if (m.end == std::string_view::npos || b == 0 || !EndsBeforeLiteral(tsql[b - 1])) {
      return false;
    }
    k = m.end;
    RawToken t;
    SqlError error;
    size_t pos = b;
    if (!NextRawToken(tsql, pos, t, error) || t.begin != b ||
        (t.kind != TokenKind::kString && t.kind != TokenKind::kNumber)) {
      return false;
    }
    if (out.literals.size() <= count) out.literals.emplace_back();
    Literal& literal = out.literals[count];
    if (!ParseLiteral(tsql, t, literal)) return false;  // ShapeStatement keeps it as written
    ++count;
    b = t.end;
  }
  if (b != tsql.size() || count == 0) return false;
  out.literals.resize(count);
  return true;
}

size_t FirstLiteralAt(std::string_view key) {
  return FindMarker(key, 0).begin;
}

bool BindableTranslation(const std::string& shaped, const std::vector<Literal>& literals,
                         const std::string& plain, std::string& out) {
  out.clear();
  std::string check;
  size_t pos = 0;
  while (pos < shaped.size()) {
    const Marker m = FindMarker(shaped, pos);
    if (m.begin == std::string::npos) break;
    if (m.end == std::string::npos) return false;
    size_t n = 0;
    std::from_chars(m.number.data(), m.number.data() + m.number.size(), n);
    if (n == 0 || n > literals.size()) return false;
    out.append(shaped, pos, m.begin - pos);
    check.append(shaped, pos, m.begin - pos);
    out += '?';
    out += m.number;
    check += literals[n - 1].raw;
    pos = m.end;
  }
  out.append(shaped, pos, std::string::npos);
  check.append(shaped, pos, std::string::npos);
  return check == plain && out.find(kMarker) == std::string::npos;
}

}  // namespace tsq
