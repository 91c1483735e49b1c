#include "KeyboardActionContoller.h"

#include "StreamPrimitives.h"
#include "SyntaxMemoErrors.h"

TKeyStore::~TKeyStore() {
    for (const TKeyNode* n : TreeOrder()) delete n;
}

std::vector<const TKeyNode*> TKeyStore::TreeOrder() const {
    std::vector<const TKeyNode*> out;
    std::vector<const TKeyNode*> todo;
    if (Root) todo.push_back(Root);
    while (!todo.empty()) {
        const TKeyNode* n = todo.back();
        todo.pop_back();
        out.push_back(n);
        if (n->Child) todo.push_back(n->Child);
        if (n->Next) todo.push_back(n->Next);  // siblings before children
    }
    return out;
}

void TKeyStore::Clear() {
    for (const TKeyNode* n : TreeOrder()) delete n;
    Root = CurrentNode = nullptr;
    LastCommand = -1;
    EnumIndex = 0;
}

void TKeyStore::SwapBindings(TKeyStore& o) {
    std::swap(Root, o.Root);
    CurrentNode = o.CurrentNode = nullptr;
    EnumIndex = o.EnumIndex = 0;
}

TKeyMatch TKeyStore::Match(uint16_t shortcut) {
    TKeyNode* level = Root;
    if (CurrentNode) {
        level = CurrentNode;
        shortcut &= 0xFF;
    }
    CurrentNode = nullptr;
    while (level && level->Key != shortcut) level = level->Next;
    if (!level) return TKeyMatch::None;
    if (level->Child) {
        CurrentNode = level->Child;
        return TKeyMatch::Prefix;
    }
    LastCommand = level->Command;
    return TKeyMatch::Recognised;
}

TKeyNode* TKeyStore::FindOrAppend(TKeyNode** list, uint16_t key) {
    while (*list && (*list)->Key != key) list = &(*list)->Next;
    if (!*list) {
        *list = new TKeyNode;
        (*list)->Key = key;
    }
    return *list;
}

void TKeyStore::AddBinding(uint16_t firstKey, uint16_t secondKey, int32_t command) {
    auto ambiguous = [&](int32_t other) {
        throw EAmbigiousKeyPair(Format("Duplicate key sequence definition for\r\n\"%s\" and \"%s\"",
                                       Owner->CommandName(command).c_str(), Owner->CommandName(other).c_str()));
    };
    // A second stroke is its virtual key alone; one without a key is no stroke.
    secondKey &= 0xFF;
    TKeyNode* node = FindOrAppend(&Root, firstKey);
    if (secondKey == 0) {
        if (node->Child) ambiguous(node->Child->Command);
        node->Binding = 1;
    } else if (node->Command == -1) {
        TKeyNode* second = FindOrAppend(&node->Child, secondKey);
        second->Binding = 1;
        second->Parent = node;
        node = second;
    }
    if (node->Command != -1) ambiguous(node->Command);
    node->Command = command;
}

TKeyboardActionContoller::TKeyboardActionContoller() : Store(new TKeyStore(this)) {}

void TKeyboardActionContoller::Clear() {
    Store->Clear();
    Commands.clear();
}

TKeyMatch TKeyboardActionContoller::HandleKey(uint16_t& key, TShiftState& shift, bool& handled) {
    handled = false;
    TKeyMatch m = Store->Match(ShortCut(key, shift));
    if (m == TKeyMatch::None) return m;
    handled = true;
    key = 0;
    shift = 0;
    if (m == TKeyMatch::Recognised) {
        int32_t command = Store->LastCommand;
        if (OnAction) OnAction(this, command);
    }
    return m;
}

void TKeyboardActionContoller::AddCommand(int32_t id, const std::string& name) {
    for (size_t i = Commands.size(); i-- > 0;)
        if (Commands[i].second == id) {
            Commands.erase(Commands.begin() + static_cast<long>(i));
            break;
        }
    // Kept to what the name's length byte in the stream form holds.
    Commands.emplace_back(name.substr(0, 255), id);
}

std::string TKeyboardActionContoller::CommandName(int32_t id) const {
    for (size_t i = Commands.size(); i-- > 0;)
        if (Commands[i].second == id) return Commands[i].first;
    return std::string();
}

void TKeyboardActionContoller::AddKey(uint16_t firstKey, uint16_t secondKey, int32_t command) {
    Store->AddBinding(firstKey, secondKey, command);
}

std::vector<TKeyBinding> TKeyboardActionContoller::Bindings() const {
    std::vector<TKeyBinding> out;
    for (const TKeyNode* n : Store->TreeOrder()) {
        if (!n->Binding || n->Command == -1) continue;
        TKeyBinding b;
        b.FirstKey = n->Parent ? n->Parent->Key : n->Key;
        b.SecondKey = n->Parent ? n->Key : 0;
        b.Command = n->Command;
        out.push_back(b);
    }
    return out;
}

std::pair<uint16_t, uint16_t> TKeyboardActionContoller::FirstKeysOfCommand(int32_t command) {
    Store->EnumIndex = 0;
    return NextKeysOfCommand(command);
}

std::pair<uint16_t, uint16_t> TKeyboardActionContoller::NextKeysOfCommand(int32_t command) {
    std::vector<TKeyBinding> all = Bindings();
    while (Store->EnumIndex < static_cast<int32_t>(all.size())) {
        const TKeyBinding& b = all[static_cast<size_t>(Store->EnumIndex++)];
        if (b.Command == command) return {b.FirstKey, b.SecondKey};
    }
    return {0, 0};
}

void TKeyboardActionContoller::Assign(const TObject* source) {
    const TKeyboardActionContoller* src = dynamic_cast<const TKeyboardActionContoller*>(source);
    if (!src)
        throw Exception(Format("Cannot assign a %s to a %s", ClassNameOf(source).c_str(), ClassNameOf(this).c_str()));
    CopyThroughStream(*src);
}

void TKeyboardActionContoller::SaveToStream(TStream& s) const {
    WriteInt(s, static_cast<int32_t>(Commands.size()));
    for (const auto& c : Commands) {
        WriteInt(s, c.second);
        WriteShortString(s, c.first);
    }
    std::vector<TKeyBinding> all = Bindings();
    WriteInt(s, static_cast<int32_t>(all.size()));
    for (const TKeyBinding& b : all) {
        WriteWord(s, b.FirstKey);
        WriteWord(s, b.SecondKey);
        WriteInt(s, b.Command);
    }
}

void TKeyboardActionContoller::LoadFromStream(TStream& s) {
    TKeyboardActionContoller t;
    int32_t commands = ReadCount(s, INT32_MAX, 5, "command");
    for (int32_t i = 0; i < commands; i++) {
        int32_t id = ReadInt(s);
        t.AddCommand(id, ReadShortString(s));
    }
    int32_t bindings = ReadCount(s, INT32_MAX, 8, "key binding");
    for (int32_t i = 0; i < bindings; i++) {
        uint16_t first = ReadWord(s);
        uint16_t second = ReadWord(s);
        t.AddKey(first, second, ReadInt(s));
    }
    // The store stays the same object: the editor may be inside a sequence.
    Store->SwapBindings(*t.Store);
    Commands.swap(t.Commands);
}

namespace {

std::unique_ptr<TKeyboardActionContoller> BuildDefaultKeyMap() {
    static const char* const names[caCommandCount] = {
        "Cursor left", "Cursor right", "Line start", "Line end", "Up one line", "Down one line", "Up one page",
        "Down one page", "Move to word before", "Move to word after", "Document start", "Document end",
        "Cut to clipboard", "Copy to clipboard", "Paste from clipboard", "Delete character at cursor",
        "Delete character before caret", "Indent selected block", "Un-indent selected block",
        "Toggle insert/overwrite mode"};
    std::unique_ptr<TKeyboardActionContoller> map(new TKeyboardActionContoller);
    for (int32_t id = 0; id < caCommandCount; id++) {
        std::string name;
        if (id < 20) name = names[id];
        else if (id < caGOTOBOOKMARK0) name = Format("Set Bookmark %d", id - caSETBOOKMARK0);
        else if (id < caDELETELINE) name = Format("Goto Bookmark %d", id - caGOTOBOOKMARK0);
        else if (id == caDELETELINE) name = "Delete current line";
        else if (id == caUNDO) name = "Undo";
        else if (id == caREDO) name = "Redo";
        else if (id == caDELPREVWORD) name = "Delete previous word";
        map->AddCommand(id, name);
    }
    const uint16_t ctrl = scCtrl;
    struct {
        uint16_t first, second;
        int32_t command;
    } keys[] = {
        {vkLeft, 0, caLEFT}, {vkRight, 0, caRIGHT}, {vkHome, 0, caLINEHOME}, {vkEnd, 0, caLINEEND},
        {vkUp, 0, caUP}, {vkDown, 0, caDOWN}, {vkPrior, 0, caPAGEUP}, {vkNext, 0, caPAGEDOWN},
        {static_cast<uint16_t>(ctrl | vkLeft), 0, caWORDLEFT}, {static_cast<uint16_t>(ctrl | vkRight), 0, caWORDRIGHT},
        {static_cast<uint16_t>(ctrl | vkHome), 0, caDOCSTART}, {static_cast<uint16_t>(ctrl | vkEnd), 0, caDOCEND},
        {static_cast<uint16_t>(ctrl | 'X'), 0, caCUT}, {static_cast<uint16_t>(ctrl | 'C'), 0, caCOPY},
        {static_cast<uint16_t>(ctrl | 'V'), 0, caPASTE}, {vkDelete, 0, caDELETE}, {vkBack, 0, caBACKSPACE},
        {static_cast<uint16_t>(ctrl | 'K'), 'I', caBLOCKIND}, {static_cast<uint16_t>(ctrl | 'K'), 'U', caBLOCKUND},
        {vkInsert, 0, caINSTOGGLE},
    };
    for (const auto& k : keys) map->AddKey(k.first, k.second, k.command);
    for (int d = 0; d < 10; d++) map->AddKey(ctrl | 'K', static_cast<uint16_t>('0' + d), caSETBOOKMARK0 + d);
    for (int d = 0; d < 10; d++) map->AddKey(ctrl | 'Q', static_cast<uint16_t>('0' + d), caGOTOBOOKMARK0 + d);
    map->AddKey(ctrl | 'Y', 0, caDELETELINE);
    map->AddKey(ctrl | 'Z', 0, caUNDO);
    map->AddKey(ctrl | scShift | 'Z', 0, caREDO);
    map->AddKey(ctrl | vkBack, 0, caDELPREVWORD);
    return map;
}

}  // namespace

const TKeyboardActionContoller& DefaultKeyMap() {
    static const std::unique_ptr<TKeyboardActionContoller> map = BuildDefaultKeyMap();
    return *map;
}

TSet256 ShiftFreeKeys(const TKeyboardActionContoller& map) {
    TSet256 keys;
    for (const TKeyBinding& b : map.Bindings())
        if ((b.Command >= caLEFT && b.Command <= caDOCEND) || b.Command == caBACKSPACE)
            keys.Include(static_cast<uint8_t>(b.FirstKey & 0xFF));
    return keys;
}

TSet256 DefaultShiftFreeKeys() {
    return TSet256::Of({vkBack, vkPrior, vkNext, vkEnd, vkHome, vkLeft, vkUp, vkRight, vkDown});
}
