// A modal runner for tests: each ShowModal meets the next scripted step,
// which gets the form shown (real windows, driven by messages) and ends it by
// clicking a button or setting ModalResult. A form nobody expected fails the
// test and answers Cancel.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "ui/Form.h"

class TScriptedModalRunner : public TModalRunner {
public:
    using Script = std::function<void(TForm& form)>;
    TScriptedModalRunner();
    ~TScriptedModalRunner() override;

    // The next ShowModal must be of a form whose Name() is formName.
    void Expect(const std::string& formName, Script script);
    const std::vector<std::string>& Shown() const { return shown_; }
    bool AllUsed() const { return steps_.empty(); }

    int Run(TForm& form) override;

private:
    TModalRunner* previous_;
    std::deque<std::pair<std::string, Script>> steps_;
    std::vector<std::string> shown_;
};
