// BatchRun is the unattended run of ExportOrvaxBatch: the operator's job on
// the main-window controller through a console view, from the command line
//
//   ExportOrvaxBatch --flow N [--home DIR] [--from GG/MM/AAAA] [--to GG/MM/AAAA]
//                    [--answer yes|no] [--verbose]
//
// The run is what an operator does in the window: construction, start-up,
// activation, the connect step; --from typed into tbDataIn and --to into
// tbDataOut, each box left so that its check and the counts run; the flow's
// button (every flow, also those the window disables); the pocket step when
// the flow has it; verification, writing, the end action, destruction.
//
//   BatchRun run(std::cout, std::cerr);
//   return run.main(argc, argv);   // 0 written, 1 failed, 2 usage error
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

class BatchRun {
public:
    static constexpr int kWritten = 0;
    static constexpr int kFailed = 1;
    static constexpr int kUsageError = 2;

    struct Options {
        int flow = -1;
        std::string home;
        std::optional<std::string> from;
        std::optional<std::string> to;
        bool answerYes = false;
        bool verbose = false;
        bool help = false;
    };

    BatchRun(std::ostream& out, std::ostream& err);

    int main(int argc, const char* const* argv);
    // The options, or none (with the reason on standard error) on a usage error.
    std::optional<Options> parse(const std::vector<std::string>& arguments);
    int run(const Options& options);
    static const char* usage();

private:
    std::ostream& out_;
    std::ostream& err_;
};
