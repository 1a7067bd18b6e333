#include "app/RemittanceFlow.h"

#include <string>

#include "app/OutputView.h"
#include "app/TfrmOutput.h"
#include "app/ViewFlowListener.h"
#include "core/Text.h"
#include "db/KroMy_DBUtils.h"
#include "environment/KroWitness.h"
#include "flows/RemittanceReport.h"

namespace {

// What the report tells, to the window: ViewFlowListener's forwarding and
// the bar over the remittances.
class ReportListener : public RemittanceReport::Listener {
public:
    explicit ReportListener(TfrmOutput& controller) : controller_(controller), view_(controller) {}

    void statusText(const std::string& text) override { view_.statusText(text); }
    void monitorLine(const std::string& line) override { view_.monitorLine(line); }
    void progress(int position, int maximum) override { view_.progress(position, maximum); }
    void error(const std::string& text) override { view_.error(text); }
    void remittanceProgress(int position, int maximum) override {
        controller_.view().setProgress("psbDistinte", position, maximum);
        controller_.view().processEvents();
    }

private:
    TfrmOutput& controller_;
    ViewFlowListener view_;
};

}  // namespace

RemittanceFlow::RemittanceFlow(TfrmOutput& controller) : c_(controller) {}

bool RemittanceFlow::WriteRemittances() {
    KroMy_DBUtils* db = c_.dbUtils();
    KroWitness* witness = c_.witness();
    RemittanceReport::Outcome outcome = RemittanceReport::Outcome::kFileFailed;
    if (db != nullptr && witness != nullptr) {
        ReportListener listener(c_);
        RemittanceReport report(*db, listener, c_.reportFile(), c_.workDate(), c_.env());
        const RemittanceReport::Job job{c_.jobName(), &witness->jobDate(), c_.jobType()};
        outcome = report.WriteRemittances(job, text::toNarrow(c_.view().text("tbDstFile"))).outcome;
    }
    if (outcome == RemittanceReport::Outcome::kFileFailed) {
        c_.view().show(u"Impossibile creare il file di scarico", u"Errore",
                       ModalMessageBox::kIconError | ModalMessageBox::kOk);
        c_.MonitorLine(RemittanceReport::kAborted);
    }
    return outcome == RemittanceReport::Outcome::kWritten;
}
