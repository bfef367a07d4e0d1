// Loading a generated database through an open ODBC session, row by row.
#pragma once

#include <string>

#include "demo_data.h"
#include "odbc_session.h"

namespace ctl {

// Inserts every row; false with `error` at the first failing insert.
bool LoadDemo(OdbcSession& session, const DemoDatabase& demo, const std::string& schema, long& rows,
              std::string& error);

}  // namespace ctl
