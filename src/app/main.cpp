// plexor: optimises the duty roster of one plan group or of every plan group
// for a planning period. See Main (app/entry.h) for the run; the exit status
// is always 0.
#include <cstdio>
#include <cstring>

#include "app/entry.h"

namespace {

constexpr const char* kUsage =
    "Usage: plexor CONFIG USER BEGIN END LEVEL JOBTEXT1 JOBTEXT2 PLANGROUP LOCATION TYPE MODE\n"
    "       plexor --help | --version\n"
    "\n"
    "Proposes staff moves from over-staffed to under-staffed slots of the duty\n"
    "roster and records them, with the remaining staffing errors, in the database.\n"
    "\n"
    "  CONFIG     path of the configuration file (connection settings)\n"
    "  USER       user recorded on the plan group and the error rows (50 characters,\n"
    "             cut at the first blank)\n"
    "  BEGIN      period begin yyyymmdd, or 00000000 for today\n"
    "  END        period end yyyymmdd, or 00000000 for the plan group's horizon\n"
    "  LEVEL      optimisation level code (3 characters; has no effect)\n"
    "  JOBTEXT1   first job text (14 characters), copied into every error row\n"
    "  JOBTEXT2   second job text (32 characters), copied into every error row\n"
    "  PLANGROUP  plan-group code (5 characters), 00000 for every plan group\n"
    "  LOCATION   deployment location code (5 characters), 00000 for all\n"
    "  TYPE       deployment type code (5 characters), 00000 for all\n"
    "  MODE       PLAN_OPTIM or AUTO_OPTIM (both give the same run)\n"
    "\n"
    "Messages go to ../corvina_php/log/plexor_<schema>.log relative to the working\n"
    "directory. The exit status is always 0.\n";

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && argv[1] != nullptr) {
    if (std::strcmp(argv[1], "--help") == 0) {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (std::strcmp(argv[1], "--version") == 0) {
      std::printf("plexor %s\n", PLEXOR_VERSION);
      return 0;
    }
  }
  Main(argc, argv);
  return 0;
}
