#include <cstdio>
#include <ctime>

#include "report_machine.h"
#include "report_slots.h"

namespace ctl {
namespace {

// A text that may be absent: null when empty.
std::string QuoteOrNull(const std::string& s) {
  return s.empty() ? "null" : JsonString(s);
}

// Builds one object's members; Text/Int/Raw append `"name": value`.
struct Members {
  std::string out;
  Members& Raw(const char* name, const std::string& value) {
    out += out.empty() ? "{" : ", ";
    out += std::string("\"") + name + "\": " + value;
    return *this;
  }
  Members& Text(const char* name, const std::string& value) { return Raw(name, JsonString(value)); }
  Members& Int(const char* name, long value) { return Raw(name, std::to_string(value)); }
  std::string Done() const { return out.empty() ? "{}" : out + "}"; }
};

std::string SlotObject(const SlotRef& s) {
  return Members()
      .Text("location", s.eso)
      .Text("type", s.esa)
      .Int("begin", s.von)
      .Int("end", s.bis)
      .Int("asw", s.asw)
      .Done();
}

std::string Counts(const std::map<long, long>& counts, const char* key) {
  std::string out = "[";
  for (const auto& [number, count] : counts) {
    if (out.size() > 1) out += ", ";
    out += Members().Int(key, number).Int("count", count).Done();
  }
  return out + "]";
}

template <typename T, typename F>
void Array(std::string& out, const char* name, const std::vector<T>& items, F object) {
  out += std::string(",\n  \"") + name + "\": [";
  bool first = true;
  for (const T& item : items) {
    out += first ? "\n    " : ",\n    ";
    first = false;
    out += object(item);
  }
  out += first ? "]" : "\n  ]";
}

}  // namespace

std::string ValidUtf8(const std::string& s) {
  std::string out;
  for (size_t i = 0; i < s.size();) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    size_t len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    bool ok = len != 0 && i + len <= s.size();
    for (size_t k = 1; ok && k < len; ++k) ok = (static_cast<unsigned char>(s[i + k]) >> 6) == 2;
    if (ok && len > 1) {
      // Overlong forms, surrogates and code points above U+10FFFF are invalid.
      unsigned long cp = c & (0x7f >> len);
      for (size_t k = 1; k < len; ++k)
        cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3f);
      const unsigned long least[] = {0, 0, 0x80, 0x800, 0x10000};
      ok = cp >= least[len] && cp <= 0x10ffff && (cp < 0xd800 || cp > 0xdfff);
    }
    if (ok) {
      out.append(s, i, len);
      i += len;
    } else {
      out += "\xef\xbf\xbd";
      ++i;
    }
  }
  return out;
}

std::string JsonString(const std::string& raw) {
  const std::string s = ValidUtf8(raw);
  std::string out = "\"";
  for (unsigned char c : s) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04x", c);
      out += buf;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

std::string GenerationTime() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char buf[40];
  std::strftime(buf, sizeof buf, "%Y-%m-%dT%H:%M:%S%z", &local);
  std::string s = buf;
  if (s.size() == 24) s.insert(22, ":");  // +hhmm -> +hh:mm
  return s;
}

std::string ReportJson(const ReportData& d, Language language) {
  std::string out = "{\n  \"generated\": " + JsonString(d.generated);
  out += ",\n  \"schema\": " + JsonString(d.schema);
  out += ",\n  \"plan_group\": " + JsonString(d.plan_group.empty() ? "all" : d.plan_group);
  out += ",\n  \"from\": " + JsonString(IsoDay(d.from));
  out += ",\n  \"to\": " + JsonString(IsoDay(d.to));
  out += ",\n  \"status\": " +
         JsonString(d.status == kAnyStatus ? "all" : ProposalStatusWord(d.status, "other"));
  Array(out, "slots", d.slots, [](const SlotCell& c) {
    return Members()
        .Text("plan_group", c.plg)
        .Text("date", IsoDay(c.day))
        .Text("location", c.slot.eso)
        .Text("type", c.slot.esa)
        .Text("slot_code", c.slot.bsz)
        .Int("begin", c.slot.von)
        .Int("end", c.slot.bis)
        .Int("asw", c.slot.asw)
        .Int("target", c.sol)
        .Int("min", c.min)
        .Int("max", c.max)
        .Int("count_now", c.effective)
        .Int("class_now", SlotClassNow(c))
        .Int("open_out", c.leaving)
        .Int("open_in", c.joining)
        .Int("count_if_accepted", CountIfAccepted(c))
        .Int("class_if_accepted", SlotClassIfAccepted(c))
        .Done();
  });
  Array(out, "proposals", d.proposals, [&](const ProposalLine& p) {
    return Members()
        .Text("key", p.key)
        .Text("plan_group", p.plg)
        .Text("date", IsoDay(p.day))
        .Text("person", p.pnr)
        .Raw("from", SlotObject(p.from))
        .Raw("to", SlotObject(p.to))
        .Int("verdict", p.fnr)
        .Text("verdict_text", VerdictReading(p.fnr, language))
        .Raw("created", QuoteOrNull(p.created))
        .Text("status", ProposalStatusWord(p.status, "other"))
        .Done();
  });
  Array(out, "errors", d.errors, [&](const ErrorLine& e) {
    return Members()
        .Text("plan_group", e.plg)
        .Text("date", IsoDay(e.day))
        .Text("location", e.slot.eso)
        .Text("type", e.slot.esa)
        .Int("begin", e.slot.von)
        .Int("end", e.slot.bis)
        .Int("number", e.fnr)
        .Text("text", VerdictReading(e.fnr, language))
        .Text("run_user", e.user)
        .Text("job_text_1", e.job_text_1)
        .Text("job_text_2", e.job_text_2)
        .Done();
  });
  Array(out, "summary", d.groups, [](const GroupSummary& g) {
    return Members()
        .Text("plan_group", g.plg)
        .Text("text", g.text)
        .Raw("run_begin", QuoteOrNull(g.run_begin))
        .Int("slots", g.slots)
        .Int("short_now", g.short_slots)
        .Int("short_if_accepted", g.short_after)
        .Int("surplus_now", g.surplus_slots)
        .Int("surplus_if_accepted", g.surplus_after)
        .Int("closed_only_by_objections", g.closed_by_objections)
        .Int("open_proposals", g.proposals)
        .Raw("open_proposals_by_verdict", Counts(g.by_verdict, "verdict"))
        .Int("error_rows", g.errors)
        .Raw("error_rows_by_number", Counts(g.errors_by_number, "number"))
        .Done();
  });
  return out + "\n}\n";
}

}  // namespace ctl
