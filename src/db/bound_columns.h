// What a statement handle has bound: the columns a later round of bindings on
// the same handle need not bind again (see Columns in statement.h). Plain
// data, owned by whoever owns the handle, and cleared with every new handle.
#pragma once

#include <sql.h>
#include <sqlext.h>

namespace db {

// Up to kSlots columns are remembered; any beyond are always bound.
struct BoundColumns {
  struct Slot {
    SQLSMALLINT c_type = 0;
    SQLPOINTER target = nullptr;
    SQLLEN capacity = 0;
    bool operator==(const Slot&) const = default;
  };
  static constexpr SQLUSMALLINT kSlots = 64;
  Slot slots[kSlots];
  SQLUSMALLINT count = 0;  // columns bound on the handle, 1..count

  void Forget() { count = 0; }
};

}  // namespace db
