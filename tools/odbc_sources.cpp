#include "odbc_sources.h"

#include <sql.h>
#include <sqlext.h>
#include <strings.h>

#include <filesystem>

namespace ctl {
namespace {

// The value of `key` in a SQLDrivers attribute list ("k=v\0k=v\0\0").
std::string Attribute(const char* list, size_t size, const char* key) {
  const std::string prefix = std::string(key) + "=";
  for (size_t i = 0; i < size && list[i] != '\0';) {
    const std::string entry(list + i);
    if (strncasecmp(entry.c_str(), prefix.c_str(), prefix.size()) == 0) {
      return entry.substr(prefix.size());
    }
    i += entry.size() + 1;
  }
  return "";
}

}  // namespace

SourceInfo LookUpDataSource(const std::string& dsn) {
  SourceInfo info;
  SQLHENV env = SQL_NULL_HENV;
  if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env))) return info;
  SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);

  SQLCHAR name[SQL_MAX_DSN_LENGTH + 1] = {};
  SQLCHAR description[1024] = {};
  SQLSMALLINT name_len = 0, description_len = 0;
  SQLUSMALLINT direction = SQL_FETCH_FIRST;
  while (SQL_SUCCEEDED(SQLDataSources(env, direction, name, sizeof name, &name_len, description,
                                      sizeof description, &description_len))) {
    direction = SQL_FETCH_NEXT;
    if (strcasecmp(reinterpret_cast<const char*>(name), dsn.c_str()) == 0) {
      info.source_found = true;
      info.driver = reinterpret_cast<const char*>(description);
      break;
    }
  }
  if (info.source_found && !info.driver.empty() && info.driver.front() == '/') {
    std::error_code ec;
    info.library = info.driver;
    info.driver_found = std::filesystem::exists(info.driver, ec);
  } else if (info.source_found) {
    // One spare zero byte at the end keeps the list terminated.
    SQLCHAR attributes[4097] = {};
    SQLSMALLINT attributes_len = 0;
    direction = SQL_FETCH_FIRST;
    while (
        SQL_SUCCEEDED(SQLDrivers(env, direction, description, sizeof description, &description_len,
                                 attributes, sizeof attributes - 1, &attributes_len))) {
      direction = SQL_FETCH_NEXT;
      if (strcasecmp(reinterpret_cast<const char*>(description), info.driver.c_str()) == 0) {
        info.driver_found = true;
        info.library =
            Attribute(reinterpret_cast<const char*>(attributes), sizeof attributes - 1, "Driver");
        break;
      }
    }
  }
  SQLFreeHandle(SQL_HANDLE_ENV, env);
  return info;
}

}  // namespace ctl
