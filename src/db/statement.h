// The statement pattern that every table routine follows. A table routine is
// its SQL text (built with SqlText), its column bindings and its result:
//
//   single read   ReadOne(sql, bind, deliver)   exec, bind, one fetch, release
//   write         Write(sql)                    insert / update / delete
//   cursor        Cursor::Open / Read / Close   one process-wide Cursor per family
//
// Result codes: 0 success (a row for reads), 100 no (more) rows or nothing
// affected, 1 success with information (writes and opens pass it on), -1 no
// statement handle / cursor not open / failure without a native code, any
// other value the database's native error code of the failed call.
//
// Columns are bound to the caller's working copy through Columns; every
// binding shares one length/indicator variable that is never read, so a NULL
// column leaves its field as it was. `deliver` runs only when a row arrived;
// it converts work fields and copies the working copy back to the caller.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <cstdint>
#include <string>
#include <utility>

#include "common/fixed_text.h"

namespace db {

// How a failure without a native error code is reported.
enum class ZeroNative { kOdbcResult, kMinusOne };

// Owns one statement handle and releases it when it goes out of scope.
class Statement {
 public:
  Statement() = default;
  ~Statement() { Release(); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  Statement(Statement&& o) noexcept : h_(std::exchange(o.h_, SQLHSTMT{SQL_NULL_HSTMT})) {}
  Statement& operator=(Statement&& o) noexcept;

  // Allocates a handle on the connection; a cursor also gets a
  // non-scrollable cursor with lock concurrency, so that it stays positioned
  // while other statements run on the same connection.
  bool Allocate(bool as_cursor);
  SQLRETURN Execute(const std::string& sql);
  SQLRETURN Fetch();
  // Reads the handle's diagnostics into LastDiag() and returns the result
  // code that the failed call `rc` reports.
  int32_t Failure(SQLRETURN rc, ZeroNative rule);
  void Release();

  SQLHSTMT handle() const { return h_; }
  bool valid() const { return h_ != SQL_NULL_HSTMT; }

 private:
  SQLHSTMT h_ = SQL_NULL_HSTMT;
};

// The columns a handle has bound: what a cursor's next Read need not bind
// again. Up to kSlots columns are remembered; any beyond are always bound.
struct BoundColumns {
  struct Slot {
    SQLSMALLINT c_type = 0;
    SQLPOINTER target = nullptr;
    SQLLEN capacity = 0;
  };
  static constexpr SQLUSMALLINT kSlots = 64;
  Slot slots[kSlots];
  SQLUSMALLINT count = 0;  // columns bound on the handle, 1..count

  void Forget() { count = 0; }
};

// Binds result columns 1, 2, ... in call order. With `bound` (the columns the
// handle already has, kept up to date) a column bound the same way as before
// is not bound again; Finish() then unbinds the columns this round left out.
class Columns {
 public:
  explicit Columns(SQLHSTMT h, BoundColumns* bound = nullptr) : h_(h), bound_(bound) {}
  template <std::size_t N>
  Columns& Text(FixedText<N>& field) {
    return Text(field.data(), static_cast<SQLLEN>(N));
  }
  Columns& Text(char* buffer, SQLLEN capacity);
  Columns& Long(int32_t& value);
  Columns& Double(double& value);
  SQLUSMALLINT count() const { return n_; }
  void Finish();

 private:
  void Bind(SQLSMALLINT c_type, SQLPOINTER target, SQLLEN capacity);

  SQLHSTMT h_;
  BoundColumns* bound_;
  SQLUSMALLINT n_ = 0;
};

// True for results of SQLExecDirect that are not a failure (SQL_NO_DATA is
// what an update or delete without a matching row returns).
inline bool ExecOk(SQLRETURN rc) {
  return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO || rc == SQL_NO_DATA;
}

struct ReadRules {
  // Execution failed without a native code: report the ODBC result or -1.
  ZeroNative exec_zero = ZeroNative::kOdbcResult;
  // false: a failed fetch returns its ODBC result without reading diagnostics.
  bool fetch_diagnostics = true;
};

// Single read: at most one row, delivered through `bind` and `deliver`.
template <class Bind, class Deliver>
int32_t ReadOne(const std::string& sql, Bind&& bind, Deliver&& deliver, ReadRules rules = {}) {
  Statement st;
  if (!st.Allocate(false)) return -1;
  SQLRETURN rc = st.Execute(sql);
  if (!ExecOk(rc)) return st.Failure(rc, rules.exec_zero);
  Columns cols(st.handle());
  bind(cols);
  rc = st.Fetch();
  if (rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO) {
    deliver();
    return 0;
  }
  if (rc == SQL_NO_DATA) return 100;
  if (!rules.fetch_diagnostics) return static_cast<int32_t>(rc);
  return st.Failure(rc, ZeroNative::kOdbcResult);
}

// Single read of one 32-bit column into `value`; a NULL leaves it as it was.
inline int32_t ReadLong(const std::string& sql, int32_t& value, ReadRules rules = {}) {
  int32_t work = value;
  return ReadOne(
      sql, [&](Columns& c) { c.Long(work); }, [&] { value = work; }, rules);
}

// Insert, update or delete: 0, 1 (with information), 100 (no row affected),
// -1 or the native error code.
int32_t Write(const std::string& sql);

// One cursor family. Each family owns one process-wide Cursor, so a family
// is open at most once at a time.
class Cursor {
 public:
  // Opens (closing a previous handle first). Result: the execution's ODBC
  // result (0 or 1) when open; -1 without a handle; on a failed execution the
  // native error, or -1 when it is 0, and the cursor stays closed.
  int32_t Open(const std::string& sql);

  // Fetches the next row. 0 with the row delivered, 100 at the end, -1 when
  // not open, otherwise the native error (or the fetch result when it is 0).
  template <class Bind, class Deliver>
  int32_t Read(Bind&& bind, Deliver&& deliver) {
    if (!st_.valid()) return -1;
    // The same bindings as the previous row need no new calls: only what
    // changed is bound, and columns no longer wanted are unbound.
    Columns cols(st_.handle(), &bound_);
    bind(cols);
    cols.Finish();
    SQLRETURN rc = st_.Fetch();
    if (rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO) {
      deliver();
      return 0;
    }
    if (rc == SQL_NO_DATA) return 100;
    return st_.Failure(rc, ZeroNative::kOdbcResult);
  }

  // Releases the handle; always 0.
  int32_t Close() {
    st_.Release();
    bound_.Forget();
    return 0;
  }
  bool is_open() const { return st_.valid(); }

 private:
  Statement st_;
  BoundColumns bound_;  // of st_
};

// The two column-availability flags: Kvt701Plg has PlgOpt/PlgOpl, Kvt725Bsm
// has BsmOva/BsmOve. Set at start, cleared for the rest of the run by the
// first statement that fails with native error 207 (invalid column name).
struct OptionalColumns {
  bool present = true;
};
OptionalColumns& PlgOptionalColumns();
OptionalColumns& BsmOptionalColumns();

constexpr int32_t kInvalidColumn = 207;

// Runs attempt(true) (the full form) while the columns are present; a result
// of 207 clears the flag and the short form attempt(false) runs in the same
// call. Any other result of the full form is returned as it is.
template <class Attempt>
int32_t WithOptionalColumns(OptionalColumns& flag, Attempt&& attempt) {
  if (flag.present) {
    int32_t rc = attempt(true);
    if (rc != kInvalidColumn) return rc;
    flag.present = false;
  }
  return attempt(false);
}

}  // namespace db
