// Writes the full estimate that the export figures read: write_estimate OUT.vrn
#include "fullestimate.h"

#include "core/document/estimatefile.h"

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: write_estimate OUT.vrn\n");
        return 2;
    }
    QString errorString;
    if (!EstimateFile::save(QString::fromLocal8Bit(argv[1]), fullEstimate(), &errorString)) {
        std::fprintf(stderr, "write_estimate: %s\n", qPrintable(errorString));
        return 1;
    }
    return 0;
}
