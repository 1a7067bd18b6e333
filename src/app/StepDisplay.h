// StepDisplay is the main window's row of workflow steps as the controller
// sees it: the step panels pnlStato1..7, the step controls Control1..7 in
// them, the step actions act01_Connect .. act07Reports and the flow buttons
// RadioButton1..3. It finds them in the window at start-up and redraws them
// from a step keeper:
//
//   StepDisplay display(view);
//   if (!display.find()) return;          // the window lacks an element (message shown)
//   display.update(keeper, true);         // yellow panel, enabled steps, status text
//
// Step i may be run when it is not beyond the current step (the end-of-work
// step 6 always may) and the keeper has it enabled. The job date may be
// edited up to the verification step.
#pragma once

#include <array>
#include <string>

class KroStepKeeper;
class OutputView;

class StepDisplay {
public:
    static constexpr int kStepCount = 7;
    static constexpr int kFlowCount = 3;

    explicit StepDisplay(OutputView& view);

    // Looks up the panels, controls and flow buttons, showing "Errore nel
    // caricamento dei pannelli di stato", "... dei Controlli" or "... dei
    // Pulsanti Radio" ("Errore!") for the first one missing.
    bool find();
    bool found() const { return found_; }
    // Redraws the steps from the keeper; off disables every step.
    void update(const KroStepKeeper& keeper, bool on);
    // The status-bar text of a step; nullptr outside 0 to 6.
    static const char* stepText(int step);

    const std::array<std::string, kStepCount>& statePanels() const { return statePanels_; }
    const std::array<std::string, kStepCount>& stepControls() const { return stepControls_; }
    const std::array<std::string, kFlowCount>& flowButtons() const { return flowButtons_; }

private:
    bool findElement(const std::string& name, const char* message);
    void showJobDate(int current);

    OutputView& view_;
    bool found_ = false;
    std::array<std::string, kStepCount> statePanels_;
    std::array<std::string, kStepCount> stepControls_;
    std::array<std::string, kFlowCount> flowButtons_;
};
