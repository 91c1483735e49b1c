// The editor's key map: one-stroke keys and two-stroke sequences (such as
// Ctrl+K then a digit) bound to editor command numbers, the display names of
// the commands, the key-map stream, and the matching of typed keys against the
// map. No platform headers.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "EditorKeys.h"
#include "SyntaxMemoTypes.h"
#include "SM_Base.h"

class TKeyboardActionContoller;

struct TKeyNode {
    uint16_t Key = 0;           // shortcut value
    TKeyNode* Parent = nullptr; // the first stroke of a second stroke
    TKeyNode* Next = nullptr;   // next sibling
    TKeyNode* Child = nullptr;  // second strokes under a first stroke
    uint8_t Binding = 0;        // a binding ends here
    int32_t Command = -1;
};

// What one key did to the sequence being typed.
enum class TKeyMatch { None, Prefix, Recognised };

class TKeyStore {
public:
    explicit TKeyStore(TKeyboardActionContoller* owner) : Owner(owner) {}
    ~TKeyStore();
    TKeyStore(const TKeyStore&) = delete;
    TKeyStore& operator=(const TKeyStore&) = delete;

    // EAmbigiousKeyPair when the sequence, or a prefix of it, is bound already.
    void AddBinding(uint16_t firstKey, uint16_t secondKey, int32_t command);
    // Every node in tree order: a node, its later siblings, then its children.
    std::vector<const TKeyNode*> TreeOrder() const;
    // Frees every node; the store is idle afterwards.
    void Clear();
    // Takes over the other store's bindings (the other gets these); both idle.
    void SwapBindings(TKeyStore& o);
    // Matches one shortcut value against the map, keeping the sequence state
    // between keys. Inside a sequence only the virtual key counts, since second
    // strokes are stored without their shift state. A match sets LastCommand.
    TKeyMatch Match(uint16_t shortcut);
    bool InSequence() const { return CurrentNode != nullptr; }
    void Reset() { CurrentNode = nullptr; }

    TKeyboardActionContoller* Owner;
    TKeyNode* Root = nullptr;
    TKeyNode* CurrentNode = nullptr;  // inside a sequence being typed
    int32_t LastCommand = -1;
    int32_t EnumIndex = 0;            // for listing the bindings of a command

private:
    TKeyNode* FindOrAppend(TKeyNode** list, uint16_t key);
};

// One binding: the first key, the second key (0 for one stroke) and the command.
struct TKeyBinding {
    uint16_t FirstKey = 0;
    uint16_t SecondKey = 0;
    int32_t Command = -1;
};

// Fired with the recognised command, which the handler may change.
using TKeyboardActionEvent = std::function<void(TObject* Sender, int32_t& ActionCode)>;

class TKeyboardActionContoller : public TSM_Base {
public:
    TKeyboardActionContoller();

    void Clear();
    // Replaces a command of the same id; names are display names.
    void AddCommand(int32_t id, const std::string& name);
    std::string CommandName(int32_t id) const;
    // A second key of 0 makes a one-stroke binding; of a second key only the
    // virtual key counts.
    void AddKey(uint16_t firstKey, uint16_t secondKey, int32_t command);
    // (first key, second key) of the first / next binding of command in tree
    // order; (key, 0) for one stroke, (0, 0) when none is left.
    std::pair<uint16_t, uint16_t> FirstKeysOfCommand(int32_t command);
    std::pair<uint16_t, uint16_t> NextKeysOfCommand(int32_t command);
    std::vector<TKeyBinding> Bindings() const;
    // Matches key with shift. A prefix or a recognised sequence sets handled
    // and clears key and shift; a recognised one fires OnAction first. An
    // unknown key leaves them alone and ends any open sequence.
    TKeyMatch HandleKey(uint16_t& key, TShiftState& shift, bool& handled);

    // Exception "Cannot assign a %s to a %s" unless source is a key map.
    void Assign(const TObject* source) override;
    // int command count; per command int id and short string name; int binding
    // count; per binding word first key, word second key, int command.
    void SaveToStream(TStream& s) const override;
    // Loads into a fresh map and takes it over only when all went well.
    void LoadFromStream(TStream& s) override;

    std::unique_ptr<TKeyStore> Store;
    std::vector<std::pair<std::string, int32_t>> Commands;  // display name, id
    TKeyboardActionEvent OnAction;

protected:
    std::unique_ptr<TSM_Base> NewInstance() const override {
        return std::unique_ptr<TSM_Base>(new TKeyboardActionContoller);
    }
};

// Editor command numbers 0..44.
enum : int32_t {
    caLEFT, caRIGHT, caLINEHOME, caLINEEND, caUP, caDOWN, caPAGEUP, caPAGEDOWN, caWORDLEFT, caWORDRIGHT,
    caDOCSTART, caDOCEND, caCUT, caCOPY, caPASTE, caDELETE, caBACKSPACE, caBLOCKIND, caBLOCKUND, caINSTOGGLE,
    caSETBOOKMARK0, caGOTOBOOKMARK0 = caSETBOOKMARK0 + 10, caDELETELINE = caGOTOBOOKMARK0 + 10, caUNDO, caREDO,
    caDELPREVWORD, caPRINTSEL, caCommandCount
};

// The process-wide default key map of the 45 commands, built on first use.
const TKeyboardActionContoller& DefaultKeyMap();

// Virtual keys whose Shift the editor drops before matching so that Shift runs
// the same movement with the selection extended: the first-stroke keys of the
// bindings of commands caLEFT..caDOCEND and caBACKSPACE in map.
TSet256 ShiftFreeKeys(const TKeyboardActionContoller& map);
// The keys of that set before any settings are applied.
TSet256 DefaultShiftFreeKeys();
