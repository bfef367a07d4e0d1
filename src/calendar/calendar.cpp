// Placeholder until the calendar lookups land: no calendar is known.
#include "calendar/calendar.h"

int32_t Kalendertag_Ermitteln(const char* date, int32_t, FixedText<9>& result) {
  result.set(date);
  return 100;
}
int32_t Bak_Tag_Read(BakDay&) {
  return 100;
}
int32_t Bak_MaxDtm_Read(FixedText<9>&) {
  return 100;
}
int32_t Bak_Wtg_Read(const char*, int32_t&) {
  return 100;
}
int32_t Pka_Tag_Read(const char*, const char*, FixedText<4>&, int32_t&) {
  return 100;
}
int32_t Plg_Hzt_Read(const char*, int32_t&) {
  return 100;
}
void Planzeitraum_Ermitteln(const char*, RunContext&) {}
