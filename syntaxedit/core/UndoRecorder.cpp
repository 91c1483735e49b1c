#include "UndoRecorder.h"

#include <algorithm>

#include "SyntaxMemoErrors.h"

namespace {
const int32_t kEntrySize = 16;

[[noreturn]] void BadState() { throw ESyntaxMemo("Bad do/undo stack state"); }
}  // namespace

TUndoRecorder::TUndoRecorder(TUndoTarget& target) : target_(target), log_(&own_) {}

void TUndoRecorder::BadEntry() {
    Clear();
    open_ = false;
    removed_.reset();
    inserted_.reset();
    stream_.reset();
    target_.UndoBeep();
    throw ESyntaxMemo("Bad transaction log entry");
}

void TUndoRecorder::BeginReplace(const std::string& insertText) {
    if (!Active(ucReplace)) return;
    if (open_) BadEntry();
    open_ = true;
    code_ = ucReplace;
    target_.UndoGetSelection(startAnchor_, startCaret_);
    removed_.reset();
    if (startAnchor_ != startCaret_) removed_.reset(new std::string(target_.UndoSelectedText()));
    inserted_.reset(new std::string(insertText));
    stream_.reset();
}

void TUndoRecorder::BeginInsertStream(TStream& data) {
    if (!Active(ucInsertStream)) return;
    if (open_) BadEntry();
    open_ = true;
    code_ = ucInsertStream;
    target_.UndoGetSelection(startAnchor_, startCaret_);
    removed_.reset();
    if (startAnchor_ != startCaret_) removed_.reset(new std::string(target_.UndoSelectedText()));
    inserted_.reset();
    stream_.reset(new TMemoryStream);
    int64_t pos = data.Position();
    int64_t left = data.Size() - pos;
    if (left > 0) stream_->CopyFrom(data, left);
    data.SetPosition(pos);
    stream_->SetPosition(0);
}

void TUndoRecorder::Commit(int32_t code) {
    if (!Active(code)) return;
    if (!open_ || code_ != code) BadEntry();
    int32_t a, b;
    target_.UndoGetSelection(a, b);
    open_ = false;
    PushTransaction(code, startAnchor_, startCaret_, std::move(removed_), std::move(inserted_), std::move(stream_),
                    a, b);
}

void TUndoRecorder::PushTransaction(int32_t code, int32_t a, int32_t b, std::unique_ptr<std::string> removed,
                                    std::unique_ptr<std::string> inserted, std::unique_ptr<TMemoryStream> stream,
                                    int32_t a2, int32_t b2) {
    PushBracket(0, code);
    PushPositions(a, b);
    PushText(removed.get());
    if (stream) {
        TUndoEntry* e = new TUndoEntry;
        e->Kind = ukStream;
        int32_t size = kEntrySize + static_cast<int32_t>(stream->Size()) + static_cast<int32_t>(sizeof(TMemoryStream));
        e->Stream = std::move(stream);
        Push(e, size);
    } else {
        PushText(inserted.get());
    }
    PushPositions(a2, b2);
    PushBracket(0, code);
    log_->Trim();
}

void TUndoRecorder::Push(TUndoEntry* e, int32_t size) {
    try {
        log_->Push(e, size);
    } catch (...) {
        delete e;
        throw;
    }
}

void TUndoRecorder::PushPositions(int32_t a, int32_t b) {
    TUndoEntry* e = new TUndoEntry;
    e->Kind = ukPositions;
    e->Data = a;
    e->Data2 = b;
    Push(e, kEntrySize);
}

void TUndoRecorder::PushBracket(int32_t value, int32_t code) {
    TUndoEntry* e = new TUndoEntry;
    e->Kind = ukBracket;
    e->Value = value;
    e->Data = code;
    Push(e, kEntrySize);
}

void TUndoRecorder::PushText(const std::string* text) {
    TUndoEntry* e = new TUndoEntry;
    e->Kind = ukText;
    int32_t size = kEntrySize;
    if (text) {
        e->Text.reset(new std::string(*text));
        size += static_cast<int32_t>(text->size());
    }
    Push(e, size);
}

void TUndoRecorder::RecordGroup(int32_t command, int32_t opCode) {
    if (!Active(command)) return;
    int32_t a, b;
    target_.UndoGetSelection(a, b);
    PushBracket(command, opCode);
    PushPositions(a, b);
    PushBracket(command, opCode);
}

void TUndoRecorder::OpenGroup(int32_t id) {
    if (!log_ || groupId_ != 0) return;
    groupId_ = id;
    RecordGroup(ucGroupStart, id);
}

void TUndoRecorder::CloseGroup(int32_t id) {
    if (!log_ || groupId_ != id) return;
    groupId_ = 0;
    RecordGroup(ucGroupEnd, id);
}

void TUndoRecorder::Start() {
    if (log_) logging_ = true;
}

void TUndoRecorder::Stop() {
    if (Active(ucStop)) logging_ = false;
}

void TUndoRecorder::Clear() {
    if (!Active(ucClear)) return;
    log_->ResetCursor();
    while (log_->Top) delete static_cast<TUndoEntry*>(log_->Pop());
}

void TUndoRecorder::Forget() {
    if (!log_ || !log_->Top) return;
    log_->ResetCursor();
    while (log_->Top) delete static_cast<TUndoEntry*>(log_->Pop());
}

void TUndoRecorder::RecordUnindent(int32_t p, const std::string& removed) {
    if (!Active(ucUnindent)) return;
    int32_t n = static_cast<int32_t>(removed.size());
    PushTransaction(ucReplace, p, p + n, std::unique_ptr<std::string>(new std::string(removed)), nullptr, nullptr, p,
                    p);
}

void TUndoRecorder::RecordIndent(int32_t p, const std::string& inserted) {
    if (!Active(ucIndent)) return;
    int32_t n = static_cast<int32_t>(inserted.size());
    PushTransaction(ucReplace, p, p, nullptr, std::unique_ptr<std::string>(new std::string(inserted)), nullptr,
                    p + n, p + n);
}

void TUndoRecorder::SetModified(bool value) {
    if (!value) Clear();
}

TUndoEntry* TUndoRecorder::Take(int32_t kind, bool back) {
    TUndoEntry* e = static_cast<TUndoEntry*>(back ? log_->StepBack() : log_->StepForward());
    if (e->Kind != kind && !(kind == ukText && e->Kind == ukStream)) BadState();
    return e;
}

// One transaction or group bracket, read backwards (undo) or forwards (redo).
TUndoRecorder::Step TUndoRecorder::NextStep(bool back) {
    Step s;
    TUndoEntry* first = Take(ukBracket, back);
    s.value = first->Value;
    if (first->Value == 0) {
        TUndoEntry** order[] = {&s.start, &s.removed, &s.inserted, &s.after};
        for (int i = 0; i < 4; i++) {
            TUndoEntry** slot = order[back ? 3 - i : i];
            *slot = Take(slot == &s.start || slot == &s.after ? ukPositions : ukText, back);
        }
    } else if (first->Value == ucGroupStart || first->Value == ucGroupEnd) {
        s.after = Take(ukPositions, back);
    } else {
        BadState();
    }
    TUndoEntry* last = Take(ukBracket, back);
    if (last->Value != first->Value || last->Data != first->Data) BadState();
    return s;
}

namespace {
const std::string& TextOf(const TUndoEntry* e) {
    static const std::string none;
    return e->Text ? *e->Text : none;
}
}  // namespace

void TUndoRecorder::Replay(bool undo) {
    target_.UndoReplayBegin();
    try {
        do {
            Step s = NextStep(undo);
            if (s.value != 0) {
                // A group is met at its end going back and at its start going
                // forward; at its other bracket its recorded selection returns.
                inGroup_ = s.value == (undo ? ucGroupEnd : ucGroupStart);
                if (!inGroup_) target_.UndoSetSelection(s.after->Data, s.after->Data2);
            } else {
                Stop();
                replaying_ = true;
                if (undo) {
                    // The inserted text began at the smaller offset of the
                    // selection it replaced, whichever way that was made.
                    int32_t from = std::min(s.start->Data, s.start->Data2);
                    int32_t to = std::max(s.after->Data, s.after->Data2);
                    target_.UndoSetSelection(from, to);
                    target_.UndoReplaceSelection(TextOf(s.removed));
                    target_.UndoSetSelection(s.start->Data, s.start->Data2);
                } else {
                    target_.UndoSetSelection(s.start->Data, s.start->Data2);
                    if (s.inserted->Kind == ukStream) {
                        s.inserted->Stream->SetPosition(0);
                        target_.UndoInsertStream(*s.inserted->Stream);
                    } else {
                        target_.UndoReplaceSelection(TextOf(s.inserted));
                    }
                    target_.UndoSetSelection(s.after->Data, s.after->Data2);
                }
            }
            if (inGroup_) target_.UndoGroupStep();
        } while (inGroup_);
    } catch (const std::exception&) {
        inGroup_ = false;
        logging_ = true;
        Clear();
        target_.UndoBeep();
    }
    Start();
    replaying_ = false;
    target_.UndoReplayEnd(undo);
}

void TUndoRecorder::Undo() {
    if (CanUndo()) Replay(true);
}

void TUndoRecorder::Redo() {
    if (CanRedo()) Replay(false);
}
