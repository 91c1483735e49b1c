// Texts of SBF's string table that the masks, the filter and the reports
// show or write, exactly as the window has them.
#pragma once

namespace MaskTexts {
// Mask file labels, in file order.
constexpr const char* kMaskName = "Mask name";
constexpr const char* kDependName = "Depend name";
constexpr const char* kMaskType = "Mask type";
constexpr const char* kDependType = "Depend type";
constexpr const char* kBrowserType = "Browser type";
constexpr const char* kMaskPriority = "Mask priority";
constexpr const char* kMaxFoundCount = "Max found count";
constexpr const char* kCanCompile = "Can compile";
constexpr const char* kHidden = "Hidden";
constexpr const char* kValueCount = "Value count";
constexpr const char* kValues = "Values:";
constexpr const char* kNone = "<None>";

constexpr const char* kMaskFileFilter =
    "All property templates(*.mask*)|*.mask*|Text templates(*.maskt)|*.maskt|Link templates(*.maskl)|*.maskl|"
    "Addres templates(*.maska)|*.maska|System generated templates(*.maskg)|*.maskg|All Files (*.*)|*.*";
constexpr const char* kOpenMaskTitle = "Open property template";
constexpr const char* kSaveMaskTitle = "Save property template as";
constexpr const char* kCanNotOpenMask = "Can not open mask";
constexpr const char* kCanNotSaveMask = "Can not save mask - ";
constexpr const char* kNotAllowed = "Not allowed while search is in prgress";
constexpr const char* kError = "Error";
constexpr const char* kSaveFile = "Save file";
constexpr const char* kFile = "File ";
constexpr const char* kAlreadyExists = " already exists. Owerright it?";

// Filter dialog.
constexpr const char* kFilter = "Filter ";
constexpr const char* kOf = " of ";
constexpr const char* kNot = "Not";

// Report window.
constexpr const char* kReportValues = "Report Values";
constexpr const char* kSaveMaskReport = "Save mask report";
constexpr const char* kReportFilter = "Text files (*.txt)|*.txt| All Files (*.*)|*.*";
constexpr const char* kErrorWritingFile = "Error writing file - ";
}  // namespace MaskTexts

namespace MaskTexts {
// Mask wizard: the caption before the first page and the page titles.
constexpr const char* kEditMask = "Edit mask";
constexpr const char* kPageTitles[4] = {" - Type unick name and parent name", " - Add keywords to serarch",
                                        " - Select type and view container", " - Properties"};
constexpr const char* kNotTest = "Not test";
}  // namespace MaskTexts
