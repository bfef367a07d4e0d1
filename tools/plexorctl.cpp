// plexorctl: administration tool of the roster optimisation job. Creates the
// database schema, writes and shows the job's configuration file, builds a
// demo database, reports what a run left behind and acts on move proposals.
#include <cstdio>
#include <string>
#include <vector>

#include "commands.h"

namespace {

constexpr const char* kUsage =
    "Usage: plexorctl COMMAND [options]   (plexorctl COMMAND --help for details)\n"
    "\n"
    "  db init        create the job's tables through ODBC\n"
    "  konfig write   write the job's configuration file (values enciphered)\n"
    "  konfig show    decipher and print a configuration file\n"
    "  demo           create a demo database for the embedded driver\n"
    "  report         open proposals, remaining staffing errors, counts per plan group\n"
    "  proposals      list, accept or reject the job's move proposals\n";

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  auto rest = [&](size_t n) { return std::vector<std::string>(args.begin() + n, args.end()); };
  if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    std::fputs(kUsage, args.empty() ? stderr : stdout);
    return args.empty() ? 2 : 0;
  }
  if (args[0] == "--version") {
    std::printf("plexorctl %s\n", PLEXOR_VERSION);
    return 0;
  }
  const std::string& command = args[0];
  const std::string sub = args.size() > 1 ? args[1] : "";
  if (command == "db" && sub == "init") return ctl::RunDbInit(rest(2));
  if (command == "konfig" && sub == "write") return ctl::RunKonfigWrite(rest(2));
  if (command == "konfig" && sub == "show") return ctl::RunKonfigShow(rest(2));
  if (command == "demo") return ctl::RunDemo(rest(1));
  if (command == "report") return ctl::RunReport(rest(1));
  if (command == "proposals") return ctl::RunProposals(rest(1));
  std::fprintf(stderr, "plexorctl: unknown command '%s%s%s'\n%s", command.c_str(),
               sub.empty() ? "" : " ", sub.c_str(), kUsage);
  return 2;
}
