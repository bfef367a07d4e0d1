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

class OdbcSession {
 public:
  OdbcSession() = default;
  ~OdbcSession();
  OdbcSession(const OdbcSession&) = delete;
  OdbcSession& operator=(const OdbcSession&) = delete;

  bool Connect(const std::string& dsn, const std::string& user, const std::string& password);
  // Runs one statement; false with error() filled when it fails.
  bool Exec(const std::string& sql);
  // Runs a query and collects every row; trailing blanks of texts are kept.
  bool Query(const std::string& sql, std::vector<Row>& rows);
  const OdbcError& error() const { return error_; }

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
