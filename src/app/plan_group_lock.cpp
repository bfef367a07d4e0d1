#include "app/plan_group_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>

#include "app/plan_group_pass.h"
#include "db/connection.h"
#include "log/run_log.h"

namespace {

// Folders tried in this order; the first one this process can write to wins.
constexpr const char* kLockFolders[] = {"/run/lock", "/tmp"};
// Names longer than this are cut and end with a hash of the whole name.
constexpr std::size_t kMaxName = 200;
// Attempts when the file was replaced between its open and its lock.
constexpr int kLockAttempts = 3;

void AppendEncoded(std::string& out, std::string_view name) {
  for (unsigned char c : name) {
    const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                       c == '_' || c == '-';
    if (plain) {
      out += static_cast<char>(c);
    } else {
      char hex[4];
      std::snprintf(hex, sizeof hex, "%%%02X", c);
      out += hex;
    }
  }
}

uint64_t Fnv1a(std::string_view text) {
  uint64_t h = 0xCBF29CE484222325ULL;
  for (unsigned char c : text) h = (h ^ c) * 0x100000001B3ULL;
  return h;
}

const char* LockFolder() {
  for (const char* folder : kLockFolders) {
    if (access(folder, W_OK | X_OK) == 0) return folder;
  }
  return kLockFolders[1];
}

int OpenLockFile(const std::string& path) {
  int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
  // Another user's file in the shared folder: a read-only descriptor locks
  // just as well.
  if (fd < 0 && errno == EACCES) fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  return fd;
}

// Whether `fd` is still the file at `path`: a run that released its lock
// removes the file, and a lock on a removed file would keep nobody out.
bool StillAtPath(int fd, const std::string& path) {
  struct stat open_file {};
  struct stat named {};
  return fstat(fd, &open_file) == 0 && stat(path.c_str(), &named) == 0 &&
         open_file.st_dev == named.st_dev && open_file.st_ino == named.st_ino;
}

std::string DataSourceName() {
  SQLCHAR name[256] = {0};
  SQLSMALLINT length = 0;
  const SQLRETURN rc = SQLGetInfo(db::Connection(), SQL_DATA_SOURCE_NAME, name,
                                  static_cast<SQLSMALLINT>(sizeof name), &length);
  if (!SQL_SUCCEEDED(rc)) return "";
  return reinterpret_cast<const char*>(name);
}

}  // namespace

std::string PlanGroupLockPath(std::string_view dsn, std::string_view schema,
                              std::string_view plan_group) {
  std::string name = "plexor.";
  AppendEncoded(name, dsn);
  name += '.';
  AppendEncoded(name, schema);
  name += '.';
  AppendEncoded(name, plan_group);
  if (name.size() > kMaxName) {
    char hash[24];
    std::snprintf(hash, sizeof hash, ".%016llx", static_cast<unsigned long long>(Fnv1a(name)));
    name = name.substr(0, kMaxName - 17) + hash;
  }
  return std::string(LockFolder()) + "/" + name + ".lock";
}

LockResult LockPlanGroup(std::string_view dsn, std::string_view schema, std::string_view plan_group,
                         PlanGroupLock& lock) {
  const std::string path = PlanGroupLockPath(dsn, schema, plan_group);
  for (int attempt = 0; attempt < kLockAttempts; ++attempt) {
    const int fd = OpenLockFile(path);
    if (fd < 0) return LockResult::kUnavailable;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
      const bool held = errno == EWOULDBLOCK;
      close(fd);
      return held ? LockResult::kHeld : LockResult::kUnavailable;
    }
    if (StillAtPath(fd, path)) {
      lock.fd = fd;
      lock.path = path;
      return LockResult::kTaken;
    }
    close(fd);
  }
  return LockResult::kUnavailable;
}

void UnlockPlanGroup(PlanGroupLock& lock) {
  if (lock.fd < 0) return;
  // Removed while still locked: whoever opened the file meanwhile finds it
  // gone after locking and opens the new one.
  unlink(lock.path.c_str());
  close(lock.fd);
  lock.fd = -1;
  lock.path.clear();
}

void Einsatzplan_Optimieren_Allein(RunContext& ctx, const char* plan_group, const char* location,
                                   const char* deployment_type, ErrSatz& err) {
  PlanGroupLock lock;
  const LockResult taken =
      LockPlanGroup(DataSourceName(), db::Schema(), plan_group != nullptr ? plan_group : "", lock);
  if (taken == LockResult::kHeld) {
    runlog::Log_Printf(
        "-Fehler: Einsatzplan_Optimieren() Plangruppe wird bereits optimiert! PLG: %s", plan_group);
    return;
  }
  Einsatzplan_Optimieren(ctx, plan_group, location, deployment_type, err);
  UnlockPlanGroup(lock);
}
