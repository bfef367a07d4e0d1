#include "proposal_actions.h"

#include <cstdint>

#include "db/connection.h"
#include "db/sql_text.h"
#include "db/staffing_cursor.h"
#include "optimise/staffing_update.h"
#include "proposal_status.h"

namespace ctl {
namespace {

// One staffing-matrix slot by its key.
struct SlotKey {
  std::string plan_group, location, type, day;  // day yyyymmdd
  int32_t start = 0;
  int32_t assignment_type = 0;
  std::string Text() const {
    return plan_group + "/" + location + "/" + type + " " + day + " " + std::to_string(start) +
           " (" + std::to_string(assignment_type) + ")";
  }
};

struct Proposal {
  std::string person;
  SlotKey leaving, joining;
  std::string joining_code;
  int32_t joining_end = 0;
  long status = 0;
};

int32_t Int(const Row& r, size_t i) {
  const long v = CellNumber(r, i);
  return v < INT32_MIN || v > INT32_MAX ? 0 : static_cast<int32_t>(v);
}

// Lends the session's connection and the schema to the job's database layer
// for the lifetime of the object.
class LentConnection {
 public:
  LentConnection(OdbcSession& session, const std::string& schema) {
    db::UseConnection(session.handle());
    db::SetSchema(schema);
  }
  ~LentConnection() { db::UseConnection(SQL_NULL_HDBC); }
  LentConnection(const LentConnection&) = delete;
  LentConnection& operator=(const LentConnection&) = delete;
};

bool ReadProposal(OdbcSession& session, const std::string& schema, const std::string& key,
                  Proposal& p, std::string& reason) {
  std::vector<Row> rows;
  if (!session.Query(db::SqlText("SELECT BdkPnr, convert(char(8), BdkBdt, 112), BdkPlg, BdkEso, "
                                 "BdkEsa, BdkSzv, BdkAsw, BdkOso, BdkOsa, BdkOsz, BdkOsv, BdkOsb, "
                                 "BdkOsw, BdkSta FROM %s.Kvt735Bdk WHERE BdkKey = '%s'",
                                 {schema, key}),
                     rows)) {
    reason = "cannot read the proposal: " + session.error().Text();
    return false;
  }
  if (rows.size() != 1) {
    reason = rows.empty() ? "no such proposal" : "the key names more than one proposal";
    return false;
  }
  const Row& r = rows.front();
  p.person = CellText(r, 0);
  const std::string day = CellText(r, 1);
  const std::string plan_group = CellText(r, 2);
  p.leaving = SlotKey{plan_group, CellText(r, 3), CellText(r, 4), day, Int(r, 5), Int(r, 6)};
  p.joining = SlotKey{plan_group, CellText(r, 7), CellText(r, 8), day, Int(r, 10), Int(r, 12)};
  p.joining_code = CellText(r, 9);
  p.joining_end = Int(r, 11);
  p.status = Int(r, 13);
  if (p.status != kProposalOpen) {
    reason = "not open (" + ProposalStatusName(p.status) + ")";
    return false;
  }
  return true;
}

// Runs a write that must change exactly one row.
bool WriteOne(OdbcSession& session, const std::string& sql, const char* what, std::string& reason) {
  SQLLEN rows = -1;
  if (!session.Exec(sql, &rows)) {
    reason = std::string("cannot ") + what + ": " + session.error().Text();
    return false;
  }
  if (rows != 1) {
    reason = std::string("cannot ") + what + ": " + std::to_string(rows) + " rows matched";
    return false;
  }
  return true;
}

bool MoveAssignment(OdbcSession& session, const std::string& schema, const Proposal& p,
                    std::string& reason) {
  const SlotKey& from = p.leaving;
  const SlotKey& to = p.joining;
  SQLLEN rows = -1;
  const std::string sql = db::SqlText(
      "UPDATE %s.Kvt730Bdp SET BdpEso = '%s', BdpEsa = '%s', BdpBsz = '%s', BdpSzv = %ld, "
      "BdpSzb = %ld, BdpAsw = %ld, BdpZtv = %ld, BdpZtb = %ld WHERE BdpPnr = '%s' AND BdpBdt = "
      "convert(datetime, '%s', 112) AND BdpPlg = '%s' AND BdpEso = '%s' AND BdpEsa = '%s' AND "
      "BdpSzv = %ld AND BdpAsw = %ld AND BdpAkt <> 9999 AND BdpSts = ' ' AND BdpSta = 0 AND "
      "BdpFc1 = '   ' AND BdpFc2 = '   ' AND BdpFc3 = '   '",
      {schema, to.location, to.type, p.joining_code, to.start, p.joining_end, to.assignment_type,
       to.start, p.joining_end, p.person, from.day, from.plan_group, from.location, from.type,
       from.start, from.assignment_type});
  if (!session.Exec(sql, &rows)) {
    reason = "cannot move the assignment: " + session.error().Text();
    return false;
  }
  if (rows == 0) {
    reason = "the assignment is no longer active and movable in " + from.Text();
    return false;
  }
  if (rows != 1) {
    reason = std::to_string(rows) + " assignments match the proposal";
    return false;
  }
  return true;
}

// Reads the staffing row of `slot` and recounts it with the job's code.
// 0 done, 100 no such row, otherwise the failing result with `reason`.
int32_t RecountSlot(const SlotKey& slot, std::string& reason) {
  db::LastDiag() = db::DiagRecord{};
  BsmCursor cursor;
  int32_t rc = cursor.Open([&](bool with_optional) {
    const std::string format =
        std::string("SELECT ") + BsmColumnList(with_optional) +
        " FROM %s.Kvt725Bsm WHERE BsmPlg = '%s' AND BsmEso = '%s' AND BsmEsa = '%s' AND BsmBdt = "
        "convert(datetime, '%s', 112) AND BsmSzv = %ld AND BsmAsw = %ld";
    return db::SqlText(format.c_str(), {db::Schema(), slot.plan_group, slot.location, slot.type,
                                        slot.day, slot.start, slot.assignment_type});
  });
  BsmRow row;
  if (rc == 0 || rc == 1) rc = cursor.Read(row);
  cursor.Close();
  if (rc == 100) {
    reason = "no staffing row for " + slot.Text();
    return rc;
  }
  if (rc == 0) rc = Update_BsmSatz(row);
  if (rc != 0) {
    reason = "cannot recount " + slot.Text() + " (RC " + std::to_string(rc) + ": " +
             db::LastDiag().message + ")";
  }
  return rc;
}

bool Carry(OdbcSession& session, const std::string& schema, ProposalAction action,
           const std::string& key, std::string& reason) {
  Proposal p;
  if (!ReadProposal(session, schema, key, p, reason)) return false;
  const bool accept = action == ProposalAction::kAccept;
  if (accept && !MoveAssignment(session, schema, p, reason)) return false;
  const long status = accept ? kProposalAccepted : kProposalRejected;
  if (!WriteOne(session,
                db::SqlText("UPDATE %s.Kvt735Bdk SET BdkSta = %ld WHERE BdkKey = '%s' AND BdkSta "
                            "= 9",
                            {schema, static_cast<int32_t>(status), key}),
                "close the proposal", reason)) {
    return false;
  }
  // The joining slot first, as the job recounts after a proposal.
  for (const SlotKey* slot : {&p.joining, &p.leaving}) {
    const int32_t rc = RecountSlot(*slot, reason);
    // A rejected proposal whose slot row is gone has nothing left to correct.
    if (rc == 100 && !accept) continue;
    if (rc != 0) return false;
  }
  return true;
}

}  // namespace

bool ActOnProposal(OdbcSession& session, const std::string& schema, ProposalAction action,
                   const std::string& key, std::string& reason) {
  reason.clear();
  // A driver may answer "option value changed" and stay in autocommit: only
  // the mode read back counts.
  SQLUINTEGER mode = SQL_AUTOCOMMIT_ON;
  SQLSetConnectAttr(session.handle(), SQL_ATTR_AUTOCOMMIT,
                    reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), SQL_IS_UINTEGER);
  if (!SQL_SUCCEEDED(SQLGetConnectAttr(session.handle(), SQL_ATTR_AUTOCOMMIT, &mode, 0, nullptr)) ||
      mode != SQL_AUTOCOMMIT_OFF) {
    reason = "the connection offers no transactions";
    return false;
  }
  LentConnection lent(session, schema);
  if (Carry(session, schema, action, key, reason)) {
    if (session.EndTransaction(SQL_COMMIT)) return true;
    reason = "cannot commit: " + session.error().Text();
  }
  if (!session.EndTransaction(SQL_ROLLBACK)) {
    reason += "; the rollback failed too: " + session.error().Text();
  }
  return false;
}

bool SelectOpenKeys(OdbcSession& session, const std::string& schema, const OpenSelection& which,
                    std::vector<std::string>& keys, std::string& error) {
  std::string sql =
      db::SqlText("SELECT BdkKey FROM %s.Kvt735Bdk WHERE BdkSta = 9 AND BdkPlg = '%s'",
                  {schema, which.plan_group});
  if (!which.before.empty()) {
    sql += db::SqlText(" AND BdkBdt < convert(datetime, '%s', 112)", {which.before});
  }
  if (which.has_verdict) {
    sql += db::SqlText(" AND BdkFnr = %ld", {static_cast<int32_t>(which.verdict)});
  }
  sql += " ORDER BY BdkBdt, BdkKey";
  std::vector<Row> rows;
  if (!session.Query(sql, rows)) {
    error = "cannot read the proposals: " + session.error().Text();
    return false;
  }
  keys.clear();
  for (const Row& r : rows) keys.push_back(CellText(r, 0));
  return true;
}

}  // namespace ctl
