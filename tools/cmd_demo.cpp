#include <cstdio>
#include <filesystem>

#include "civil_date.h"
#include "cli_args.h"
#include "commands.h"
#include "demo_loader.h"
#include "demo_roster.h"
#include "embedded_dsn.h"
#include "schema_setup.h"
#include "shipped_files.h"

namespace ctl {

int RunDemo(const std::vector<std::string>& args) {
  static const char* kHelp =
      "Usage: plexorctl demo DIR [--seed N] [--days N] [--schema S]\n"
      "\n"
      "Creates a demo database for the embedded driver in folder DIR (created when\n"
      "missing, but not its parent folders): a roster of\n"
      "three plan groups that starts today, with short and surplus slots. The same\n"
      "seed gives the same database (for the same start day).\n"
      "\n"
      "  --seed N       seed of the generator (default 1)\n"
      "  --days N       days of the staffing matrix from today on (default 21, 1-366)\n"
      "  --schema S     schema of the job's tables (default plexor)\n"
      "  --driver LIB   embedded driver library\n"
      "  --sql-dir DIR  folder of the schema scripts\n";
  ParsedArgs parsed;
  std::string error;
  const int parsed_rc = ParseCommand("demo", args, {"seed", "days", "schema", "driver", "sql-dir"},
                                     {}, kHelp, parsed);
  if (parsed_rc >= 0) return parsed_rc;
  long seed = 1, days = 21;
  const std::string schema = parsed.Value("schema", "plexor");
  if (parsed.positional.empty()) {
    error = "missing DIR, the folder of the database";
  } else if (parsed.positional.size() > 1) {
    error = "unexpected argument " + parsed.positional[1] + " (give one DIR)";
  } else if (parsed.Has("seed") && !ParseInt(parsed.Value("seed"), 0, 2147483647L, seed)) {
    error = "--seed '" + parsed.Value("seed") + "' is not a number from 0 to 2147483647";
  } else if (parsed.Has("days") && !ParseInt(parsed.Value("days"), 1, 366, days)) {
    error = "--days '" + parsed.Value("days") + "' is not a number from 1 to 366";
  } else if (!ValidSchemaName(schema)) {
    error = "--schema '" + schema + "' is not a schema name (1 to 20 letters, digits or _)";
  }
  if (!error.empty()) {
    std::fprintf(stderr, "plexorctl demo: %s\n", error.c_str());
    return 2;
  }
  const std::filesystem::path dir = parsed.positional.front();
  std::error_code ec;
  for (const std::string& file : {schema + ".sqlite", std::string("KvtSystem.sqlite")}) {
    if (std::filesystem::exists(dir / file, ec)) {
      std::fprintf(stderr, "plexorctl demo: %s already holds a database (%s)\n",
                   dir.string().c_str(), file.c_str());
      return 1;
    }
  }
  // Like mkdir: the folder itself is made, never its parents.
  if (!std::filesystem::is_directory(dir, ec)) {
    const std::filesystem::path named = dir.has_filename() ? dir : dir.parent_path();
    const std::filesystem::path parent = named.has_parent_path() ? named.parent_path() : ".";
    if (!std::filesystem::is_directory(parent, ec)) {
      std::fprintf(stderr, "plexorctl demo: cannot create %s: folder %s does not exist\n",
                   dir.string().c_str(), parent.string().c_str());
      return 1;
    }
    if (!std::filesystem::create_directory(dir, ec) || ec) {
      std::fprintf(stderr, "plexorctl demo: cannot create %s: %s\n", dir.string().c_str(),
                   ec ? ec.message().c_str() : "not a folder");
      return 1;
    }
  }

  EmbeddedDsn dsn;
  if (!dsn.Create(dir.string(), parsed.Value("driver", DefaultEmbeddedDriver()), error)) {
    std::fprintf(stderr, "plexorctl demo: %s\n", error.c_str());
    return 1;
  }
  OdbcSession session;
  if (!session.Connect(dsn.name(), "", "")) {
    std::fprintf(stderr, "plexorctl demo: cannot connect: %s\n", session.error().Text().c_str());
    return 1;
  }
  int batches = 0;
  if (!CreateSchema(session, parsed.Value("sql-dir", DefaultSqlDir()), schema, false, batches,
                    error)) {
    std::fprintf(stderr, "plexorctl demo: %s\n", error.c_str());
    return 1;
  }
  DemoOptions options;
  options.seed = static_cast<uint64_t>(seed);
  options.days = static_cast<int>(days);
  options.start = LocalToday();
  const DemoDatabase demo = BuildDemoDatabase(options);
  long rows = 0;
  if (!LoadDemo(session, demo, schema, rows, error)) {
    std::fprintf(stderr, "plexorctl demo: %s\n", error.c_str());
    return 1;
  }
  std::printf("Demo database in %s: schema %s, %ld rows, %s to %s (seed %ld)\n",
              dir.string().c_str(), schema.c_str(), rows, Text8(options.start).c_str(),
              Text8(options.start + options.days - 1).c_str(), seed);
  return 0;
}

}  // namespace ctl
