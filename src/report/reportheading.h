#pragma once

#include "estimatereport.h"

class PageWriter;

// The top of the pages the window's summaries write beside the estimate (the budget summary,
// the loan statement): the title, then whose house, who builds it and where, ruled off.
namespace ReportHeading {
void print(PageWriter &page, const QString &title, const EstimateReport::Fields &fields);
}
