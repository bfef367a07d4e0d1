#include "log/run_log.h"

#include <cstdarg>
#include <ctime>
#include <string>

namespace runlog {
namespace {

std::string g_log_path;
std::string g_backup_path;
char g_message[1024];

}  // namespace

void SetPaths(std::string_view schema) {
  std::string s(schema);
  g_log_path = "../corvina_php/log/plexor_" + s + ".log";
  g_backup_path = "../corvina_php/log/plexor_" + s + ".bak";
}

const char* LogPath() {
  return g_log_path.c_str();
}
const char* BackupPath() {
  return g_backup_path.c_str();
}

std::FILE* Log_Open() {
  std::FILE* f = std::fopen(g_log_path.c_str(), "a");
  if (f == nullptr) return nullptr;
  std::fseek(f, 0, SEEK_END);
  long size = std::ftell(f);
  if (size <= kMaxLogBytes) return f;
  std::fclose(f);
  std::remove(g_backup_path.c_str());
  std::rename(g_log_path.c_str(), g_backup_path.c_str());
  return std::fopen(g_log_path.c_str(), "a");
}

void Log_Write(const char* message) {
  std::FILE* f = Log_Open();
  if (f == nullptr) return;
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &local);
  std::fputs(stamp, f);
  std::fputs("  ", f);
  std::fputs(message == nullptr ? "" : message, f);
  std::fputc('\n', f);
  std::fclose(f);
}

void Log_Printf(const char* format, ...) {
  va_list ap;
  va_start(ap, format);
  std::vsnprintf(g_message, sizeof g_message, format, ap);
  va_end(ap);
  Log_Write(g_message);
}

}  // namespace runlog
