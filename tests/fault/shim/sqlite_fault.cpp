// Fault injection for the embedded database, loaded with LD_PRELOAD into a
// process that uses the shared SQLite library (the job through the driver, or
// the driver probe). Before main() it installs
//   - a VFS wrapped around the default one, made the default, whose file
//     opens, reads, writes, syncs, truncations and locks are counted, and
//   - an allocator wrapped around SQLite's own, whose allocations are counted.
// Controlled by the environment:
//   PLEXOR_FAULT_KIND    "io" or "malloc": which events fail (else none)
//   PLEXOR_FAULT_AT      the 1-based event that fails
//   PLEXOR_FAULT_PERSIST "1": every event from PLEXOR_FAULT_AT on fails; a
//                        lock still fails only at that event (a lock held
//                        for good is a busy timeout on every statement, which
//                        the busy tests cover)
//   PLEXOR_FAULT_REPORT  file that receives, when the process exits,
//                        "io=<n> malloc=<n> injected=<n> open_files=<n>
//                        live_allocations=<n> first=<operation>", the last
//                        naming the operation that failed first (or "none")
//   PLEXOR_FAULT_TRACE   "1": the stack of the first injected fault goes to
//                        standard error, to find where a fault went
//   PLEXOR_FIXED_CLOCK   seconds since 1970 that time() and
//                        clock_gettime(CLOCK_REALTIME) report, with no
//                        fraction: runs that start "in the same second"
// A failing read gives SQLITE_IOERR_READ, a write SQLITE_FULL or
// SQLITE_IOERR_WRITE (alternating with the event number), a sync
// SQLITE_IOERR_FSYNC, a truncation SQLITE_IOERR_TRUNCATE, an open
// SQLITE_CANTOPEN, a lock SQLITE_BUSY; a failing allocation returns null.
#include <dlfcn.h>
#include <execinfo.h>
#include <sqlite3.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

enum class Kind { kNone, kIo, kMalloc };

struct Plan {
  Kind kind = Kind::kNone;
  long at = 0;
  bool persist = false;
  const char* report = nullptr;
  bool trace = false;
};

// The shim's whole state: one process, set up before main() and read at exit.
Plan g_plan;
std::atomic<long> g_io_events{0};
std::atomic<long> g_malloc_events{0};
std::atomic<long> g_injected{0};
std::atomic<long> g_open_files{0};
std::atomic<long> g_live_allocations{0};
std::atomic<const char*> g_first_failed{"none"};
sqlite3_vfs* g_real_vfs = nullptr;
sqlite3_vfs g_vfs;
sqlite3_io_methods g_io;
sqlite3_mem_methods g_real_mem;

bool Fails(Kind kind, const char* operation, std::atomic<long>& counter, long* event = nullptr,
           bool may_persist = true) {
  const long n = ++counter;
  if (event != nullptr) *event = n;
  if (g_plan.kind != kind || g_plan.at <= 0) return false;
  if (n == g_plan.at || (g_plan.persist && may_persist && n > g_plan.at)) {
    if (g_injected++ == 0) {
      g_first_failed = operation;
      if (g_plan.trace) {
        void* frames[48];
        backtrace_symbols_fd(frames, backtrace(frames, 48), 2);
      }
    }
    return true;
  }
  return false;
}

bool IoFails(const char* operation, long* event = nullptr) {
  return Fails(Kind::kIo, operation, g_io_events, event);
}

bool LockFails(const char* operation) {
  return Fails(Kind::kIo, operation, g_io_events, nullptr, false);
}

struct FaultFile {
  sqlite3_file base;
  sqlite3_file* real;  // the wrapped file, in the same allocation after this
};

sqlite3_file* Real(sqlite3_file* f) {
  return reinterpret_cast<FaultFile*>(f)->real;
}

int Close(sqlite3_file* f) {
  --g_open_files;
  return Real(f)->pMethods->xClose(Real(f));
}
int Read(sqlite3_file* f, void* buf, int amount, sqlite3_int64 offset) {
  if (IoFails("read")) return SQLITE_IOERR_READ;
  return Real(f)->pMethods->xRead(Real(f), buf, amount, offset);
}
int Write(sqlite3_file* f, const void* buf, int amount, sqlite3_int64 offset) {
  long event = 0;
  if (IoFails("write", &event)) return event % 2 == 0 ? SQLITE_FULL : SQLITE_IOERR_WRITE;
  return Real(f)->pMethods->xWrite(Real(f), buf, amount, offset);
}
int Truncate(sqlite3_file* f, sqlite3_int64 size) {
  if (IoFails("truncate")) return SQLITE_IOERR_TRUNCATE;
  return Real(f)->pMethods->xTruncate(Real(f), size);
}
int Sync(sqlite3_file* f, int flags) {
  if (IoFails("sync")) return SQLITE_IOERR_FSYNC;
  return Real(f)->pMethods->xSync(Real(f), flags);
}
int FileSize(sqlite3_file* f, sqlite3_int64* size) {
  return Real(f)->pMethods->xFileSize(Real(f), size);
}
int Lock(sqlite3_file* f, int level) {
  if (LockFails("lock")) return SQLITE_BUSY;
  return Real(f)->pMethods->xLock(Real(f), level);
}
int Unlock(sqlite3_file* f, int level) {
  return Real(f)->pMethods->xUnlock(Real(f), level);
}
int CheckReservedLock(sqlite3_file* f, int* out) {
  return Real(f)->pMethods->xCheckReservedLock(Real(f), out);
}
int FileControl(sqlite3_file* f, int op, void* arg) {
  return Real(f)->pMethods->xFileControl(Real(f), op, arg);
}
int SectorSize(sqlite3_file* f) {
  return Real(f)->pMethods->xSectorSize(Real(f));
}
int DeviceCharacteristics(sqlite3_file* f) {
  return Real(f)->pMethods->xDeviceCharacteristics(Real(f));
}
int ShmMap(sqlite3_file* f, int page, int size, int extend, void volatile** out) {
  return Real(f)->pMethods->xShmMap(Real(f), page, size, extend, out);
}
int ShmLock(sqlite3_file* f, int offset, int n, int flags) {
  if ((flags & SQLITE_SHM_LOCK) != 0 && LockFails("shm-lock")) return SQLITE_BUSY;
  return Real(f)->pMethods->xShmLock(Real(f), offset, n, flags);
}
void ShmBarrier(sqlite3_file* f) {
  Real(f)->pMethods->xShmBarrier(Real(f));
}
int ShmUnmap(sqlite3_file* f, int delete_flag) {
  return Real(f)->pMethods->xShmUnmap(Real(f), delete_flag);
}
int Fetch(sqlite3_file* f, sqlite3_int64 offset, int amount, void** out) {
  return Real(f)->pMethods->xFetch(Real(f), offset, amount, out);
}
int Unfetch(sqlite3_file* f, sqlite3_int64 offset, void* p) {
  return Real(f)->pMethods->xUnfetch(Real(f), offset, p);
}

int Open(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* file, int flags, int* out_flags) {
  FaultFile* ff = reinterpret_cast<FaultFile*>(file);
  ff->base.pMethods = nullptr;
  if (IoFails("open")) return SQLITE_CANTOPEN;
  ff->real = reinterpret_cast<sqlite3_file*>(ff + 1);
  const int rc = g_real_vfs->xOpen(g_real_vfs, name, ff->real, flags, out_flags);
  if (ff->real->pMethods == nullptr) return rc;
  if (rc != SQLITE_OK) {
    ff->real->pMethods->xClose(ff->real);
    return rc;
  }
  ++g_open_files;
  ff->base.pMethods = &g_io;
  return SQLITE_OK;
}

void* Malloc(int size) {
  if (Fails(Kind::kMalloc, "malloc", g_malloc_events)) return nullptr;
  void* p = g_real_mem.xMalloc(size);
  if (p != nullptr) ++g_live_allocations;
  return p;
}
void Free(void* p) {
  if (p != nullptr) --g_live_allocations;
  g_real_mem.xFree(p);
}
void* Realloc(void* p, int size) {
  if (Fails(Kind::kMalloc, "realloc", g_malloc_events)) return nullptr;
  return g_real_mem.xRealloc(p, size);
}

void WriteReport() {
  if (g_plan.report == nullptr) return;
  FILE* f = std::fopen(g_plan.report, "w");
  if (f == nullptr) return;
  std::fprintf(f, "io=%ld malloc=%ld injected=%ld open_files=%ld live_allocations=%ld first=%s\n",
               g_io_events.load(), g_malloc_events.load(), g_injected.load(), g_open_files.load(),
               g_live_allocations.load(), g_first_failed.load());
  std::fclose(f);
}

__attribute__((constructor)) void Install() {
  const char* kind = std::getenv("PLEXOR_FAULT_KIND");
  const char* at = std::getenv("PLEXOR_FAULT_AT");
  const char* persist = std::getenv("PLEXOR_FAULT_PERSIST");
  if (kind != nullptr && std::strcmp(kind, "io") == 0) g_plan.kind = Kind::kIo;
  if (kind != nullptr && std::strcmp(kind, "malloc") == 0) g_plan.kind = Kind::kMalloc;
  g_plan.at = at != nullptr ? std::strtol(at, nullptr, 10) : 0;
  g_plan.persist = persist != nullptr && std::strcmp(persist, "1") == 0;
  g_plan.report = std::getenv("PLEXOR_FAULT_REPORT");
  const char* trace = std::getenv("PLEXOR_FAULT_TRACE");
  g_plan.trace = trace != nullptr && std::strcmp(trace, "1") == 0;
  std::atexit(WriteReport);

  // The allocator has to be in place before SQLite initialises itself.
  sqlite3_config(SQLITE_CONFIG_GETMALLOC, &g_real_mem);
  sqlite3_mem_methods mem = g_real_mem;
  mem.xMalloc = Malloc;
  mem.xFree = Free;
  mem.xRealloc = Realloc;
  sqlite3_config(SQLITE_CONFIG_MALLOC, &mem);

  g_real_vfs = sqlite3_vfs_find(nullptr);
  if (g_real_vfs == nullptr) return;
  g_vfs = *g_real_vfs;
  g_vfs.zName = "plexor_fault";
  g_vfs.szOsFile = static_cast<int>(sizeof(FaultFile)) + g_real_vfs->szOsFile;
  g_vfs.xOpen = Open;
  g_vfs.pNext = nullptr;
  g_io = sqlite3_io_methods{3,
                            Close,
                            Read,
                            Write,
                            Truncate,
                            Sync,
                            FileSize,
                            Lock,
                            Unlock,
                            CheckReservedLock,
                            FileControl,
                            SectorSize,
                            DeviceCharacteristics,
                            ShmMap,
                            ShmLock,
                            ShmBarrier,
                            ShmUnmap,
                            Fetch,
                            Unfetch};
  sqlite3_vfs_register(&g_vfs, 1);
}

// The fixed clock, or -1 when the real one runs.
long FixedClock() {
  static const long fixed = [] {
    const char* v = std::getenv("PLEXOR_FIXED_CLOCK");
    return v != nullptr ? std::strtol(v, nullptr, 10) : -1L;
  }();
  return fixed;
}

}  // namespace

extern "C" time_t time(time_t* out) {
  time_t now = FixedClock();
  if (now < 0) {
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    now = ts.tv_sec;
  }
  if (out != nullptr) *out = now;
  return now;
}

extern "C" int clock_gettime(clockid_t clock, timespec* ts) {
  using ClockGettime = int (*)(clockid_t, timespec*);
  static const ClockGettime real =
      reinterpret_cast<ClockGettime>(dlsym(RTLD_NEXT, "clock_gettime"));
  if (clock == CLOCK_REALTIME && FixedClock() >= 0) {
    ts->tv_sec = FixedClock();
    ts->tv_nsec = 0;
    return 0;
  }
  return real(clock, ts);
}
