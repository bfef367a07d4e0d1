// Placeholder until the eligibility checks land: nothing objects.
#include "optimise/eligibility.h"

int32_t Zeitfenster_OK(PnrSatz&, int32_t, int32_t) {
  return 1;
}
int32_t IndikatorPrf(PnrSatz&, const BssSatz&, int32_t) {
  return 1;
}
