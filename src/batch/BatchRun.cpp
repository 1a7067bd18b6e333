#include "batch/BatchRun.h"

#include "app/KroStepKeeper.h"
#include "app/TfrmOutput.h"
#include "batch/ConsoleView.h"
#include "core/Text.h"

namespace {

constexpr int kFlowStep = 1;
constexpr int kPocketStep = 3;
constexpr int kVerifyStep = 4;
constexpr int kWriteStep = 5;
constexpr const char16_t* kWritingFailed = u"Creazione flusso abortita";

// Types a date into a box and leaves it.
void typeDate(TfrmOutput& controller, ConsoleView& view, const char* box,
              const std::optional<std::string>& date) {
    if (date) {
        view.setText(box, text::toWide(*date));
        controller.tbDataExit(box);
    }
}

bool stepReached(const TfrmOutput& controller, const ConsoleView& view, int step) {
    return !view.terminated() && controller.stepKeeper() != nullptr &&
           controller.stepKeeper()->current() >= step;
}

}  // namespace

BatchRun::BatchRun(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}

const char* BatchRun::usage() {
    return "usage: ExportOrvaxBatch --flow N [--home DIR] [--from GG/MM/AAAA] [--to GG/MM/AAAA]\n"
           "                        [--answer yes|no] [--verbose]\n"
           "  --flow N     0 selection flow, 1 recalled items, 2 remittances\n"
           "  --home DIR   the start-up directory holding PERCORSI.PAT (default: current)\n"
           "  --from DATE  typed into the first load-date box (default: the proposed date)\n"
           "  --to DATE    typed into the last load-date box (required for flows 0 and 1)\n"
           "  --answer     the answer to every question (default: no)\n"
           "  --verbose    the status-bar texts on standard error too\n"
           "Exit status: 0 the flow was written, 1 the run failed, 2 usage error.\n";
}

int BatchRun::main(int argc, const char* const* argv) {
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.emplace_back(argv[i]);
    }
    const std::optional<Options> options = parse(arguments);
    if (!options) {
        err_ << usage();
        return kUsageError;
    }
    if (options->help) {
        out_ << usage();
        return kWritten;
    }
    return run(*options);
}

std::optional<BatchRun::Options> BatchRun::parse(const std::vector<std::string>& arguments) {
    Options options;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& name = arguments[i];
        if (name == "--help" || name == "-h") {
            options.help = true;
            return options;
        }
        if (name == "--verbose") {
            options.verbose = true;
            continue;
        }
        if (i + 1 >= arguments.size()) {
            err_ << "ExportOrvaxBatch: " << name << ": unknown option or value missing\n";
            return std::nullopt;
        }
        const std::string& value = arguments[++i];
        if (name == "--flow" && (value == "0" || value == "1" || value == "2")) {
            options.flow = value[0] - '0';
        } else if (name == "--home") {
            options.home = value;
        } else if (name == "--from") {
            options.from = value;
        } else if (name == "--to") {
            options.to = value;
        } else if (name == "--answer" && (value == "yes" || value == "no")) {
            options.answerYes = value == "yes";
        } else {
            err_ << "ExportOrvaxBatch: " << name << " " << value << ": not accepted\n";
            return std::nullopt;
        }
    }
    if (options.flow < 0) {
        err_ << "ExportOrvaxBatch: --flow is required\n";
        return std::nullopt;
    }
    if (options.flow != 2 && !options.to) {
        err_ << "ExportOrvaxBatch: --to is required for flows 0 and 1\n";
        return std::nullopt;
    }
    return options;
}

int BatchRun::run(const Options& options) {
    ConsoleView view(out_, err_,
                     options.answerYes ? ConsoleView::kAnswerYes : ConsoleView::kAnswerNo,
                     options.verbose);
    TfrmOutput controller(view, options.home);
    bool written = false;
    controller.FormCreate();
    if (controller.started()) {
        controller.FormActivate();
    }
    if (controller.started() && !view.terminated()) {
        controller.act01_ConnectExecute();
    }
    if (stepReached(controller, view, kFlowStep)) {
        typeDate(controller, view, "tbDataIn", options.from);
        typeDate(controller, view, "tbDataOut", options.to);
        const std::string button = "RadioButton" + std::to_string(options.flow + 1);
        view.setEnabled(button, true);
        controller.RadioButtonClick(button);
        if (!view.terminated() && controller.stepKeeper()->current() == kPocketStep) {
            controller.act03AssTasExecute();
        }
        if (stepReached(controller, view, kVerifyStep)) {
            controller.act05VerifyExecute();
        }
        if (stepReached(controller, view, kWriteStep)) {
            const size_t before = view.statusTexts().size();
            controller.act06UnloadExecute();
            written = !view.terminated();
            for (size_t i = before; i < view.statusTexts().size(); ++i) {
                written = written && view.statusTexts()[i] != kWritingFailed;
            }
        }
    }
    controller.act0EndExecute();
    controller.FormDestroy();
    return written ? kWritten : kFailed;
}
