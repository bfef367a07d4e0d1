// A small ODBC connection for plexorctl: connect to a data source, run one
// statement, read all rows of a query as text. Every failure is reported as
// a result with the first diagnostic record (SQLSTATE, native error,
// message); nothing is thrown.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ctl {

struct OdbcError {
  std::string sqlstate;
  int32_t native = 0;
  std::string message;
  std::string Text() const;  // "[SQLSTATE] (native) message"
};

using Cell = std::optional<std::string>;  // nullopt for NULL
using Row = std::vector<Cell>;

// Column `i` of a row without trailing blanks ("" for NULL or no column).
std::string CellText(const Row& row, size_t i);
// Column `i` as a decimal number; 0 when it is not one.
long CellNumber(const Row& row, size_t i);

class OdbcSession {
 public:
  OdbcSession() = default;
  ~OdbcSession();
  OdbcSession(const OdbcSession&) = delete;
  OdbcSession& operator=(const OdbcSession&) = delete;

  bool Connect(const std::string& dsn, const std::string& user, const std::string& password);
  // Runs one statement; false with error() filled when it fails. `rows`, when
  // given, receives the number of rows an insert, update or delete changed.
  bool Exec(const std::string& sql, SQLLEN* rows = nullptr);
  // Runs a query and collects every row; trailing blanks of texts are kept.
  bool Query(const std::string& sql, std::vector<Row>& rows);
  const OdbcError& error() const { return error_; }
  // The connection handle (owned by the session), SQL_NULL_HDBC when none.
  SQLHDBC handle() const { return dbc_; }
  // Ends the open transaction with SQL_COMMIT or SQL_ROLLBACK; false with
  // error() filled when that fails.
  bool EndTransaction(SQLSMALLINT completion);

 private:
  void Disconnect();
  void ReadError(SQLSMALLINT type, SQLHANDLE handle);
  // Allocates a statement handle into `st` and executes `sql` on it (result in
  // `rc`); false, with error() filled, when not connected or no handle.
  bool Start(const std::string& sql, SQLHSTMT& st, SQLRETURN& rc);

  SQLHENV env_ = SQL_NULL_HENV;
  SQLHDBC dbc_ = SQL_NULL_HDBC;
  bool connected_ = false;
  OdbcError error_;
};

}  // namespace ctl
