#include "ModalAnswer.h"

#include "ScriptedModalRunner.h"

struct ModalAnswer::Impl {
    TScriptedModalRunner runner;
};

ModalAnswer::ModalAnswer(const std::string& formName, int result) : impl_(new Impl) {
    impl_->runner.Expect(formName, [result](TForm& form) { form.SetModalResult(result); });
}

ModalAnswer::~ModalAnswer() = default;

int ModalAnswer::Shown() const { return static_cast<int>(impl_->runner.Shown().size()); }
