#include "ui/OutputProgram.h"

#include "app/TfrmOutput.h"
#include "ui/MainWindow.h"
#include "ui/OutputWindowBinding.h"
#include "ui/QtOutputView.h"

OutputProgram::OutputProgram(const std::string& home, Env* env)
    : window_(std::make_unique<MainWindow>()),
      view_(std::make_unique<QtOutputView>(window_.get())),
      controller_(std::make_unique<TfrmOutput>(*view_, home, env)),
      binding_(
          std::make_unique<OutputWindowBinding>(window_.get(), view_.get(), controller_.get())) {
    binding_->run([this] { controller_->FormCreate(); });
}

OutputProgram::~OutputProgram() {
    finish();
}

void OutputProgram::show() {
    window_->show();
    window_->activateWindow();
}

void OutputProgram::finish() {
    if (finished_) {
        return;
    }
    finished_ = true;
    try {
        controller_->FormDestroy();
    } catch (const std::exception& error) {
        OutputWindowBinding::showException(view_.get(), error.what());
    } catch (...) {
        OutputWindowBinding::showException(view_.get(), "");
    }
}
