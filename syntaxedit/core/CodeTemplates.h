// Code templates (named texts with a description) and the auto-correct table
// (word and replacement, applied on activation keys), with their stream forms.
// No platform headers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "MacroKeywords.h"

class TCodeTemplates : public TMacroKeywords {
public:
    // Exception "Cannot assign %s to %s" unless source is a TCodeTemplates.
    void Assign(const TObject* source) override;
    // Replaces a template of the same name (in any case). Names count to
    // their first kMaxNameLength characters here as everywhere.
    void AddTemplate(const std::string& name, const std::string& description, const std::string& text);
    void DeleteTemplate(const std::string& name);
    // True when the whole name is stored; text is its expansion.
    bool FindTemplate(const std::string& name, std::string& text) const;
    virtual void Clear() { ClearMacros(); }

    // int count, per template (sorted): short string name, short string
    // description, long string text.
    void SaveToStream(TStream& s) const override;
    // Loads into a fresh table and takes it over only when all went well.
    void LoadFromStream(TStream& s) override;

protected:
    std::unique_ptr<TSM_Base> NewInstance() const override { return std::unique_ptr<TSM_Base>(new TCodeTemplates); }
    void ReadTemplates(TStream& s);
};

class TAutoReplace : public TCodeTemplates {
public:
    static const char* const DefaultActivationKeys;

    TAutoReplace();
    // Translates the activation text into key codes: each character by the
    // keyboard, "\n" or "\r" Return, "\s" Space, "\t" Tab, "\{name}" a named
    // key, "\c" the unshifted key of c. ESyntaxMemo "Bad key specifier" for an
    // unclosed name (ActivationKeys then keeps its old text); ESyntaxMemo for
    // a text over 255 characters (nothing changes then).
    void SetActivationKeys(const std::string& text);
    bool IsHotKey(uint16_t key, TShiftState shift) const override;
    void AddReplacement(const std::string& word, const std::string& text) { AddMacro(word, std::string(), false, text); }
    // Also restores the default activation keys.
    void Clear() override;

    // The template form, then the activation text as a short string.
    void SaveToStream(TStream& s) const override;
    void LoadFromStream(TStream& s) override;

    std::string ActivationKeys;
    // Virtual key plus 256 Shift, 512 Ctrl, 2048 Alt; no repeats.
    std::vector<uint16_t> KeyCodes;

protected:
    std::unique_ptr<TSM_Base> NewInstance() const override { return std::unique_ptr<TSM_Base>(new TAutoReplace); }
};
