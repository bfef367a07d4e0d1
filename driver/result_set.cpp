#include "result_set.h"

#include <cstring>

namespace tsqlite {

namespace {

// Where an empty text points.
constexpr char kNoText[] = "";

}  // namespace

void RowStore::AddCellBlock() {
  cell_blocks_.push_back(std::make_unique_for_overwrite<Cell[]>(BlockCells(cell_blocks_.size())));
}

void RowStore::AddText(const char* data, size_t size) {
  Cell& cell = NewCell();
  cell.type = ValueType::kText;
  cell.size = static_cast<uint32_t>(size);
  cell.text = kNoText;
  if (size == 0) return;
  if (text_block_ >= text_blocks_.size() ||
      text_blocks_[text_block_].capacity - text_used_ < size) {
    // The current block is full: on to the next one, made (or made larger)
    // when it cannot take the text.
    if (text_block_ < text_blocks_.size()) ++text_block_;
    text_used_ = 0;
    if (text_block_ == text_blocks_.size()) text_blocks_.emplace_back();
    TextBlock& block = text_blocks_[text_block_];
    if (block.capacity < size) {
      const size_t grown = text_block_ < 4 ? kFirstTextBlockBytes << text_block_ : kTextBlockBytes;
      block.capacity = size > grown ? size : grown;
      block.data = std::make_unique_for_overwrite<char[]>(block.capacity);
    }
  }
  char* at = text_blocks_[text_block_].data.get() + text_used_;
  std::memcpy(at, data, size);
  text_used_ += size;
  cell.text = at;
}

void RowStore::EndRow() {
  if (rows_ == 0) width_ = cells_;
  // Every row as wide as the first: a shorter one is filled up, a longer one cut.
  const size_t want = (rows_ + 1) * width_;
  while (cells_ < want) AddNull();
  cells_ = want;
  ++rows_;
}

void RowStore::ClearAndTrim(size_t max_bytes) {
  Clear();
  size_t kept = 0;
  size_t cell_blocks = 0;
  while (cell_blocks < cell_blocks_.size() &&
         kept + BlockCells(cell_blocks) * sizeof(Cell) <= max_bytes / 2) {
    kept += BlockCells(cell_blocks) * sizeof(Cell);
    ++cell_blocks;
  }
  cell_blocks_.resize(cell_blocks);
  size_t text_blocks = 0;
  while (text_blocks < text_blocks_.size() &&
         kept + text_blocks_[text_blocks].capacity <= max_bytes) {
    kept += text_blocks_[text_blocks].capacity;
    ++text_blocks;
  }
  text_blocks_.resize(text_blocks);
}

size_t RowStore::capacity_bytes() const {
  size_t bytes = 0;
  for (size_t b = 0; b < cell_blocks_.size(); ++b) bytes += BlockCells(b) * sizeof(Cell);
  for (const TextBlock& block : text_blocks_) bytes += block.capacity;
  return bytes;
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
