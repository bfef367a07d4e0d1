// Table routines of the eligibility checks: the qualifications a deployment
// type requires (Kvt717Qea), the qualifications a person holds (Kvt716Qzp)
// and the substitute working-time models of a person's day (Kvt329Ztg,
// Kvt140Azv, Kvt162Ers). Each cursor family has one process-wide cursor,
// opened and closed within one check.
#pragma once

#include <cstdint>

#include "common/fixed_text.h"
#include "optimise/person_record.h"

// Qualifications listed for the deployment type. Read: 0 a code delivered,
// 100 no more rows, -1 not open, otherwise the native error code or the fetch
// result (the code is left as it was then).
int32_t Qea_Qlf2Esa_Open(const char* deployment_type);
int32_t Qea_Qlf2Esa_Read(FixedText<6>& qualification);
int32_t Qea_Qlf2Esa_Close();

// 0 when the person holds the qualification on the date (valid from on or
// before it, to on or after it or open), 100 when not, -1 without a
// statement handle, otherwise the native error code or the ODBC result.
int32_t Qzp_PnrQfk_Read(const char* pnr, const char* qualification, const char* date);

// Substitute models of the person's day plan for the date (models with a
// target time, valid on the date), in the database's order. Read puts the
// four model bounds of the next row into the person record; results as for
// Qea_Qlf2Esa_Read.
int32_t Ers_AzvZtg_Open(const PnrSatz& person);
int32_t Ers_AzvZtg_Read(PnrSatz& person);
int32_t Ers_AzvZtg_Close();
