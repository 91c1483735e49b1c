#include "SyntaxMemoFind.h"

int TFindPrompter::ShowMessageBox(const std::string& text, const std::string& caption, unsigned flags) {
    // Installing null hands back the prompter in force; null means the platform's.
    TPrompter* installed = SetPrompter(nullptr);
    SetPrompter(installed);
    if (!installed && flags == mbReplaceQuestion) return AskReplaceQuestion(text, dialog_ ? dialog_() : nullptr);
    return Prompter().ShowMessageBox(text, caption, flags);
}

TSyntaxMemoFind::TSyntaxMemoFind(TSyntaxMemoCore& core, TSyntaxMemoView& view)
    : TMemoEditSeam<TSearchEditor>(core, view), prompter_([this] { return dialog_.get(); }), driver_(*this, prompter_) {}

TSyntaxMemoFind::~TSyntaxMemoFind() = default;

bool TSyntaxMemoFind::SearchFailHandled(const std::string& searchString) {
    return OnSearchFail && OnSearchFail(searchString);
}

intptr_t TSyntaxMemoFind::Message(uint32_t msg, uintptr_t wParam, intptr_t lParam) {
    uint32_t flags = static_cast<uint32_t>(wParam);
    // SMM_FINDDIALOG carries no text: its lParam is not read.
    const char* p = msg == SMM_FIND ? reinterpret_cast<const char*>(lParam) : nullptr;
    std::string text = p ? p : "";
    if (msg == SMM_FIND && (flags & sfFindAtOnce)) {
        int32_t m = driver_.FindDirect(flags, text);
        // A regular-expression match answers with the parser, whose position
        // log tells the caller where the groups matched.
        if (m >= 0 && (flags & sfRegExpr)) return reinterpret_cast<intptr_t>(&driver_.Parser());
        view_.ViewInvalidate();
        return m;
    }
    OpenDialog(flags, text, msg == SMM_FINDDIALOG);
    return 0;
}

void TSyntaxMemoFind::OpenDialog(uint32_t flags, const std::string& given, bool replace) {
    std::string text = driver_.DialogText(flags, given);
    // Only one of the two dialogs exists at a time.
    if (dialog_ && (dialog_->ReplaceText != nullptr) != replace) dialog_.reset();
    if (!dialog_) {
        if (replace) dialog_.reset(new TReplaceDialog());
        else dialog_.reset(new TFindDialog());
        dialog_->OnFind = [this](TFindDialog& d) { driver_.FindNext(d.Request()); };
        dialog_->OnReplace = [this](TFindDialog& d, bool all) {
            // A read-only control (the log) is searched, never changed.
            if (core_.ReadOnly) return Beep();
            driver_.Replace(d.Request(), all);
        };
    }
    core_.HideSelection = false;
    dialog_->Open(text, flags);
}
