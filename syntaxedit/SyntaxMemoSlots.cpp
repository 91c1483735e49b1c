#include "SyntaxMemoSlots.h"

#include "SyntaxMemoParser.h"
#include "core/RescanPass.h"
#include "core/SM_Settings.h"

namespace {

class TSlots : public TSyntaxMemoSlots, public ISyntaxMemoClient {
public:
    TSlots(TSyntaxMemoCore& core, TComponent& owner, TSyntaxMemoView& view, std::function<void()> relayout)
        : core_(core), owner_(owner), view_(view), relayout_(std::move(relayout)) {
        pass_.Attach(&core_.Store(), nullptr);
    }

    ~TSlots() override {
        // No highlighter may call back into a control that is going.
        closing_ = true;
        for (int k = 1; k <= kSlots; k++) SetParser(k, nullptr);
        core_.SetActiveSettings(nullptr);
        pass_.Done();
    }

    TSyntaxMemoParser* Parser(int slot) const override {
        return slot >= 1 && slot <= kSlots ? slots_[slot - 1] : nullptr;
    }

    void SetParser(int slot, TSyntaxMemoParser* parser) override {
        if (slot < 1 || slot > kSlots) return;
        TSyntaxMemoParser*& held = slots_[slot - 1];
        if (held != parser) {
            TSyntaxMemoParser* old = held;
            held = parser;
            if (old && !Holds(old)) {
                owner_.RemoveFreeNotification(old);
                old->DetachEditor(this);
            }
        }
        if (parser && !Loading) {
            owner_.FreeNotification(parser);
            parser->AttachEditor(this);
        }
        if (!Loading && !closing_ && OnSlotSet) OnSlotSet();
        if (slot == core_.ActiveParser() && !Loading && !closing_) Activate();
    }

    void SetActiveParser(int32_t value) override {
        core_.SetActiveParser(value);
        if (Loading) return;
        if (OnSlotSet) OnSlotSet();
        Activate();
    }

    bool RefreshActive() override {
        TSyntaxMemoParser* p = ActiveParserObject();
        if (!p) return false;
        p->RefreshEditors();
        return true;
    }

    TSyntaxMemoParser* ActiveParserObject() const override { return Parser(core_.ActiveParser()); }

    void Removed(TComponent* component) override {
        for (int k = 1; k <= kSlots; k++)
            if (slots_[k - 1] && static_cast<TComponent*>(slots_[k - 1]) == component) {
                SetParser(k, nullptr);
                return;
            }
    }

    void Loaded() override {
        Loading = false;
        core_.Undo().SetModified(false);
        for (TSyntaxMemoParser* p : slots_)
            if (p) {
                owner_.FreeNotification(p);
                p->AttachEditor(this);
            }
        Activate();
    }

    void Run() override {
        TSyntaxMemoParser* p = ActiveParserObject();
        bool on = p && (core_.Options() & smoSyntaxHighlight);
        pass_.SetHighlighter(on ? &p->Highlighter() : nullptr);
        pass_.VisibleLines = core_.VisibleLines();
        pass_.Lazy = core_.LazyMode;
        if (pass_.Pending() >= 0 && !pass_.Running()) pass_.Run();
    }

    void BeforePaint() override {
        Run();
        if (!pass_.Running()) pass_.CatchUp(core_.TopLine() + core_.VisibleLines());
    }

    TRescanPass& Pass() override { return pass_; }

    void Restyle() override {
        TSyntaxMemoParser* p = ActiveParserObject();
        if (!p || !(core_.Options() & smoSyntaxHighlight) || core_.Store().LineCount() == 0) return;
        pass_.SetHighlighter(&p->Highlighter());
        pass_.VisibleLines = core_.VisibleLines();
        pass_.Lazy = core_.LazyMode;
        pass_.Rescan(0);
        view_.ViewInvalidate();
    }

    void CompleteAll() override {
        Run();
        if (!pass_.Running()) pass_.RescanAll();
    }

    // ISyntaxMemoClient
    TComponent* ClientComponent() override { return &owner_; }
    void ParserChanged(TSyntaxMemoParser& parser) override {
        if (&parser == ActiveParserObject()) Activate(core_.RestyleAll);
    }
    void ParserDetached(TSyntaxMemoParser& parser) override {
        bool active = &parser == ActiveParserObject();
        for (TSyntaxMemoParser*& p : slots_)
            if (p == &parser) p = nullptr;
        if (closing_) return;
        owner_.RemoveFreeNotification(&parser);
        if (active) Activate();
    }

private:
    bool Holds(TSyntaxMemoParser* parser) const {
        for (TSyntaxMemoParser* p : slots_)
            if (p == parser) return true;
        return false;
    }

    void ClearStyles() {
        for (TLineNode* n = core_.Store().Head(); n; n = n->Next) {
            delete[] n->Styles;
            n->Styles = nullptr;
            n->Flags |= lfRepaint;
        }
    }

    // Puts the active slot's settings in force and, with restyle, highlights
    // the text anew.
    void Activate(bool restyle = true) {
        TSyntaxMemoParser* p = ActiveParserObject();
        core_.SetActiveSettings(p ? &p->LanguageSettings() : nullptr);
        pass_.SetHighlighter(p ? &p->Highlighter() : nullptr);
        // Styles of another highlighter mean nothing to this one: start afresh.
        if (restyle) ClearStyles();
        TSM_Settings& s = core_.Settings();
        int32_t wrap = s.Options & smoWordWrap;
        bool relayout = wrap != wrapOptions_ || s.WrapAtColumn != wrapColumn_;
        wrapOptions_ = wrap;
        wrapColumn_ = s.WrapAtColumn;
        if (relayout && relayout_) relayout_();
        if (restyle && p && core_.Store().LineCount() > 0) {
            pass_.VisibleLines = core_.VisibleLines();
            pass_.Lazy = core_.LazyMode;
            pass_.Rescan(0);
        }
        core_.Message(SMM_SETTINGSCHANGED, 0, 0);
        view_.ViewInvalidate();
    }

    TSyntaxMemoCore& core_;
    TComponent& owner_;
    TSyntaxMemoView& view_;
    std::function<void()> relayout_;
    TSyntaxMemoParser* slots_[kSlots] = {};
    TRescanPass pass_;
    bool closing_ = false;
    int32_t wrapOptions_ = -1, wrapColumn_ = -1;
};

}  // namespace

std::unique_ptr<TSyntaxMemoSlots> TSyntaxMemoSlots::Make(TSyntaxMemoCore& core, TComponent& owner,
                                                         TSyntaxMemoView& view, std::function<void()> relayout) {
    return std::unique_ptr<TSyntaxMemoSlots>(new TSlots(core, owner, view, std::move(relayout)));
}
