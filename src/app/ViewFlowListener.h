// ViewFlowListener forwards what the flow engines tell (FlowListener) to the
// main window: status-bar texts, monitor lines (through the controller's
// MonitorLine), the progress bar "ProgressBar" with the window's pending
// events handled at each report, errors in a box ("Errore!", error icon),
// warnings ("Attenzione!", warning icon) and Yes/No questions (question icon).
//
//   ViewFlowListener listener(controller);
//   PocketAssignment pockets(*controller.dbUtils(), listener);
#pragma once

#include <string>

#include "flows/FlowListener.h"

class TfrmOutput;

class ViewFlowListener : public FlowListener {
public:
    explicit ViewFlowListener(TfrmOutput& controller);

    void statusText(const std::string& text) override;
    void monitorLine(const std::string& line) override;
    void progress(int position, int maximum) override;
    void error(const std::string& text) override;
    void warning(const std::string& text) override;
    bool question(const std::string& text, const std::string& caption) override;

private:
    TfrmOutput& controller_;
};
