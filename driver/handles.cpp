#include "handles.h"

namespace tsqlite {
namespace {

// Reads the tag at the start of every handle.
bool HasTag(SQLHANDLE h, HandleTag tag) {
  return h != nullptr && *static_cast<const HandleTag*>(h) == tag;
}

}  // namespace

Env* AsEnv(SQLHANDLE h) {
  return HasTag(h, HandleTag::kEnv) ? static_cast<Env*>(h) : nullptr;
}
Dbc* AsDbc(SQLHANDLE h) {
  return HasTag(h, HandleTag::kDbc) ? static_cast<Dbc*>(h) : nullptr;
}
Stmt* AsStmt(SQLHANDLE h) {
  return HasTag(h, HandleTag::kStmt) ? static_cast<Stmt*>(h) : nullptr;
}

}  // namespace tsqlite
