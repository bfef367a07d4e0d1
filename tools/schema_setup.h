// Creating the job's tables through an open ODBC session from the schema
// scripts (schema.sql, then schema_without_optional.sql for the older layout
// without PlgOpt, PlgOpl, BsmOva and BsmOve).
#pragma once

#include <string>

#include "odbc_session.h"

namespace ctl {

// A schema name the job can use: 1 to 20 letters, digits or '_', not
// starting with a digit. Anything else could break the statements.
bool ValidSchemaName(const std::string& name);

// Runs the scripts batch by batch; false with `error` (batch and database
// message) at the first failing batch. `batches_run` counts the batches done.
bool CreateSchema(OdbcSession& session, const std::string& sql_dir, const std::string& schema,
                  bool without_optional, int& batches_run, std::string& error);

}  // namespace ctl
