#include "masks/core/ReportSaver.h"

#include "masks/core/FileNames.h"
#include "masks/core/MaskTexts.h"
#include "masks/core/ReportTable.h"
#include "masks/core/TextFile.h"

namespace {
constexpr long kHideReadOnly = 4;
constexpr long kOpenForWriting = 0;
}  // namespace

bool ReportSaver::Save(const ReportTable& report, TextFile& file, ReportSavePrompts& prompts) {
    if (report.ReportType != kValuesReport && report.ReportType != kUniqueValuesReport) return false;
    SaveDialogSetup setup;
    setup.Title = MaskTexts::kSaveMaskReport;
    setup.DefaultExt = "txt";
    setup.Filter = MaskTexts::kReportFilter;
    setup.FileName = report.ProposedFileName();
    setup.InitialDir = folder_;
    setup.Flags = kHideReadOnly;
    std::string name;
    if (!prompts.AskSaveFileName(setup, name) || name.empty()) return false;
    if (file.CheckExists(name) && !prompts.Confirm(OverwriteQuestion(name), MaskTexts::kSaveFile)) return false;
    const std::string failed = MaskTexts::kErrorWritingFile + name;
    if (!file.Open(name, kOpenForWriting)) {
        prompts.Message(failed, MaskTexts::kError);
        return false;
    }
    const bool written = report.Write(file);
    file.Close();
    if (!written) {
        prompts.Message(failed, MaskTexts::kError);
        return false;
    }
    folder_ = GetFileDir(name);
    return true;
}
