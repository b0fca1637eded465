// Writes the full estimate that the export figures read, with the history of DRAWS draws
// when it is given: write_estimate OUT.vrn [DRAWS]
#include "fullestimate.h"

#include "core/document/estimatefile.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[])
{
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: write_estimate OUT.vrn [DRAWS]\n");
        return 2;
    }
    const EstimateContent content = argc == 3 ? fullEstimateWithDraws(std::atoi(argv[2])) : fullEstimate();
    QString errorString;
    if (!EstimateFile::save(QString::fromLocal8Bit(argv[1]), content, &errorString)) {
        std::fprintf(stderr, "write_estimate: %s\n", qPrintable(errorString));
        return 1;
    }
    return 0;
}
