#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>

#include "cli_args.h"
#include "commands.h"
#include "config/config_writer.h"
#include "job_settings.h"
#include "schema_setup.h"

namespace ctl {
namespace {

// "-" reads the value from the first line of standard input, so that a
// password need not appear on a command line.
std::string ValueOrStdin(const std::string& value) {
  if (value != "-") return value;
  std::string line;
  std::getline(std::cin, line);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

// Why `value` of option `name` cannot be stored, or empty when it can.
std::string ValueProblem(const char* name, const std::string& value) {
  if (value.size() > kKonfigMaxWert) {
    return std::string("--") + name + " is longer than " + std::to_string(kKonfigMaxWert) +
           " bytes";
  }
  if (value.find('\0') != std::string::npos) return std::string("--") + name + " holds a zero byte";
  return "";
}

// Makes sure `path` exists before the configuration is written into it: a
// new file is created with mode 0600, since anyone who can read the file
// can recover the password. An existing file keeps its mode; a warning
// goes to standard error when others can read it.
bool PrepareFile(const std::string& path, std::string& error) {
  struct stat st {};
  if (stat(path.c_str(), &st) == 0) {
    if (S_ISREG(st.st_mode) && (st.st_mode & (S_IRGRP | S_IROTH)) != 0) {
      std::fprintf(stderr,
                   "plexorctl konfig write: warning: %s can be read by other users (mode %04o); "
                   "chmod 600 %s\n",
                   path.c_str(), static_cast<unsigned>(st.st_mode & 07777), path.c_str());
    }
    return true;
  }
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) {
    const int err = errno;
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    std::error_code ec;
    if (err == ENOENT && !parent.empty() && !std::filesystem::is_directory(parent, ec)) {
      error = "cannot write " + path + ": folder " + parent.string() + " does not exist";
    } else {
      error = "cannot write " + path + ": " + std::strerror(err);
    }
    return false;
  }
  close(fd);
  return true;
}

}  // namespace

int RunKonfigWrite(const std::vector<std::string>& args) {
  static const char* kHelp =
      "Usage: plexorctl konfig write FILE --dsn NAME --schema S --login U --pass P\n"
      "\n"
      "Writes the job's configuration file with the four connection settings,\n"
      "each enciphered (at most 96 bytes each). A value of - is read from a line\n"
      "of standard input (in the order --dsn, --login, --pass). A new file is\n"
      "created with mode 0600; an existing file keeps its mode.\n";
  ParsedArgs parsed;
  std::string error;
  const int parsed_rc =
      ParseCommand("konfig write", args, {"dsn", "schema", "login", "pass"}, {}, kHelp, parsed);
  if (parsed_rc >= 0) return parsed_rc;
  if (parsed.positional.empty()) {
    error = "missing FILE, the configuration file to write";
  } else if (parsed.positional.size() > 1) {
    error = "unexpected argument " + parsed.positional[1] + " (give one FILE)";
  } else {
    RequireValues(parsed, {"dsn", "schema", "login", "pass"}, error);
  }
  const std::string schema = parsed.Value("schema");
  if (error.empty() && !ValidSchemaName(schema)) {
    error = "--schema '" + schema +
            "' is not a schema name (1 to 20 letters, digits or _, not starting with a digit)";
  }
  // Read in a fixed order, so that several "-" take the input lines in turn.
  std::string dsn, login, pass;
  if (error.empty()) {
    dsn = ValueOrStdin(parsed.Value("dsn"));
    login = ValueOrStdin(parsed.Value("login"));
    pass = ValueOrStdin(parsed.Value("pass"));
  }
  if (!error.empty()) {
    std::fprintf(stderr, "plexorctl konfig write: %s\n", error.c_str());
    return 2;
  }
  // A value the file cannot hold: nothing is written (status 1, as for a
  // file that cannot be written).
  for (const auto& [name, value] :
       {std::pair<const char*, const std::string&>{"dsn", dsn}, {"login", login}, {"pass", pass}}) {
    if (error.empty()) error = ValueProblem(name, value);
  }
  if (!error.empty()) {
    std::fprintf(stderr, "plexorctl konfig write: %s\n", error.c_str());
    return 1;
  }
  const std::string& path = parsed.positional.front();
  if (!PrepareFile(path, error)) {
    std::fprintf(stderr, "plexorctl konfig write: %s\n", error.c_str());
    return 1;
  }
  errno = 0;
  if (!Konfig_Schreiben(path, dsn, schema, login, pass)) {
    std::fprintf(stderr, "plexorctl konfig write: cannot write %s: %s\n", path.c_str(),
                 errno != 0 ? std::strerror(errno) : "write failed");
    return 1;
  }
  std::printf("Configuration written to %s\n", path.c_str());
  return 0;
}

int RunKonfigShow(const std::vector<std::string>& args) {
  static const char* kHelp =
      "Usage: plexorctl konfig show FILE [--reveal]\n"
      "\n"
      "Deciphers the job's configuration file and prints the values the job takes\n"
      "over. The password is masked unless --reveal is given.\n";
  ParsedArgs parsed;
  const int parsed_rc = ParseCommand("konfig show", args, {}, {"reveal"}, kHelp, parsed);
  if (parsed_rc >= 0) return parsed_rc;
  if (parsed.positional.size() != 1) {
    std::fprintf(
        stderr, "plexorctl konfig show: %s\n",
        parsed.positional.empty()
            ? "missing FILE, the configuration file to show"
            : ("unexpected argument " + parsed.positional[1] + " (give one FILE)").c_str());
    return 2;
  }
  const std::string& path = parsed.positional.front();
  // The same lookups and take-over rules as the job.
  JobSettings settings;
  std::string error;
  if (!ReadJobSettings(path, settings, error)) {
    std::fprintf(stderr, "plexorctl konfig show: %s\n", error.c_str());
    return 1;
  }
  if (settings.Empty()) {
    std::fprintf(stderr,
                 "plexorctl konfig show: %s holds no configuration records (DATABASE, SCHEMA, "
                 "LOGIN, PASS)\n",
                 path.c_str());
    return 1;
  }
  const std::string& pass = settings.pass;
  std::printf("DATABASE: %s\n", settings.dsn.c_str());
  if (settings.schema_refused) {
    std::printf("SCHEMA:   (refused by the job: only letters, digits and _ are allowed)\n");
  } else {
    std::printf("SCHEMA:   %s\n", settings.schema.c_str());
  }
  std::printf("LOGIN:    %s\n", settings.login.c_str());
  std::printf("PASS:     %s\n", parsed.flags.count("reveal") != 0 ? pass.c_str()
                                : pass.empty()                    ? ""
                                                                  : "********");
  return 0;
}

}  // namespace ctl
