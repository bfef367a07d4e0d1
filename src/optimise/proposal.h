// The move proposal: one open row in Kvt735Bdk that proposes to move the
// person of an assignment in a surplus slot to a short slot of the same day.
// The eligibility checks judge the person first; their verdict never refuses
// anybody, it travels with the proposal in BdkFnr. A person whose assignment
// already has an open proposal (BdkSta 9) is refused, and so is one whose
// open proposals cannot be counted. A proposal that the count does not find
// open right after its insert is not reported as recorded.
#pragma once

#include <cstdint>
#include <string>

#include "optimise/assignment_row.h"
#include "optimise/person_record.h"
#include "optimise/proposal_row.h"

// Result 1 when a proposal row was inserted (and is counted as open), 0
// otherwise. The checks write
// their verdict into `person`.
int32_t Erstelle_Umbesetzungsvorschlag(PnrSatz& person, const BssSatz& target,
                                       const BdpRow& assignment);

// Counts the open proposals of the assignment (person, location, type, day,
// slot start) into `count`, which is 0 first. 0 counted, 100 no row, -1 no
// handle, else the native error of the execution (-1 when it is 0) or the
// fetch result.
int32_t Bdk_isPnrVerplant(const BdpRow& assignment, int32_t& count);

// Inserts the row (BdkDat becomes the server's current time). 0 inserted,
// else 1 (success with information), -1 or the native error.
int32_t Bdk_Insert(const BdkRow& row);

// "OPTVS" and the four draws in reverse order: r4, r3, r2, r1.
std::string ProposalKey(int32_t r1, int32_t r2, int32_t r3, int32_t r4);

// Four successive draws of the run's generator, each in 0..32767, formatted
// by ProposalKey.
std::string DrawProposalKey();

// The proposal row for `person` (already judged, its error number becomes
// BdkFnr), leaving `assignment` for `target`, with `key`.
BdkRow BuildProposal(const PnrSatz& person, const BssSatz& target, const BdpRow& assignment,
                     const std::string& key);
