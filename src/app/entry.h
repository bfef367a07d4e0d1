// The entry routine of the job and the process-wide records it owns.
//
// Main seeds the random generator (run_seed.h), reads DATABASE, SCHEMA, LOGIN and PASS
// from the configuration file named by argv[1], names the run log after the
// schema, logs the start line, connects, checks that the command line has
// eleven arguments after the program name, fills the run context, checks the
// period and then optimises the plan group given on the command line, or
// every plan group. A failed connect or a short command line ends the run
// after the start line without an end line. The result is 0 in every case.
#pragma once

int Main(int argc, const char* const* argv);
