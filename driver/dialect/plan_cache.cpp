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

// A hash of a statement text. Texts of one shape differ in a few bytes only,
// so every byte counts; four lanes of eight bytes each keep the multiplier
// busy instead of waiting on one chain.
uint64_t TextHash(std::string_view text) {
  constexpr uint64_t kMultiplier = 0x9e3779b97f4a7c15ull;
  auto mix = [](uint64_t h, uint64_t word) { return ((h << 5 | h >> 59) ^ word) * kMultiplier; };
  auto word_at = [&](size_t i) {
    uint64_t word;
    std::memcpy(&word, text.data() + i, 8);
    return word;
  };
  uint64_t lane[4] = {text.size(), 1, 2, 3};
  size_t i = 0;
  for (; i + 32 <= text.size(); i += 32) {
    for (size_t k = 0; k < 4; ++k) lane[k] = mix(lane[k], word_at(i + 8 * k));
  }
  for (; i + 8 <= text.size(); i += 8) lane[0] = mix(lane[0], word_at(i));
  uint64_t tail = 0;
  if (i < text.size()) std::memcpy(&tail, text.data() + i, text.size() - i);
  uint64_t h = mix(lane[0], tail);
  for (size_t k = 1; k < 4; ++k) h = mix(h, lane[k]);
  return h ^ (h >> 32);
}

}  // namespace

PlanCache::SeenText* PlanCache::FindText(uint64_t hash, std::string_view tsql) {
  const auto seen = text_index_.find(TextKey{hash, tsql});
  if (seen == text_index_.end()) return nullptr;
  texts_.splice(texts_.begin(), texts_, seen->second);
  return &texts_.front();
}

PlanCache::SeenText* PlanCache::RememberText(uint64_t hash, std::string_view tsql) {
  if (texts_capacity_ == 0) return nullptr;
  // Most texts are sent once only (their values are new): a text is kept
  // when it comes again, so that the kept ones are those that pay.
  uint64_t& sighting = sightings_[hash % sightings_.size()];
  if (sighting != hash) {
    sighting = hash;
    return nullptr;
  }
  if (texts_.size() >= texts_capacity_) {
    // The least recently seen goes; its buffers too, so that no entry keeps
    // the room of the longest text it ever held.
    text_index_.erase(TextKey{texts_.back().hash, texts_.back().text});
    texts_.pop_back();
  }
  SeenText& entry = texts_.emplace_front();
  entry.text.assign(tsql);
  entry.hash = hash;
  entry.shape.key = scratch_.key;
  entry.shape.literals = scratch_.literals;
  // The literals as written view the remembered text from now on.
  for (Literal& l : entry.shape.literals) {
    l.raw = std::string_view(entry.text)
                .substr(static_cast<size_t>(l.raw.data() - tsql.data()), l.raw.size());
  }
  text_index_.emplace(TextKey{hash, entry.text}, texts_.begin());
  return &entry;
}

void PlanCache::Forget(PlanList::iterator plan) {
  for (SeenText& seen : texts_) {
    if (seen.has_plan && seen.plan == plan) seen.has_plan = false;
  }
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
  const uint64_t hash = TextHash(tsql);
  SeenText* seen = FindText(hash, tsql);
  PlanList::iterator known;
  bool matched = false;
  if (seen == nullptr) {
    matched = MatchKnownShape(tsql, known);
    if (!matched && !ShapeStatement(tsql, scratch_)) {
      shape_ = &scratch_;
      return nullptr;
    }
    seen = RememberText(hash, tsql);
  }
  shape_ = seen != nullptr ? &seen->shape : &scratch_;
  if (seen != nullptr && seen->has_plan) {
    ++hits_;
    plans_.splice(plans_.begin(), plans_, seen->plan);
    return &plans_.front();
  }
  CachedPlan* plan = nullptr;
  if (matched) {
    ++hits_;
    plans_.splice(plans_.begin(), plans_, known);
    plan = &plans_.front();
  } else {
    plan = Find(shape_->key);
  }
  if (plan != nullptr && plan->literal_only) plan = Find(RawKey(tsql));
  if (plan == nullptr) plan = Compile(db, tsql);
  if (plan != nullptr && seen != nullptr) {
    // Find and Insert leave the plan they return at the front.
    seen->plan = plans_.begin();
    seen->has_plan = true;
  }
  return plan;
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
  plan.key = shape_->key;
  if (!shape_->literals.empty()) {
    const Translation shaped = Translate(shape_->key);
    std::string sql;
    if (shaped.ok &&
        BindableTranslation(shaped.sqlite_sql, shape_->literals, plain.sqlite_sql, sql)) {
      plan.stmt = CompileText(db, sql);
      plan.parameters = shape_->literals.size();
    }
  }
  if (plan.stmt == nullptr) {
    plan.stmt = CompileText(db, plain.sqlite_sql);
    if (plan.stmt == nullptr) return nullptr;
    plan.parameters = 0;
    if (!shape_->literals.empty()) {
      // The literals decide this shape's translation: only the same text shares it.
      CachedPlan marker;
      marker.key = shape_->key;
      marker.literal_only = true;
      Insert(std::move(marker));
      plan.key = RawKey(tsql);
    }
  }
  return Insert(std::move(plan));
}

void PlanCache::Bind(const CachedPlan& plan) const {
  for (size_t i = 0; i < plan.parameters && i < shape_->literals.size(); ++i) {
    const Literal& l = shape_->literals[i];
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
  ++hits_;
  plans_.splice(plans_.begin(), plans_, it->second);
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
  const size_t first_literal = plans_.front().key.find("'\x01");
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
  text_index_.clear();
  texts_.clear();
  for (std::vector<PlanList::iterator>& bucket : known_) bucket.clear();
  shape_ = &scratch_;
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
  for (size_t i = 0; i < plan.parameters && i < shape_->literals.size(); ++i) {
    const Literal& l = shape_->literals[i];
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
