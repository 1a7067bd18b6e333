// FlowChoice is the flow-choice part of the main window: the three flow
// buttons, the output file (default name in the job folder, or the save
// dialog), the copy folder for the sorter, and the services the flows use
// (their record layout opened with the output file, the copy to the sorter's
// folder). TfrmOutput owns one and offers its operations under the window's
// handler names:
//
//   FlowChoice choice(controller);
//   choice.chooseFlow(1);                        // RadioButton2
//   if (!choice.openFlowTrack("SORTER", track)) return false;
//   choice.copyToSorterFolder(flowPath);
//
// Flow 1 names its file after the block already logged for the first load
// date when there is one, so that extracting again from the same date
// rewrites the same block; the number shown in tbBlockNo follows it.
//
// The copy to the sorter's folder refuses an empty folder (the copy would
// land on the flow file itself) with the copy text of a missing folder.
#pragma once

#include <memory>
#include <string>

class KroTrack;
class TfrmOutput;

class FlowChoice {
public:
    static constexpr int kFlowStep = 1;
    static constexpr int kOutputFileStep = 2;
    static constexpr int kPocketStep = 3;
    // The work mode's name entry of the flows' record layout.
    static constexpr int kFlowLayout = 13;

    explicit FlowChoice(TfrmOutput& controller);

    // flow: 0 selection, 1 recalled items, 2 remittances.
    void chooseFlow(int flow);
    void browseOutputFile();
    void pickCopyFolder();
    bool openFlowTrack(const std::string& name, std::unique_ptr<KroTrack>& track);
    bool copyToSorterFolder(const std::string& fileName);

    // The default file name of a flow, without folder and extension.
    std::string defaultFileName(int flow);

private:
    void useLoggedBlock();
    std::string extension() const;
    void showError(const std::string& text);

    TfrmOutput& c_;
};
