#include "api_util.h"

#include <cstring>

namespace tsqlite {

std::string_view InTextView(const SQLCHAR* text, SQLINTEGER length) {
  if (text == nullptr) return std::string_view();
  const char* p = reinterpret_cast<const char*>(text);
  if (length == SQL_NTS || length < 0) return std::string_view(p);
  return std::string_view(p, static_cast<size_t>(length));
}

std::string InText(const SQLCHAR* text, SQLINTEGER length) {
  return std::string(InTextView(text, length));
}

namespace {

bool CopyText(std::string_view value, SQLPOINTER buffer, SQLLEN buffer_length) {
  if (buffer_length <= 0) return false;
  const size_t room = static_cast<size_t>(buffer_length) - 1;
  const size_t n = value.size() < room ? value.size() : room;
  std::memcpy(buffer, value.data(), n);
  static_cast<char*>(buffer)[n] = '\0';
  return n == value.size();
}

}  // namespace

SQLRETURN OutText(std::string_view value, SQLPOINTER buffer, SQLLEN buffer_length,
                  SQLSMALLINT* length_out, Diagnostics& diag) {
  if (length_out != nullptr) *length_out = static_cast<SQLSMALLINT>(value.size());
  if (buffer == nullptr) return SQL_SUCCESS;
  if (!CopyText(value, buffer, buffer_length)) {
    diag.Add("01004", 0, "String data, right truncated");
    return SQL_SUCCESS_WITH_INFO;
  }
  return SQL_SUCCESS;
}

SQLRETURN OutTextInt(std::string_view value, SQLPOINTER buffer, SQLLEN buffer_length,
                     SQLINTEGER* length_out, Diagnostics& diag) {
  if (length_out != nullptr) *length_out = static_cast<SQLINTEGER>(value.size());
  if (buffer == nullptr) return SQL_SUCCESS;
  if (!CopyText(value, buffer, buffer_length)) {
    diag.Add("01004", 0, "String data, right truncated");
    return SQL_SUCCESS_WITH_INFO;
  }
  return SQL_SUCCESS;
}

SQLRETURN Error(Diagnostics& diag, std::string_view sqlstate, std::string_view message,
                int32_t native) {
  diag.Add(sqlstate, native, message);
  return SQL_ERROR;
}

}  // namespace tsqlite
