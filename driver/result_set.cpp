#include "result_set.h"

#include <cstring>

namespace tsqlite {

void RowStore::AddReal(double v) {
  Cell cell{ValueType::kReal, 0, {0}};
  cell.real = v;
  cells_.push_back(cell);
}

void RowStore::AddText(const char* data, size_t size) {
  Cell cell{ValueType::kText, static_cast<uint32_t>(size), {0}};
  cell.offset = texts_.size();
  if (size > 0) texts_.append(data, size);
  cells_.push_back(cell);
}

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

Value RowStore::At(size_t index) const {
  const Cell& cell = cells_[index];
  Value v;
  v.type = cell.type;
  switch (cell.type) {
    case ValueType::kInteger:
      v.integer = cell.integer;
      break;
    case ValueType::kReal:
      v.real = cell.real;
      break;
    case ValueType::kText:
      v.text = std::string_view(texts_.data() + cell.offset, cell.size);
      break;
    case ValueType::kNull:
      break;
  }
  return v;
}

}  // namespace tsqlite
