// RecalledFlow is the recalled-items flow (flow 1) as the main window runs
// it: the verification (documents not linked yet) and the writing (layout
// and output file opened, one "SORTER" record per document of the range, the
// block logged, the batch stamped, the file closed and, when chkCopyPath is
// checked, copied into the sorter's second folder). TfrmOutput registers the
// two for flow 1 in its verification and writing steps:
//
//   RecalledFlow flow(controller);
//   controller.setFlowSteps(1, {[&] { return flow.verify(); },
//                               [&] { return flow.write(); }});
//
// The data side is RecalledItemsWriter's: a failed document query writes no
// record and logs no block, and a run that fails is reported as failed.
#pragma once

class TfrmOutput;

class RecalledFlow {
public:
    explicit RecalledFlow(TfrmOutput& controller);

    bool verify();
    bool write();

private:
    void showError(const char* text, const char* caption);

    TfrmOutput& c_;
};
