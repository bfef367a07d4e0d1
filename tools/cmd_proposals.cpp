#include <cstdio>
#include <string>

#include "civil_date.h"
#include "commands.h"
#include "config_connection.h"
#include "proposal_actions.h"
#include "proposal_list.h"
#include "proposal_status.h"

namespace ctl {
namespace {

constexpr const char* kHelp =
    "Usage: plexorctl proposals list [--plan-group P] [--from yyyymmdd] [--to yyyymmdd]\n"
    "                                [--verdict N] [--status open|accepted|rejected|all]\n"
    "                                [--format text|json] [--lang de|en]\n"
    "       plexorctl proposals accept KEY...\n"
    "       plexorctl proposals reject KEY...\n"
    "       plexorctl proposals reject --plan-group P [--before yyyymmdd] [--verdict N]\n"
    "       each with --config FILE, or with the connection options and --schema\n"
    "\n"
    "Lists the move proposals of the job (default: the open ones) or acts on them.\n"
    "accept moves the person's assignment from the slot it leaves to the slot it\n"
    "joins and closes the proposal as accepted; it is refused unless the proposal\n"
    "is open and the assignment is still active and movable where the proposal\n"
    "says. reject closes open proposals as rejected. Each proposal is done in one\n"
    "transaction that also recounts the staffing rows of both slots; a refused\n"
    "proposal changes nothing and the others go on. One line per proposal; exit\n"
    "status 0 when every proposal was done, 1 when any was refused.\n"
    "\n"
    "Proposal status (BdkSta): 9 open (as the job records it), 1 accepted,\n"
    "2 rejected.\n"
    "\n";

bool ParseDay(const ParsedArgs& parsed, const char* name, std::string& out) {
  if (!parsed.Has(name)) return true;
  long day = 0;
  out = parsed.Value(name);
  return ParseText8(out, day);
}

int Usage(const std::string& error) {
  std::fprintf(stderr, "plexorctl proposals: %s\n", error.c_str());
  return 2;
}

int List(const ParsedArgs& parsed, OpenedDatabase& db, const std::string& schema) {
  ProposalFilter filter;
  filter.plan_group = parsed.Value("plan-group");
  long status = kProposalOpen;
  ProposalStatusOf(parsed.Value("status", "open"), status);
  if (status != kAnyStatus) filter.status = status;
  if (parsed.Has("verdict")) filter.verdict = std::stol(parsed.Value("verdict"));
  filter.from = parsed.Value("from");
  filter.to = parsed.Value("to");
  std::vector<ProposalEntry> lines;
  std::string error;
  if (!ReadProposals(db.session, schema, filter, lines, error)) {
    std::fprintf(stderr, "plexorctl proposals: %s\n", error.c_str());
    return 1;
  }
  const Language language =
      parsed.Value("lang", "de") == "en" ? Language::kEnglish : Language::kGerman;
  const std::string text = parsed.Value("format", "text") == "json"
                               ? ProposalsJson(lines, language)
                               : ProposalsText(lines, language);
  std::fputs(text.c_str(), stdout);
  return 0;
}

int Act(const ParsedArgs& parsed, OpenedDatabase& db, const std::string& schema,
        ProposalAction action) {
  std::vector<std::string> keys(parsed.positional.begin() + 1, parsed.positional.end());
  std::string error;
  if (keys.empty()) {
    OpenSelection which;
    which.plan_group = parsed.Value("plan-group");
    which.before = parsed.Value("before");
    which.has_verdict = parsed.Has("verdict");
    if (which.has_verdict) which.verdict = std::stol(parsed.Value("verdict"));
    if (!SelectOpenKeys(db.session, schema, which, keys, error)) {
      std::fprintf(stderr, "plexorctl proposals: %s\n", error.c_str());
      return 1;
    }
    if (keys.empty()) std::printf("no open proposal matches\n");
  }
  const char* done = action == ProposalAction::kAccept ? "accepted" : "rejected";
  int status = 0;
  for (const std::string& key : keys) {
    std::string reason;
    if (ActOnProposal(db.session, schema, action, key, reason)) {
      std::printf("%s %s\n", key.c_str(), done);
    } else {
      std::printf("%s refused: %s\n", key.c_str(), reason.c_str());
      status = 1;
    }
    std::fflush(stdout);
  }
  return status;
}

}  // namespace

int RunProposals(const std::vector<std::string>& args) {
  std::set<std::string> values = ConfiguredValueOptions();
  values.insert({"plan-group", "from", "to", "verdict", "status", "format", "lang", "before"});
  ParsedArgs parsed;
  const std::string help = std::string(kHelp) + kConfiguredConnectHelp + kConnectHelp;
  const int parsed_rc = ParseCommand("proposals", args, values, {}, help, parsed);
  if (parsed_rc >= 0) return parsed_rc;
  const std::string what = parsed.positional.empty() ? "" : parsed.positional.front();
  const bool list = what == "list";
  const bool accept = what == "accept";
  const bool reject = what == "reject";
  if (!list && !accept && !reject) return Usage("give list, accept or reject (see --help)");

  long number = 0;
  std::string day;
  if (parsed.Has("verdict") &&
      !ParseInt(parsed.Value("verdict"), -2147483648L, 2147483647L, number)) {
    return Usage("--verdict needs a number");
  }
  for (const char* name : {"from", "to", "before"}) {
    if (!ParseDay(parsed, name, day))
      return Usage(std::string("--") + name + " needs a date yyyymmdd");
  }
  if (parsed.Value("plan-group").size() > 5) return Usage("--plan-group has up to 5 characters");
  long status = kProposalOpen;
  if (!ProposalStatusOf(parsed.Value("status", "open"), status)) {
    return Usage("--status is open, accepted, rejected or all");
  }
  const std::string format = parsed.Value("format", "text");
  const std::string lang = parsed.Value("lang", "de");
  if ((format != "text" && format != "json") || (lang != "de" && lang != "en")) {
    return Usage("--format is text or json, --lang de or en");
  }
  const bool has_keys = parsed.positional.size() > 1;
  auto given = [&](std::initializer_list<const char*> names) {
    for (const char* n : names) {
      if (parsed.Has(n)) return true;
    }
    return false;
  };
  if (list && has_keys) return Usage("list takes no keys");
  if (list && given({"before"})) return Usage("--before belongs to reject");
  if (accept &&
      (!has_keys || given({"plan-group", "from", "to", "verdict", "status", "format", "before"}))) {
    return Usage("accept takes one or more keys and no filter");
  }
  if (reject &&
      (has_keys == parsed.Has("plan-group") || given({"from", "to", "status", "format"}) ||
       (has_keys && given({"before", "verdict"})))) {
    return Usage("reject takes keys, or --plan-group with --before and --verdict");
  }

  OpenedDatabase db;
  std::string schema, error;
  if (!OpenConfiguredDatabase(parsed, db, schema, error)) {
    std::fprintf(stderr, "plexorctl proposals: %s\n", error.c_str());
    return 1;
  }
  if (list) return List(parsed, db, schema);
  return Act(parsed, db, schema, accept ? ProposalAction::kAccept : ProposalAction::kReject);
}

}  // namespace ctl
