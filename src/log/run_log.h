// The run log: one plain-text file per schema, opened, appended to and closed
// for every line, with one backup generation. A log larger than 5,000,000
// bytes becomes the backup before the next line is written. Nothing here
// reports a failure: a line that cannot be written is dropped.
#pragma once

#include <cstdio>
#include <string_view>

namespace runlog {

constexpr long kMaxLogBytes = 5000000;

// Names the log and its backup after the schema:
// "../corvina_php/log/plexor_<schema>.log" and ".bak".
void SetPaths(std::string_view schema);
const char* LogPath();
const char* BackupPath();

// Opens the log for appending, rotating it first when it is too large.
// Returns nullptr when it cannot be opened.
std::FILE* Log_Open();

// Writes "yyyy-mm-dd hh:mm:ss  <message>\n"; the message is written as it
// stands (a percent sign is not interpreted).
void Log_Write(const char* message);

// Formats into the process-wide message buffer (at most 1023 characters,
// longer messages are cut) and writes it with Log_Write. Pass 32-bit values
// for %ld as static_cast<long>(x).
void Log_Printf(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace runlog
