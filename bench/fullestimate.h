#pragma once

#include "core/document/estimatecontent.h"

// An estimate with every header field and every cell filled, as an owner-builder's sheet
// looks halfway through the building: suppliers, descriptions, estimates, payments and the
// cost to complete as the program works it out. A later month has more paid, so the texts
// of two months differ in every payment column.
EstimateContent fullEstimate(int month = 1);

// The full estimate after a long construction loan: draws draws, each paying something on
// every row, dated a month apart at a retainage of 10 %, each with a note; the loan kept, and
// the draws before the last in every state the lender leaves them: funded in full with fees,
// funded short with the rest asked again or paid by the owner, submitted, returned.
EstimateContent fullEstimateWithDraws(int draws);
