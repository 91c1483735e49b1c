// The editor control's six highlighter slots: which highlighter is active,
// whose settings are in force, and the re-highlighting pass that keeps the
// lines' style bytes current with it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "SyntaxMemoCore.h"
#include "runtime/core/Component.h"

class TSyntaxMemoParser;
class TRescanPass;

class TSyntaxMemoSlots {
public:
    static const int kSlots = 6;

    // owner: the control as a component (free notices); relayout: measures
    // the window again when the word-wrap settings changed.
    static std::unique_ptr<TSyntaxMemoSlots> Make(TSyntaxMemoCore& core, TComponent& owner, TSyntaxMemoView& view,
                                                  std::function<void()> relayout);
    virtual ~TSyntaxMemoSlots() = default;

    virtual TSyntaxMemoParser* Parser(int slot) const = 0;  // 1..6; null outside
    // Fills slot 1..6 (null empties it); the previous holder is detached.
    virtual void SetParser(int slot, TSyntaxMemoParser* parser) = 0;
    // "Parser index out of range" outside 1..6, the value unchanged.
    virtual void SetActiveParser(int32_t value) = 0;
    virtual TSyntaxMemoParser* ActiveParserObject() const = 0;
    // A component of the form went: its slots are emptied.
    virtual void Removed(TComponent* component) = 0;
    // After the form is read: every filled slot serves this control.
    virtual void Loaded() = 0;
    // Brings the style bytes up to date with the edits since the last pass.
    virtual void Run() = 0;
    // Before painting: Run, then the lines a lazy pass left for later, down
    // to the last visible line.
    virtual void BeforePaint() = 0;
    virtual TRescanPass& Pass() = 0;
    // Every line's styles brought up to date, lazy mode or not (before the
    // text is written out with its highlighting).
    virtual void CompleteAll() = 0;
    // The styles were dropped: the active highlighter starts again at the
    // first line.
    virtual void Restyle() = 0;
    // Every control using the active highlighter takes its settings again
    // (restyling as the core's RestyleAll says); false when none is active.
    virtual bool RefreshActive() = 0;
    bool Loading = false;
    // A slot was filled or emptied, or the active one chosen again (not
    // while loading or going): the form designer hears of it.
    std::function<void()> OnSlotSet;
};
