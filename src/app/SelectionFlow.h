// SelectionFlow is the selection flow (flow 0) as the main window runs it:
// the verification (the guide's due dates and the returns pocket on the
// monitor, or the warning that the recalled items' table is missing) and the
// writing (layout and output file opened, one "SORTER" record per guide
// document with a pocket, the recalled items appended in the returns pocket,
// the file closed and, when chkCopyPath is checked, copied into the sorter's
// second folder). TfrmOutput registers the two for flow 0 in its
// verification and writing steps:
//
//   SelectionFlow flow(controller);
//   controller.setFlowSteps(0, {[&] { return flow.verify(); },
//                               [&] { return flow.write(); }});
//
// The settings come from the window: the returns pocket udResi (tbResi),
// the default stamp udDefStamp, chkCopyPath and the output file tbDstFile;
// the job's name and date from the witness. The data side is
// SelectionFlowWriter's: a run that fails leaves no output file behind.
#pragma once

#include "flows/SelectionFlowWriter.h"

class TfrmOutput;

class SelectionFlow {
public:
    explicit SelectionFlow(TfrmOutput& controller);

    bool verify();
    bool write();
    // The "SORTER" record of the current row of the gateway's current data
    // set appended to the flow file (pocket 0: the row's T1; recalled rows
    // get no stamp). False, after the layout's message, when it cannot be
    // built or written.
    bool writeRecord(int pocket, bool recalled);

private:
    SelectionFlowWriter::Job job() const;
    void showError(const char* text, const char* caption);

    TfrmOutput& c_;
};
