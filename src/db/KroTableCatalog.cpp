#include "db/KroTableCatalog.h"

namespace {

// A job whose name holds "CC" (letter case kept) names its tables without the date.
bool hasShortTableNames(const std::string& job) {
    return job.find("CC") != std::string::npos;
}

}  // namespace

std::string KroTableCatalog::documentTable(const std::string& job, const std::string& jobDate) {
    return hasShortTableNames(job) ? fill("%s_DOC", job) : guideDocumentTable(job, jobDate);
}

std::string KroTableCatalog::listTable(const std::string& job, const std::string& jobDate) {
    return hasShortTableNames(job) ? fill("%s_DIST", job) : guideListTable(job, jobDate);
}

std::string KroTableCatalog::guideDocumentTable(const std::string& job,
                                                const std::string& jobDate) {
    return fill("%s_%s_GUI_DOC", job, jobDate);
}

std::string KroTableCatalog::guideListTable(const std::string& job, const std::string& jobDate) {
    return fill("%s_%s_GUI_DIST", job, jobDate);
}

std::string KroTableCatalog::vaultDocumentTable(const std::string& jobType) {
    return fill("CAVEAU_%s_DOC", jobType);
}
