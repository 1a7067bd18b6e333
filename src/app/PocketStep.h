// PocketStep is the pocket-assignment step of the main window and its two
// load-date boxes: the step handler (serials filled first, the dates, the
// counts, the pocket-count check, the assignment), the check of a date box
// when the operator leaves it, and the counts shown in tbPraticheCount and
// tbAgg. The data work is PocketAssignment's; this class reads the window
// and shows the results. TfrmOutput owns one:
//
//   PocketStep step(controller);
//   step.leaveDateBox("tbDataIn");      // tbDataExit
//   step.run();                         // act03AssTasExecute
//
// The assignment is all or nothing: when it fails the range's pockets are
// as they were before the step, the operator has seen why, and the program
// ends as the step requires.
#pragma once

#include <string_view>

class TfrmOutput;

class PocketStep {
public:
    static constexpr int kPocketStep = 3;
    static constexpr int kFlowStep = 1;
    static constexpr int kLeastPockets = 8;
    // The work mode's parameter holding the documents' type code.
    static constexpr int kTypeCode = 5;

    explicit PocketStep(TfrmOutput& controller);

    void run();
    void leaveDateBox(std::string_view box);
    bool countDocuments();
    bool assignPockets();

private:
    bool readDateBox(std::string_view box, bool fromDate);
    void showError(const char* text);

    TfrmOutput& c_;
};
