#include "plan_cache.h"

#include <cstdlib>

namespace tsqlite {

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
    sqlite3_finalize(old->second->stmt);
    plans_.erase(old->second);
    index_.erase(old);
  }
  plans_.push_front(std::move(plan));
  index_[plans_.front().key] = plans_.begin();
  while (plans_.size() > capacity_ && capacity_ > 0) {
    CachedPlan& last = plans_.back();
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
}

std::FILE* PlanCache::recorder() {
  if (!recorder_checked_) {
    recorder_checked_ = true;
    const char* path = std::getenv("TSQLITE_RECORD");
    if (path != nullptr && *path != '\0') recorder_.reset(std::fopen(path, "ab"));
  }
  return recorder_.get();
}

}  // namespace tsqlite
