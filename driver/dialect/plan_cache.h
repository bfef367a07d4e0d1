// The plan cache of a connection: statement shapes (see parameterise.h) with
// their translation and their compiled SQLite statement, the least recently
// used dropped beyond a bound. A text of a kept shape is matched against the
// shape's key (its fixed parts compared, its literals read) rather than
// scanned whole. The caller steps a plan's statement inside one executing
// call and resets it before the call returns, so none stays active between
// calls. The cache owns its statements: Clear() finalizes them and must run
// before the database closes.
#pragma once

#include <sqlite3.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <list>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "dialect/dialect.h"
#include "dialect/parameterise.h"

namespace tsq {

struct CachedPlan {
  std::string key;
  StatementKind kind = StatementKind::kOther;
  bool counts_rows = false;
  bool no_data_without_rows = false;
  // A marker without statement: the literals decide this shape's
  // translation, so each text of the shape has a plan of its own.
  bool literal_only = false;
  sqlite3_stmt* stmt = nullptr;  // owned; null for a marker
  size_t parameters = 0;         // lifted literals bound as ?1.. (0: compiled as written)
  // What the caller keeps with the plan (the driver: its result columns as
  // declared), and the engine's count of recompilations it was taken at.
  std::shared_ptr<const void> columns;
  int columns_compiled = -1;
};

class PlanCache {
 public:
  static constexpr size_t kDefaultCapacity = 200;

  explicit PlanCache(size_t capacity = kDefaultCapacity) : capacity_(capacity) {}
  ~PlanCache() { Clear(); }
  PlanCache(const PlanCache&) = delete;
  PlanCache& operator=(const PlanCache&) = delete;

  // The plan of the query or change `tsql` on `db`: found by its shape, or
  // translated, compiled and kept. Null when the statement is of another
  // kind or does not translate or compile: the caller runs it as written and
  // reports what fails, and the cache keeps nothing of it. The literals of
  // `tsql` are held until the next call (Bind, Record).
  CachedPlan* PlanFor(sqlite3* db, std::string_view tsql);

  // Binds the literals of the statement last given to PlanFor to `plan`.
  void Bind(const CachedPlan& plan) const;

  // The plan of `key`, now the most recently used; null when there is none.
  CachedPlan* Find(const std::string& key);

  // Stores `plan` (taking its statement) and drops the least recently used
  // beyond the bound; returns the stored plan.
  CachedPlan* Insert(CachedPlan plan);

  // Finalizes every statement and forgets every plan.
  void Clear();

  size_t size() const { return plans_.size(); }
  size_t hits() const { return hits_; }
  size_t misses() const { return misses_; }

  // With TSQLITE_RECORD naming a file, each executed statement is appended
  // to it for replay: the SQLite text and the values bound.
  void Record(const CachedPlan& plan);
  void Record(const std::string& sqlite_sql);

 private:
  using PlanList = std::list<CachedPlan>;

  CachedPlan* Compile(sqlite3* db, std::string_view tsql);
  // Counts a hit on `plan` and makes it the most recently used.
  CachedPlan* Use(PlanList::iterator plan);
  // Finds the kept plan whose shape `tsql` has by matching the text against
  // the keys of its bucket; on success its literals are in scratch_.
  bool MatchKnownShape(std::string_view tsql, PlanList::iterator& plan);
  // The bucket of known_ for a text or key beginning with `head`; null when
  // it is too short to have one.
  std::vector<PlanList::iterator>* KnownBucket(std::string_view head);
  // Drops `plan` from known_ before the plan goes.
  void Forget(PlanList::iterator plan);
  std::FILE* Recorder();

  size_t capacity_;
  PlanList plans_;  // most recently used first
  std::unordered_map<std::string, PlanList::iterator> index_;
  // The plans with lifted literals, by the first bytes of their keys (a few
  // a bucket, the most recently added first).
  static constexpr size_t kKnownHead = 16, kKnownPerBucket = 4;
  std::array<std::vector<PlanList::iterator>, 64> known_;
  // The literals of the statement last given to PlanFor; its shape too
  // unless the statement was matched to a kept one.
  ShapedStatement scratch_;
  size_t hits_ = 0;
  size_t misses_ = 0;
  struct FileCloser {
    void operator()(std::FILE* f) const {
      if (f != nullptr) std::fclose(f);
    }
  };
  bool recorder_checked_ = false;
  std::unique_ptr<std::FILE, FileCloser> recorder_;
};

}  // namespace tsq
