// The statement pattern that every table routine follows. A table routine is
// its SQL text (built with SqlText), its column bindings and its result:
//
//   single read   ReadOne(sql, bind, deliver)   bind, exec, one fetch, close
//   write         Write(sql)                    insert / update / delete
//   cursor        Cursor::Open / Read / Close   one process-wide Cursor per family
//
// Single reads and writes run on the connection's shared handles
// (SingleStatement) and leave no cursor open on them; a cursor has a handle
// of its own.
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

#include "common/fixed_text.h"
#include "db/bound_columns.h"
#include "db/connection.h"

namespace db {

// How a failure without a native error code is reported.
enum class ZeroNative { kOdbcResult, kMinusOne };

// Binds result columns 1, 2, ... in call order on `st`, which keeps what it
// has bound: a column bound the same way as before is not bound again, and
// Finish() unbinds the columns this round left out. Without `st` (a single
// read) the first column bound picks one of the shared handles
// (SingleStatement), or Finish() does when none is bound; statement() is then
// the one picked, or nullptr when none could be had.
class Columns {
 public:
  explicit Columns(StatementHandle* st) : st_(st) {}
  template <std::size_t N>
  Columns& Text(FixedText<N>& field) {
    return Text(field.data(), static_cast<SQLLEN>(N));
  }
  Columns& Text(char* buffer, SQLLEN capacity);
  Columns& Long(int32_t& value);
  Columns& Double(double& value);
  void Finish();
  StatementHandle* statement() const { return st_; }

 private:
  void Bind(SQLSMALLINT c_type, SQLPOINTER target, SQLLEN capacity);

  StatementHandle* st_;  // nullptr until the first column picks it
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

// The calls every pattern makes on a handle. FailureOn reads the handle's
// diagnostics into LastDiag() and returns the result code that the failed
// call `rc` reports.
SQLRETURN ExecuteOn(SQLHSTMT h, const std::string& sql);
int32_t FailureOn(SQLHSTMT h, SQLRETURN rc, ZeroNative rule);

// Fetches the next row into the bound columns: 0 with a row, 100 at the
// end, otherwise the native error (or the fetch result when it is 0), and
// without `diagnostics` the fetch result itself.
int32_t FetchOn(SQLHSTMT h, bool diagnostics);

// Single read: at most one row, delivered through `bind` and `deliver`.
// `deliver` runs after the cursor is closed, so it may run statements itself.
template <class Bind, class Deliver>
int32_t ReadOne(const std::string& sql, Bind&& bind, Deliver&& deliver, ReadRules rules = {}) {
  // Columns are bound before the execution, on the shared handle they pick.
  Columns cols(nullptr);
  bind(cols);
  cols.Finish();
  StatementHandle* st = cols.statement();
  if (st == nullptr) return -1;
  const SQLRETURN rc = ExecuteOn(st->handle, sql);
  if (!ExecOk(rc)) return FailureOn(st->handle, rc, rules.exec_zero);
  const int32_t result = FetchOn(st->handle, rules.fetch_diagnostics);
  SQLFreeStmt(st->handle, SQL_CLOSE);
  if (result == 0) deliver();
  return result;
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
    if (!open_) return -1;
    // The same bindings as the previous row need no new calls: only what
    // changed is bound, and columns no longer wanted are unbound.
    Columns cols(&st_);
    bind(cols);
    cols.Finish();
    const int32_t result = FetchOn(st_.handle, true);
    if (result == 0) deliver();
    return result;
  }

  // Closes the cursor; always 0. The handle stays for the next Open.
  int32_t Close();
  bool is_open() const { return open_; }

 private:
  // Makes st_ a handle on the current connection, allocating one when the
  // cursor has none yet or its own belongs to an earlier connection.
  bool Ready();
  // st_ is a handle of the current connection.
  bool HoldsHandle() const;

  // The cursor's handle, kept from opening to opening. It is never freed
  // here: the process or the connection's end takes it (disconnecting frees
  // a connection's statements), and one of an earlier connection is only
  // forgotten.
  StatementHandle st_;
  uint32_t generation_ = 0;  // the connection's, when st_ was allocated
  bool open_ = false;
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
