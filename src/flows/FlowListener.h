// FlowListener is what the flow engines (PocketAssignment,
// RecalledItemsWriter) tell their caller while they run: the status-bar
// text, monitor lines, progress over the documents and the messages for the
// operator's box. The main window's controller forwards them to its view;
// tests record them; every operation has an empty default.
//
//   class ToView : public FlowListener {
//       void monitorLine(const std::string& line) override { MonitorLine(line); }
//       ...
//   };
//
// Texts are the suite's narrow texts (Windows-1252). error() is shown with
// the caption "Errore!" and the error icon. progress() comes at the start,
// every few hundred documents and at the end, so a window can repaint and
// handle pending events without paying for it on every document.
//
// warning() is shown with "Attenzione!" and the warning icon; question()
// asks the operator Yes or No (question icon) and answers true for Yes; a
// listener that cannot ask answers No.
#pragma once

#include <string>

class FlowListener {
public:
    virtual ~FlowListener() = default;

    virtual void statusText(const std::string& text) { (void)text; }
    virtual void monitorLine(const std::string& line) { (void)line; }
    // position documents done out of maximum.
    virtual void progress(int position, int maximum) {
        (void)position;
        (void)maximum;
    }
    virtual void error(const std::string& text) { (void)text; }
    virtual void warning(const std::string& text) { (void)text; }
    virtual bool question(const std::string& text, const std::string& caption) {
        (void)text;
        (void)caption;
        return false;
    }
};
