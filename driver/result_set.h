// A materialised result set: every row of a query is read when the statement
// is executed, so that no SQLite statement stays active between ODBC calls.
// Values keep the storage class SQLite gave them. The rows live in one store
// per result: a cell of 16 bytes per value, the texts in blocks beside them.
#pragma once

#include <bit>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tsqlite {

enum class ValueType { kNull, kInteger, kReal, kText };

// One value, as handed out by a RowStore (its text viewing the store) or
// handed to one (its text copied in).
struct Value {
  ValueType type = ValueType::kNull;
  int64_t integer = 0;
  double real = 0.0;
  std::string_view text;  // also holds BLOB bytes
};

// The rows of a result, every row as wide as the first. Cells and texts live
// in blocks of fixed size that never move: a large result grows without
// copying what it holds, and a cleared store keeps its blocks for the next
// result. Owns its blocks; movable, not copyable.
class RowStore {
 public:
  class Row {
   public:
    Row(const RowStore& store, size_t first) : store_(&store), first_(first) {}
    size_t size() const { return store_->width_; }
    Value operator[](size_t column) const { return store_->At(first_ + column); }

   private:
    const RowStore* store_;
    size_t first_;
  };

  size_t size() const { return rows_; }
  bool empty() const { return rows_ == 0; }
  Row operator[](size_t row) const { return Row(*this, row * width_); }

  // Appends a row of copies of `row`'s values.
  void push_back(const std::vector<Value>& row);

  // Appends a row cell by cell: the cells, then EndRow().
  void AddNull() { NewCell() = Cell{ValueType::kNull, 0, {0}}; }
  void AddInteger(int64_t v) { NewCell() = Cell{ValueType::kInteger, 0, {v}}; }
  void AddReal(double v) {
    Cell& cell = NewCell();
    cell.type = ValueType::kReal;
    cell.size = 0;
    cell.real = v;
  }
  void AddText(const char* data, size_t size);
  void EndRow();

  // Empties the store but keeps its blocks for the next rows.
  void Clear() {
    width_ = 0;
    rows_ = 0;
    cells_ = 0;
    text_block_ = 0;
    text_used_ = 0;
  }
  // Empties the store and keeps at most about `max_bytes` of its blocks.
  void ClearAndTrim(size_t max_bytes);
  // Bytes the store's blocks hold, filled or not.
  size_t capacity_bytes() const;

 private:
  struct Cell {
    ValueType type;
    uint32_t size;  // bytes of a text
    union {
      int64_t integer;
      double real;
      const char* text;  // in one of text_blocks_
    };
  };
  // Cell blocks grow from 64 cells to 1024 (16 KiB) and stay at that size:
  // block 0 holds cells [0, 64), block b of 1..4 [2^(b+5), 2^(b+6)), block
  // b from 5 on [1024 (b-4), 1024 (b-3)). Small results stay small.
  static constexpr size_t kFirstBlockCells = 64;
  static constexpr size_t kCellShift = 10;
  static constexpr size_t kBlockCells = size_t{1} << kCellShift;
  // Text blocks grow from 1 KiB to 16 KiB; a longer text gets a block of its own size.
  static constexpr size_t kFirstTextBlockBytes = 1024;
  static constexpr size_t kTextBlockBytes = 16 * 1024;

  struct TextBlock {
    std::unique_ptr<char[]> data;
    size_t capacity = 0;
  };

  // The block of cell `index` and the cell's place in it.
  static size_t BlockOf(size_t index, size_t& offset) {
    if (index >= kBlockCells) {
      offset = index & (kBlockCells - 1);
      return 4 + (index >> kCellShift);
    }
    if (index < kFirstBlockCells) {
      offset = index;
      return 0;
    }
    const int width = std::bit_width(index);  // 7..10
    offset = index - (size_t{1} << (width - 1));
    return static_cast<size_t>(width) - 6;
  }
  static size_t BlockCells(size_t block) {
    if (block == 0) return kFirstBlockCells;
    return block <= 4 ? size_t{1} << (block + 5) : kBlockCells;
  }

  Cell& NewCell() {
    size_t offset = 0;
    const size_t block = BlockOf(cells_, offset);
    if (block == cell_blocks_.size()) AddCellBlock();
    ++cells_;
    return cell_blocks_[block][offset];
  }
  void AddCellBlock();

  Value At(size_t index) const {
    size_t offset = 0;
    const Cell& cell = cell_blocks_[BlockOf(index, offset)][offset];
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
        v.text = std::string_view(cell.text, cell.size);
        break;
      case ValueType::kNull:
        break;
    }
    return v;
  }

  size_t width_ = 0;
  size_t rows_ = 0;
  size_t cells_ = 0;  // cells in use
  std::vector<std::unique_ptr<Cell[]>> cell_blocks_;
  std::vector<TextBlock> text_blocks_;
  size_t text_block_ = 0;  // the block texts are appended to
  size_t text_used_ = 0;   // bytes of it in use
};

// What the driver tells a client about one result column.
struct ColumnInfo {
  std::string name;
  std::string table;      // base table, empty for expressions
  std::string schema;     // attached schema of the base table
  std::string type_name;  // the type name reported to clients
  int16_t sql_type = 0;   // SQL_VARCHAR, SQL_INTEGER, ...
  uint64_t column_size = 0;
  int16_t decimal_digits = 0;
  int64_t display_size = 0;
  int64_t octet_length = 0;
};

// A result column as the engine declares it: what a description starts from.
struct ColumnDecl {
  std::string name;
  std::string table;
  std::string schema;
  std::string decltype_text;  // empty for an expression
};
using ColumnDecls = std::shared_ptr<const std::vector<ColumnDecl>>;

struct ResultSet {
  // Described columns. A query's result is described when first asked (see
  // Described()), from `declared` alone: never from the rows it holds.
  std::vector<ColumnInfo> columns;
  ColumnDecls declared;  // null when `columns` is complete
  RowStore rows;

  size_t column_count() const { return declared ? declared->size() : columns.size(); }
};

}  // namespace tsqlite
