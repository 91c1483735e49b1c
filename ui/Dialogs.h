// Message boxes and the one-line input box. Message boxes go through the
// prompter (tests answer them); the input box is a form shown through the
// modal runner (tests script it by the form's name, "InputQueryForm").
#pragma once

#include <string>

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn : unsigned { mbYes = 1, mbNo = 2, mbOK = 4, mbCancel = 8, mbAbort = 16, mbRetry = 32, mbIgnore = 64 };
using TMsgDlgButtons = unsigned;

// The text in a box captioned with the application's title, with OK.
void ShowMessage(const std::string& text);
// The text in a box captioned by its type ("Warning", "Error", "Information",
// "Confirm"; the application's title for mtCustom) with the type's icon.
// Buttons the platform's boxes offer together: Yes/No/Cancel, Yes/No,
// OK/Cancel, Abort/Retry/Ignore, Retry/Cancel; anything else shows OK.
// Returns the button chosen as a modal result (mrYes, mrNo, mrOk, ...).
int MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons);
// The platform's flags for MessageDlg's arguments (MB_ICON... | MB_...).
unsigned MessageDlgFlags(TMsgDlgType type, TMsgDlgButtons buttons);

// Asks for one line of text: true on OK with value replaced by the typed
// text; false on Cancel with value unchanged.
bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value);
// The typed text, or defaultValue on Cancel.
std::string InputBox(const std::string& caption, const std::string& prompt, const std::string& defaultValue);
