#include "schema_setup.h"

#include <fstream>
#include <sstream>

#include "config/config_writer.h"
#include "config/schema_name.h"
#include "schema_script.h"

namespace ctl {

bool ValidSchemaName(const std::string& name) {
  if (name.empty() || name.size() > kKonfigMaxSchema) return false;
  // A schema created here must also be a plain identifier: no leading digit.
  if (name[0] >= '0' && name[0] <= '9') return false;
  return IsPlainName(name);
}

namespace {

bool RunScript(OdbcSession& session, const std::string& path, const std::string& schema,
               int& batches_run, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot read " + path;
    return false;
  }
  std::ostringstream text;
  text << in.rdbuf();
  for (const std::string& batch : SchemaBatches(text.str(), schema)) {
    if (!session.Exec(batch)) {
      error = path + ": " + session.error().Text() + "\n  in: " + batch.substr(0, 200);
      return false;
    }
    ++batches_run;
  }
  return true;
}

}  // namespace

bool CreateSchema(OdbcSession& session, const std::string& sql_dir, const std::string& schema,
                  bool without_optional, int& batches_run, std::string& error) {
  batches_run = 0;
  if (!ValidSchemaName(schema)) {
    error = "invalid schema name '" + schema + "' (1 to 20 letters, digits or _)";
    return false;
  }
  if (!RunScript(session, sql_dir + "/schema.sql", schema, batches_run, error)) return false;
  if (without_optional &&
      !RunScript(session, sql_dir + "/schema_without_optional.sql", schema, batches_run, error)) {
    return false;
  }
  return true;
}

}  // namespace ctl
