#include "InfoDocument.h"

#include <cstring>

#include "InfoDownloader.h"

long InfoDocument::Begin(const InfoAddress& address) {
    if (!InfoObject::Create()) return 0;
    address_ = InfoAddress(address.Path(), address.ProtocolIndex(), nullptr);
    text_.clear();
    pos_ = 0;
    spent_ = 0;
    downloader_ = nullptr;
    return 1;
}

void InfoDocument::End() {
    FreeText();
    downloader_ = nullptr;
    InfoObject::Destroy();
}

void InfoDocument::FreeText() {
    std::string().swap(text_);
    pos_ = 0;
    spent_ = 0;
}

void InfoDocument::SetText(const std::string& text) {
    text_ = text;
    pos_ = 0;
    spent_ = 0;
}

long InfoDocument::Open(InfoDownloader& downloader) {
    downloader_ = &downloader;
    return downloader.OpenAddress(address_);
}

long InfoDocument::Read() { return downloader_ ? downloader_->ReadPortion(text_) : 0; }

void InfoDocument::Close() {
    if (downloader_) downloader_->Close();
}

bool InfoDocument::Complete() const { return !downloader_ || downloader_->Complete() || !downloader_->IsOpen(); }

long InfoDocument::FindNext(const std::string& pattern, std::string& capture) {
    MaskPattern p(pattern);
    return FindNext(p, capture);
}


uint64_t InfoDocument::DocumentBudget() const {
    return kDocumentBase + kDocumentPerByte * static_cast<uint64_t>(text_.size());
}

void InfoDocument::ShareBudget(InfoDocument& owner) { budgetOwner_ = owner.budgetOwner_ ? owner.budgetOwner_ : &owner; }

long InfoDocument::FindNext(const MaskPattern& pattern, std::string& capture, size_t startLimit, size_t textEnd,
                            bool hold) {
    InfoDocument& owner = budgetOwner_ ? *budgetOwner_ : *this;
    const uint64_t whole = owner.DocumentBudget();
    const uint64_t left = whole > owner.spent_ ? whole - owner.spent_ : 0;
    const size_t end = textEnd < text_.size() ? textEnd : text_.size();
    const size_t rest = end - (pos_ < end ? pos_ : end);
    uint64_t call = StepBudget ? StepBudget : (uint64_t(1) << 20) + 64 * uint64_t(rest);
    if (call > left) call = left;
    if (call == 0 && pattern.Searchable() && !text_.empty()) {
        capture.clear();
        matcher_.SetError(kBudgetSpent);
        return 0;
    }
    MatchScope scope;
    scope.startLimit = startLimit;
    scope.textEnd = textEnd;
    scope.hold = hold;
    long found = matcher_.FindNext(text_, pos_, pattern, capture, scope, call, StopFlag);
    owner.spent_ += matcher_.Steps() < call ? matcher_.Steps() : call;
    if (!found && matcher_.GaveUp() && matcher_.Steps() >= left) matcher_.SetError(kBudgetSpent);
    return found;
}

const char InfoDocument::kBudgetSpent[] = "matching budget of this document spent";
