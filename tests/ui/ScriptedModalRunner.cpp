#include "ScriptedModalRunner.h"

#include <gtest/gtest.h>

#include "runtime/Application.h"

TScriptedModalRunner::TScriptedModalRunner() : previous_(SetModalRunner(this)) {}
TScriptedModalRunner::~TScriptedModalRunner() { SetModalRunner(previous_); }

void TScriptedModalRunner::Expect(const std::string& formName, Script script) {
    steps_.emplace_back(formName, std::move(script));
}

int TScriptedModalRunner::Run(TForm& form) {
    shown_.push_back(form.Name());
    if (steps_.empty() || steps_.front().first != form.Name()) {
        ADD_FAILURE() << "unexpected modal form " << form.Name()
                      << (steps_.empty() ? std::string() : ", expected " + steps_.front().first);
        return mrCancel;
    }
    Script script = std::move(steps_.front().second);
    steps_.pop_front();
    form.BeginModal();
    script(form);
    // What the script posted (clicks, keys) is delivered before the answer is read.
    for (int i = 0; i < 50 && form.ModalResult() == mrNone; ++i) {
        Application->ProcessMessages();
        if (form.ModalResult() == mrNone) Sleep(1);
    }
    int result = form.ModalResult();
    if (result == mrNone) {
        ADD_FAILURE() << "script of " << form.Name() << " did not close the form";
        result = mrCancel;
    } else if (!form.CloseQuery()) {
        ADD_FAILURE() << "form " << form.Name() << " refused to close";
    }
    form.FinishModal();
    return result;
}
