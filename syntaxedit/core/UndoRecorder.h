// Records an editor's changes in its undo log as bracketed transactions and
// replays them. The editor is reached only through TUndoTarget, so the log
// works without a window. No platform headers.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "Stream.h"
#include "UndoStack.h"

// What the undo log needs of an editor.
class TUndoTarget {
public:
    virtual ~TUndoTarget() = default;
    virtual void UndoGetSelection(int32_t& anchor, int32_t& caret) = 0;
    virtual void UndoSetSelection(int32_t anchor, int32_t caret) = 0;
    virtual std::string UndoSelectedText() = 0;                     // raw, CR line breaks
    virtual void UndoReplaceSelection(const std::string& text) = 0;
    virtual void UndoInsertStream(TStream& stream) = 0;             // replaces the selection
    virtual void UndoBeep() {}
    virtual void UndoGroupStep() {}                 // refresh between the steps of a group
    virtual void UndoReplayBegin() {}               // e.g. redraw off
    virtual void UndoReplayEnd(bool /*undo*/) {}    // re-highlight, caret into view, Change
};

class TUndoRecorder {
public:
    // Command numbers as the editor passes them.
    enum : int32_t {
        ucReplace = 1, ucGroupStart = 2, ucGroupEnd = 3, ucInsertStream = 4,
        ucStart = 6, ucStop = 7, ucClear = 8, ucUnindent = 9, ucIndent = 10,
    };

    explicit TUndoRecorder(TUndoTarget& target);

    // The log in use (its own one unless another was attached); null: none.
    TUndoStack* Log() const { return log_; }
    void SetLog(TUndoStack* log) { log_ = log; }

    // Opens a replace transaction: keeps the selection, the selected text and
    // the text about to be inserted. ESyntaxMemo "Bad transaction log entry"
    // when one is open already (the log is cleared first).
    void BeginReplace(const std::string& insertText);
    // The same for inserting the rest of a stream (its position is kept).
    void BeginInsertStream(TStream& data);
    // Pushes the open transaction with the selection after it; the code must be
    // the one it was opened with, else "Bad transaction log entry".
    void Commit(int32_t code);
    // A group bracket (ucGroupStart or ucGroupEnd) with the current selection.
    void RecordGroup(int32_t command, int32_t opCode);
    // Opens a group when none is open; closes it only with the same id.
    void OpenGroup(int32_t id);
    void CloseGroup(int32_t id);
    void Start();   // recording on
    void Stop();    // recording off
    void Clear();   // empties the log
    // Empties the log even while recording is off: for an edit that goes
    // unrecorded, after which the offsets the log holds no longer fit.
    void Forget();
    // count characters removed at p by un-indenting: removed is what went.
    void RecordUnindent(int32_t p, const std::string& removed);
    // Indent characters inserted at p.
    void RecordIndent(int32_t p, const std::string& inserted);

    void Undo();
    void Redo();
    bool CanUndo() const { return log_ && log_->Count > 0; }
    bool CanRedo() const { return log_ && !log_->AtTop(); }
    bool Modified() const { return CanUndo(); }
    // False empties the log; true does nothing.
    void SetModified(bool value);

    bool Logging() const { return logging_; }
    bool Replaying() const { return replaying_; }
    bool TransactionOpen() const { return open_; }
    int32_t OpenGroupId() const { return groupId_; }

private:
    bool Active(int32_t command) const { return log_ && (logging_ || command == ucStart); }
    [[noreturn]] void BadEntry();
    void Push(TUndoEntry* e, int32_t size);
    void PushPositions(int32_t a, int32_t b);
    void PushBracket(int32_t value, int32_t code);
    void PushText(const std::string* text);
    void PushTransaction(int32_t code, int32_t a, int32_t b, std::unique_ptr<std::string> removed,
                         std::unique_ptr<std::string> inserted, std::unique_ptr<TMemoryStream> stream, int32_t a2,
                         int32_t b2);
    struct Step {
        int32_t value = 0;  // 0 an operation, else a group bracket
        TUndoEntry* start = nullptr;
        TUndoEntry* removed = nullptr;
        TUndoEntry* inserted = nullptr;
        TUndoEntry* after = nullptr;  // a group's selection
    };
    TUndoEntry* Take(int32_t kind, bool back);
    Step NextStep(bool back);
    void Replay(bool undo);

    TUndoTarget& target_;
    TUndoStack own_;
    TUndoStack* log_;
    bool logging_ = true;
    bool replaying_ = false;
    bool inGroup_ = false;
    int32_t groupId_ = 0;
    // The open transaction.
    bool open_ = false;
    int32_t code_ = 0;
    int32_t startAnchor_ = 0, startCaret_ = 0;
    std::unique_ptr<std::string> removed_;
    std::unique_ptr<std::string> inserted_;
    std::unique_ptr<TMemoryStream> stream_;
};
