// Answers the next modal form of a test, closing it with a given result.
#pragma once

#include <memory>
#include <string>

class ModalAnswer {
public:
    // The next ShowModal must be of the form named formName; it closes at once with result.
    ModalAnswer(const std::string& formName, int result);
    ~ModalAnswer();
    int Shown() const;  // forms shown so far

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};
