// RemittanceFlow is the remittance production (flow 2) as the main window
// runs it: the report of the paper lists written to the file named in
// tbDstFile (its "_GGG" made the job date's day of the year) through
// TfrmOutput's report file, then the presentation copied into the vault's
// document table. The flow has no verification; TfrmOutput registers its
// writing for flow 2:
//
//   RemittanceFlow flow(controller);
//   controller.setFlowSteps(2, {nullptr, [&] { return flow.WriteRemittances(); }});
//
// The data side is RemittanceReport's. Its progress goes to the bars
// psbDistinte (remittances) and ProgressBar (documents), the window handling
// its pending events at each step; a report that cannot be created is told
// with "Impossibile creare il file di scarico" ("Errore").
#pragma once

class TfrmOutput;

class RemittanceFlow {
public:
    explicit RemittanceFlow(TfrmOutput& controller);

    // True when the report is complete and the vault table updated.
    bool WriteRemittances();

private:
    TfrmOutput& c_;
};
