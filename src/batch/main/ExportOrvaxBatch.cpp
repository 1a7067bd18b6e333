// ExportOrvaxBatch: the operator's job unattended (see batch/BatchRun.h).
#include <iostream>

#include "batch/BatchRun.h"

int main(int argc, char** argv) {
    BatchRun run(std::cout, std::cerr);
    return run.main(argc, argv);
}
