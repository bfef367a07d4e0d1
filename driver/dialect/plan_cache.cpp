#include "dialect/plan_cache.h"

#include <charconv>
#include <cstdlib>
#include <cstring>

namespace tsq {
namespace {

// The cache key of a statement whose literals stay as written.
std::string RawKey(std::string_view tsql) {
  std::string key(1, '\x02');
  key.append(tsql);
  return key;
}

// Whether [tail, end) holds only blanks and ';'.
bool OnlyBlanks(const char* tail, const char* end) {
  for (; tail != nullptr && tail < end; ++tail) {
    if (*tail != ' ' && *tail != ';' && (*tail < '\t' || *tail > '\r')) return false;
  }
  return true;
}

sqlite3_stmt* CompileText(sqlite3* db, const std::string& sql) {
  sqlite3_stmt* st = nullptr;
  const char* tail = nullptr;
  const int rc = sqlite3_prepare_v3(db, sql.c_str(), static_cast<int>(sql.size()),
                                    SQLITE_PREPARE_PERSISTENT, &st, &tail);
  if (rc != SQLITE_OK || st == nullptr || !OnlyBlanks(tail, sql.data() + sql.size())) {
    sqlite3_finalize(st);
    return nullptr;
  }
  return st;
}

}  // namespace

void PlanCache::Forget(PlanList::iterator plan) {
  if (std::vector<PlanList::iterator>* bucket = KnownBucket(plan->key)) {
    std::erase(*bucket, plan);
  }
}

std::vector<PlanCache::PlanList::iterator>* PlanCache::KnownBucket(std::string_view head) {
  if (head.size() < kKnownHead) return nullptr;
  uint64_t words[2];
  static_assert(sizeof words == kKnownHead);
  std::memcpy(words, head.data(), sizeof words);
  const uint64_t h = (words[0] * 0x9e3779b97f4a7c15ull) ^ words[1];
  return &known_[(h * 0xff51afd7ed558ccdull >> 32) % known_.size()];
}

bool PlanCache::MatchKnownShape(std::string_view tsql, PlanList::iterator& plan) {
  std::vector<PlanList::iterator>* bucket = KnownBucket(tsql);
  if (bucket == nullptr) return false;
  for (PlanList::iterator candidate : *bucket) {
    if (MatchShape(candidate->key, tsql, scratch_)) {
      plan = candidate;
      return true;
    }
  }
  return false;
}

CachedPlan* PlanCache::PlanFor(sqlite3* db, std::string_view tsql) {
  CachedPlan* plan = nullptr;
  PlanList::iterator known;
  if (MatchKnownShape(tsql, known)) {
    plan = Use(known);
    if (plan->literal_only) scratch_.key = plan->key;  // what Compile may need
  } else if (ShapeStatement(tsql, scratch_)) {
    plan = Find(scratch_.key);
  } else {
    return nullptr;
  }
  if (plan != nullptr && plan->literal_only) plan = Find(RawKey(tsql));
  return plan != nullptr ? plan : Compile(db, tsql);
}

CachedPlan* PlanCache::Compile(sqlite3* db, std::string_view tsql) {
  const Translation plain = Translate(tsql);
  if (!plain.ok || (plain.kind != StatementKind::kQuery && plain.kind != StatementKind::kModify)) {
    return nullptr;
  }
  CachedPlan plan;
  plan.kind = plain.kind;
  plan.counts_rows = plain.counts_rows;
  plan.no_data_without_rows = plain.no_data_without_rows;
  plan.key = scratch_.key;
  if (!scratch_.literals.empty()) {
    const Translation shaped = Translate(scratch_.key);
    std::string sql;
    if (shaped.ok &&
        BindableTranslation(shaped.sqlite_sql, scratch_.literals, plain.sqlite_sql, sql)) {
      plan.stmt = CompileText(db, sql);
      plan.parameters = scratch_.literals.size();
    }
  }
  if (plan.stmt == nullptr) {
    plan.stmt = CompileText(db, plain.sqlite_sql);
    if (plan.stmt == nullptr) return nullptr;
    plan.parameters = 0;
    if (!scratch_.literals.empty()) {
      // The literals decide this shape's translation: only the same text shares it.
      CachedPlan marker;
      marker.key = scratch_.key;
      marker.literal_only = true;
      Insert(std::move(marker));
      plan.key = RawKey(tsql);
    }
  }
  return Insert(std::move(plan));
}

void PlanCache::Bind(const CachedPlan& plan) const {
  for (size_t i = 0; i < plan.parameters && i < scratch_.literals.size(); ++i) {
    const Literal& l = scratch_.literals[i];
    const int n = static_cast<int>(i + 1);
    switch (l.kind) {
      case Literal::Kind::kInteger:
        sqlite3_bind_int64(plan.stmt, n, l.integer);
        break;
      case Literal::Kind::kReal:
        sqlite3_bind_double(plan.stmt, n, l.real);
        break;
      case Literal::Kind::kText:
        sqlite3_bind_text(plan.stmt, n, l.text.data(), static_cast<int>(l.text.size()),
                          SQLITE_STATIC);
        break;
    }
  }
}

CachedPlan* PlanCache::Find(const std::string& key) {
  const auto it = index_.find(key);
  if (it == index_.end()) {
    ++misses_;
    return nullptr;
  }
  return Use(it->second);
}

CachedPlan* PlanCache::Use(PlanList::iterator plan) {
  ++hits_;
  plans_.splice(plans_.begin(), plans_, plan);
  return &plans_.front();
}

CachedPlan* PlanCache::Insert(CachedPlan plan) {
  const auto old = index_.find(plan.key);
  if (old != index_.end()) {
    Forget(old->second);
    sqlite3_finalize(old->second->stmt);
    plans_.erase(old->second);
    index_.erase(old);
  }
  plans_.push_front(std::move(plan));
  index_[plans_.front().key] = plans_.begin();
  // A key with lifted literals past its first bytes: new texts of its shape
  // are matched against it.
  const size_t first_literal = FirstLiteralAt(plans_.front().key);
  std::vector<PlanList::iterator>* bucket = KnownBucket(plans_.front().key);
  if (bucket != nullptr && first_literal != std::string::npos && first_literal >= kKnownHead) {
    bucket->insert(bucket->begin(), plans_.begin());
    if (bucket->size() > kKnownPerBucket) bucket->pop_back();
  }
  while (capacity_ > 0 && plans_.size() > capacity_) {
    CachedPlan& last = plans_.back();
    Forget(std::prev(plans_.end()));
    sqlite3_finalize(last.stmt);
    index_.erase(last.key);
    plans_.pop_back();
  }
  return &plans_.front();
}

void PlanCache::Clear() {
  for (CachedPlan& plan : plans_) sqlite3_finalize(plan.stmt);
  plans_.clear();
  index_.clear();
  for (std::vector<PlanList::iterator>& bucket : known_) bucket.clear();
}

std::FILE* PlanCache::Recorder() {
  if (!recorder_checked_) {
    recorder_checked_ = true;
    const char* path = std::getenv("TSQLITE_RECORD");
    if (path != nullptr && *path != '\0') recorder_.reset(std::fopen(path, "ab"));
  }
  return recorder_.get();
}

namespace {

// Writes `tag`, a blank, `n` and a line end to `f`, without stdio's formatter.
void PutNumberLine(std::FILE* f, const char* tag, long long n) {
  char line[32];
  char* p = line;
  while (*tag != '\0') *p++ = *tag++;
  p = std::to_chars(p, line + sizeof line - 1, n).ptr;
  *p++ = '\n';
  std::fwrite(line, 1, static_cast<size_t>(p - line), f);
}

// A "Q" record's head: the SQLite text and the count of values bound.
void PutStatement(std::FILE* f, const char* sql, size_t size, size_t parameters) {
  PutNumberLine(f, "Q ", static_cast<long long>(size));
  std::fwrite(sql, 1, size, f);
  std::fputc('\n', f);
  PutNumberLine(f, "", static_cast<long long>(parameters));
}

}  // namespace

void PlanCache::Record(const std::string& sqlite_sql) {
  std::FILE* f = Recorder();
  if (f != nullptr) PutStatement(f, sqlite_sql.c_str(), sqlite_sql.size(), 0);
}

void PlanCache::Record(const CachedPlan& plan) {
  std::FILE* f = Recorder();
  const char* sql = sqlite3_sql(plan.stmt);
  if (f == nullptr || sql == nullptr) return;
  PutStatement(f, sql, std::strlen(sql), plan.parameters);
  for (size_t i = 0; i < plan.parameters && i < scratch_.literals.size(); ++i) {
    const Literal& l = scratch_.literals[i];
    if (l.kind == Literal::Kind::kInteger) {
      PutNumberLine(f, "i ", static_cast<long long>(l.integer));
    } else if (l.kind == Literal::Kind::kReal) {
      std::fprintf(f, "r %.17g\n", l.real);
    } else {
      PutNumberLine(f, "t ", static_cast<long long>(l.text.size()));
      std::fwrite(l.text.data(), 1, l.text.size(), f);
      std::fputc('\n', f);
    }
  }
}

}  // namespace tsq
