// Placeholder until the over-staffing sweep lands.
#include "optimise/sweep.h"

void UebBsz_Work_Plg(RunContext&, const char*) {}
void UebBsz_Work_Eso(RunContext&, const char*, const char*) {}
void UebBsz_Work_Esa(RunContext&, const char*, const char*, const char*) {}
