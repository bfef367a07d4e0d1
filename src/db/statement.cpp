#include "db/statement.h"

#include "db/connection.h"

namespace db {
namespace {

// The one length/indicator variable of every binding. Its content is never
// read: a NULL column leaves the bound field unchanged.
SQLLEN g_indicator = 0;

OptionalColumns g_plg_optional;
OptionalColumns g_bsm_optional;

}  // namespace

void Columns::Bind(SQLSMALLINT c_type, SQLPOINTER target, SQLLEN capacity) {
  const SQLUSMALLINT column = ++n_;
  const BoundColumns::Slot wanted{c_type, target, capacity};
  if (column == 1 && st_ == nullptr) st_ = SingleStatement(&wanted);
  if (st_ == nullptr) return;
  BoundColumns& bound = st_->bound;
  if (column <= BoundColumns::kSlots) {
    BoundColumns::Slot& slot = bound.slots[column - 1];
    if (column <= bound.count && slot == wanted) return;
    slot = wanted;
  }
  SQLBindCol(st_->handle, column, c_type, target, capacity, &g_indicator);
  if (column > bound.count) bound.count = column;
}

void Columns::Finish() {
  if (n_ == 0 && st_ == nullptr) st_ = SingleStatement(nullptr);
  if (st_ == nullptr) return;
  BoundColumns& bound = st_->bound;
  for (SQLUSMALLINT column = n_ + 1; column <= bound.count && column != 0; ++column) {
    SQLBindCol(st_->handle, column, SQL_C_CHAR, nullptr, 0, nullptr);
  }
  bound.count = n_;
}

Columns& Columns::Text(char* buffer, SQLLEN capacity) {
  Bind(SQL_C_CHAR, buffer, capacity);
  return *this;
}

Columns& Columns::Long(int32_t& value) {
  Bind(SQL_C_SLONG, &value, 0);
  return *this;
}

Columns& Columns::Double(double& value) {
  Bind(SQL_C_DOUBLE, &value, 0);
  return *this;
}

SQLRETURN ExecuteOn(SQLHSTMT h, const std::string& sql) {
  return SQLExecDirect(h, const_cast<SQLCHAR*>(reinterpret_cast<const SQLCHAR*>(sql.c_str())),
                       SQL_NTS);
}

int32_t FailureOn(SQLHSTMT h, SQLRETURN rc, ZeroNative rule) {
  Diag_Lesen(SQL_HANDLE_STMT, h, LastDiag());
  if (LastDiag().native != 0) return LastDiag().native;
  return rule == ZeroNative::kMinusOne ? -1 : static_cast<int32_t>(rc);
}

int32_t FetchOn(SQLHSTMT h, bool diagnostics) {
  const SQLRETURN rc = SQLFetch(h);
  if (rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO) return 0;
  if (rc == SQL_NO_DATA) return 100;
  if (!diagnostics) return static_cast<int32_t>(rc);
  return FailureOn(h, rc, ZeroNative::kOdbcResult);
}

int32_t Write(const std::string& sql) {
  StatementHandle* st = SingleStatement(nullptr);
  if (st == nullptr) return -1;
  const SQLRETURN rc = ExecuteOn(st->handle, sql);
  if (!ExecOk(rc)) return FailureOn(st->handle, rc, ZeroNative::kOdbcResult);
  // A write gives no result; should a statement give one all the same, the
  // handle must not be left with it open.
  SQLFreeStmt(st->handle, SQL_CLOSE);
  return rc == SQL_NO_DATA ? 100 : static_cast<int32_t>(rc);
}

bool Cursor::HoldsHandle() const {
  return st_.handle != SQL_NULL_HSTMT && generation_ == ConnectionGeneration();
}

bool Cursor::Ready() {
  if (HoldsHandle()) return true;
  if (!AllocateStatement(st_)) return false;
  generation_ = ConnectionGeneration();
  // Non-scrollable with lock concurrency: the cursor stays positioned while
  // other statements run on the same connection.
  SQLSetStmtAttr(st_.handle, SQL_ATTR_CURSOR_SCROLLABLE,
                 reinterpret_cast<SQLPOINTER>(SQL_NONSCROLLABLE), SQL_IS_INTEGER);
  SQLSetStmtAttr(st_.handle, SQL_ATTR_CONCURRENCY, reinterpret_cast<SQLPOINTER>(SQL_CONCUR_LOCK),
                 SQL_IS_INTEGER);
  return true;
}

int32_t Cursor::Open(const std::string& sql) {
  Close();
  if (!Ready()) return -1;
  const SQLRETURN rc = ExecuteOn(st_.handle, sql);
  if (!ExecOk(rc)) return FailureOn(st_.handle, rc, ZeroNative::kMinusOne);
  open_ = true;
  return rc == SQL_NO_DATA ? 0 : static_cast<int32_t>(rc);
}

int32_t Cursor::Close() {
  if (open_ && HoldsHandle()) SQLFreeStmt(st_.handle, SQL_CLOSE);
  open_ = false;
  return 0;
}

OptionalColumns& PlgOptionalColumns() {
  return g_plg_optional;
}
OptionalColumns& BsmOptionalColumns() {
  return g_bsm_optional;
}

}  // namespace db
