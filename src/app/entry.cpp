#include "app/entry.h"

#include <cstdlib>
#include <string>

#include "app/parameters.h"
#include "app/period_check.h"
#include "app/plan_group_lock.h"
#include "app/plan_group_loop.h"
#include "app/plan_group_pass.h"
#include "app/progress.h"
#include "app/run_seed.h"
#include "common/run_context.h"
#include "config/config_file.h"
#include "config/schema_name.h"
#include "db/connection.h"
#include "errlog/error_record.h"
#include "log/run_log.h"

namespace {

// The run context and the error record of the run; both live until the
// process ends.
RunContext g_run_context;
ErrSatz g_error_record;

// Longest login or password taken over.
constexpr std::size_t kMaxCredentials = 200;

std::string LookUp(const char* key, const char* path) {
  Konfig_Lesen("", key, 0, path);
  return std::string(Konfig_Puffer().value.view());
}

}  // namespace

int Main(int argc, const char* const* argv) {
  if (argv == nullptr || argc < 0) argc = 0;
  std::srand(CurrentRunSeed());

  const char* config_path = argc > 1 ? argv[1] : nullptr;
  std::string dsn = LookUp("DATABASE", config_path);
  std::string schema_value = LookUp("SCHEMA", config_path);
  std::string login = LookUp("LOGIN", config_path);
  std::string password = LookUp("PASS", config_path);
  Konfig_Puffer().value.clear();

  const SchemaName schema_name = SchemaAusWert(schema_value);
  const std::string& schema = schema_name.name;
  const bool schema_refused = schema_name.refused;
  if (login.size() > kMaxCredentials) login.clear();
  if (password.size() > kMaxCredentials) password.clear();

  runlog::SetPaths(schema);
  runlog::Log_Printf("*** Programmstart Plexor ***");
  if (schema_refused) {
    runlog::Log_Printf("-Fehler: Main() Schemaname unzulaessig (erlaubt: Buchstaben, Ziffern, _)!");
  }

  int32_t rc = db::dbConnect(login.c_str(), password.c_str(), dsn.c_str());
  if (rc != 0) {
    runlog::Log_Printf("-Fehler: Main()->dbConnect() Fehlerhafter Connect mit der DB! RC: %ld",
                       static_cast<long>(rc));
    return 0;
  }
  if (argc < 12) {
    runlog::Log_Printf(
        "-Fehler: Main() Mindestanzahl Parameter(12) unterschritten! Anzahl uebergeben: %ld.",
        static_cast<long>(argc));
    return 0;
  }
  db::SetSchema(schema);

  RunContext& ctx = g_run_context;
  Parameter_Lesen(argc, argv, ctx);
  if (Planzeitraum_OK(ctx) == 0) {
    runlog::Log_Printf("-Fehler: Main()->Planzeitraum_OK(): Planbeginn/-Ende unzulaessig!");
  } else if (ctx.plan_group.empty()) {
    Plangruppen_Ermitteln(ctx, g_error_record);
  } else {
    Einsatzplan_Optimieren_Allein(ctx, ctx.plan_group.c_str(), ctx.location.c_str(),
                                  ctx.deployment_type.c_str(), g_error_record);
  }
  Progress_End();
  runlog::Log_Printf("*** Programmende Plexor ***");
  return 0;
}
