// LoadingPageBuilder builds the page "Caricamento" (tsPreLoad) of the main
// window's page control: the flow labels lblCavMode and lblDocSel, the
// load-date boxes tbDataIn and tbDataOut, the block number tbBlockNo, the
// counts tbPraticheCount and tbAgg with the pocket label lblPkts, the hidden
// boxes tbBlocks, tbBatch and tbDstRecs, the record-layout box tbTrack, the
// extension combo box cboExt (CSV, NST, TXT), the panel Panel6 (disabled)
// with chkAssTasche ("Da programma", hidden until a flow shows it), the
// output-file box tbDstFile (read-only), and the monitor memMonitor under
// its label "Monitor".
#pragma once

class QWidget;

class LoadingPageBuilder {
public:
    static QWidget* build(QWidget* parent);
};
