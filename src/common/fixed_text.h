// FixedText<N>: a NUL-terminated text field of N bytes, that is at most N-1
// characters. Every copy into it cuts at the capacity, exactly like the
// bounded copies of the record layouts; the field is a plain char array, so
// records made of such fields stay trivially copyable and bind straight to
// ODBC columns (SQL_C_CHAR with buffer length N).
#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

template <std::size_t N>
struct FixedText {
  static_assert(N >= 1, "a text field needs room for its terminator");
  static constexpr std::size_t kCapacity = N;

  char buf[N] = {};

  // Copies at most N-1 characters of `s` (and never past an embedded NUL).
  void set(std::string_view s) {
    std::size_t n = s.size() < N - 1 ? s.size() : N - 1;
    if (n == 0) {  // also keeps a null data() of an empty view away from memchr
      buf[0] = '\0';
      return;
    }
    const void* nul = std::memchr(s.data(), '\0', n);
    if (nul != nullptr) n = static_cast<std::size_t>(static_cast<const char*>(nul) - s.data());
    std::memmove(buf, s.data(), n);
    buf[n] = '\0';
  }
  void set(const char* s) { set(std::string_view(s == nullptr ? "" : s)); }
  template <std::size_t M>
  void set(const FixedText<M>& other) {
    set(other.view());
  }
  // Copies at most `count` characters of `s`, then cuts at the capacity.
  void set_prefix(std::string_view s, std::size_t count) {
    set(s.substr(0, count < s.size() ? count : s.size()));
  }
  // Ends the text at the first occurrence of `c`, if there is one.
  void cut_at(char c) {
    char* p = static_cast<char*>(std::memchr(buf, c, length()));
    if (p != nullptr) *p = '\0';
  }

  void clear() { std::memset(buf, 0, N); }
  bool empty() const { return buf[0] == '\0'; }
  std::size_t length() const { return strnlen(buf, N); }
  const char* c_str() const { return buf; }
  char* data() { return buf; }
  std::string_view view() const { return std::string_view(buf, length()); }

  bool operator==(std::string_view s) const { return view() == s; }
  template <std::size_t M>
  bool operator==(const FixedText<M>& o) const {
    return view() == o.view();
  }
};
