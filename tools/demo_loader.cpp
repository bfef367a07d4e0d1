#include "demo_loader.h"

namespace ctl {

bool LoadDemo(OdbcSession& session, const DemoDatabase& demo, const std::string& schema, long& rows,
              std::string& error) {
  rows = 0;
  for (const std::string& sql : InsertStatements(demo, schema)) {
    if (!session.Exec(sql)) {
      error = session.error().Text() + "\n  in: " + sql.substr(0, 300);
      return false;
    }
    ++rows;
  }
  return true;
}

}  // namespace ctl
