#include "result_set.h"

#include <cstring>

namespace tsqlite {

void RowStore::EndRow() {
  if (rows_ == 0) width_ = cells_.size();
  // Every row as wide as the first: a shorter one is filled up, a longer one cut.
  const size_t want = (rows_ + 1) * width_;
  while (cells_.size() < want) AddNull();
  cells_.resize(want, Cell{ValueType::kNull, 0, {0}});
  ++rows_;
}

void RowStore::push_back(const std::vector<Value>& row) {
  for (const Value& v : row) {
    switch (v.type) {
      case ValueType::kNull:
        AddNull();
        break;
      case ValueType::kInteger:
        AddInteger(v.integer);
        break;
      case ValueType::kReal:
        AddReal(v.real);
        break;
      case ValueType::kText:
        AddText(v.text.data(), v.text.size());
        break;
    }
  }
  EndRow();
}

}  // namespace tsqlite
