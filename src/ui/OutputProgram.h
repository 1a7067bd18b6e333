// OutputProgram is ExportOrvax as it runs: the main window, the view over
// it, the controller TfrmOutput working in the home folder, and the binding
// between window and controller, made and ended in the order the window
// library gives a main form:
//
//   OutputProgram program(home);   // construction, then FormCreate
//   program.show();                // shown and activated: FormActivate
//   QApplication::exec();          // until the controller ends the program
//   program.finish();              // FormDestroy (the destructor does it too)
//
// The executable ExportOrvax and the window's tests both run it.
#pragma once

#include <memory>
#include <string>

#include "platform/Env.h"

class MainWindow;
class OutputWindowBinding;
class QtOutputView;
class TfrmOutput;

class OutputProgram {
public:
    // home: the folder with the paths file (empty: the current directory).
    explicit OutputProgram(const std::string& home = {}, Env* env = Env::Default());
    ~OutputProgram();
    OutputProgram(const OutputProgram&) = delete;
    OutputProgram& operator=(const OutputProgram&) = delete;

    void show();
    // Runs FormDestroy once.
    void finish();

    MainWindow& window() const { return *window_; }
    QtOutputView& view() const { return *view_; }
    TfrmOutput& controller() const { return *controller_; }

private:
    // Destroyed in the reverse order: the binding, the controller (and the
    // data sources its gateway owns), the view, the window.
    std::unique_ptr<MainWindow> window_;
    std::unique_ptr<QtOutputView> view_;
    std::unique_ptr<TfrmOutput> controller_;
    std::unique_ptr<OutputWindowBinding> binding_;
    bool finished_ = false;
};
