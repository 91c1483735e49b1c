// The options dialog's key assignments page: commands, their key pairs and
// the two hot-key boxes.
#include <algorithm>

#include "OptionsDialog.h"
#include "OptionsDialogLayout.h"

using namespace optionsdialog;

namespace {

std::string PairText(const TKeyPair& p) {
    return "[" + ShortCutToText(p.Key1) + "]  [" + (p.Key2 ? ShortCutToText(p.Key2) : std::string("<none>")) + "]";
}

}  // namespace

void TOptionsDialog::BuildKeysPage() {
    TWinControl* p = KeyMappingsPage = PageControl1->AddPage("Key assignments");
    LabelAt(p, 6, 4, "Commands");
    CommandDescListBox = Place(new TListBox(p), 6, 20, 284, 302);
    CommandDescListBox->OnClick = [this](TObject*) { ShowCommand(CommandDescListBox->ItemIndex()); };
    LabelAt(p, 304, 4, "Uses keys");
    CommandKeysListBox = Place(new TListBox(p), 304, 20, 152, 120);
    CommandKeysListBox->OnClick = [this](TObject*) { ShowPair(CommandKeysListBox->ItemIndex()); };
    CommandKeysListBox->OnExit = [this](TObject*) { DropEmptyPairs(); };
    LabelAt(p, 304, 152, "Key 1", 60);
    Key1Box = Place(new TSM_HotKey(p), 304, 168, 152, 21);
    LabelAt(p, 304, 192, "Key 2", 60);
    Key2Box = Place(new TSM_HotKey(p), 304, 208, 152, 21);
    for (TWinControl* c : std::initializer_list<TWinControl*>{CommandDescListBox, CommandKeysListBox, Key1Box, Key2Box})
        c->OnEnter = [this, c](TObject*) { keyFocus_ = c; };
    Key1Box->OnExit = [this](TObject*) { StoreKey(true); };
    Key2Box->OnExit = [this](TObject*) { StoreKey(false); };
    AddButton = Place(new TButton(p), 304, 244, 72, 25, "Add...");
    DeleteButton = Place(new TButton(p), 384, 244, 72, 25, "Delete");
    AddButton->OnClick = [this](TObject*) {
        int c = CommandDescListBox->ItemIndex();
        if (c < 0) return;
        commands_[static_cast<size_t>(c)].Pairs.push_back(TKeyPair());
        commands_[static_cast<size_t>(c)].Changed = true;
        ShowCommand(c);
        CommandKeysListBox->SetItemIndex(CommandKeysListBox->Items().Count() - 1);
        ShowPair(CommandKeysListBox->ItemIndex());
        Key1Box->SetFocus();
    };
    DeleteButton->OnClick = [this](TObject*) {
        int c = CommandDescListBox->ItemIndex(), k = CommandKeysListBox->ItemIndex();
        if (c < 0 || k < 0) return;
        TCommandKeys& cmd = commands_[static_cast<size_t>(c)];
        if (k >= static_cast<int>(cmd.Pairs.size())) return;
        // From the second key's box only that key goes; else the whole pair.
        if (keyFocus_ == Key2Box) cmd.Pairs[static_cast<size_t>(k)].Key2 = 0;
        else cmd.Pairs.erase(cmd.Pairs.begin() + k);
        cmd.Changed = true;
        ShowCommand(c);
    };
}

void TOptionsDialog::FillKeysPage() {
    commands_ = model_.Commands();
    CommandDescListBox->Clear();
    for (const TCommandKeys& c : commands_) CommandDescListBox->Items().Add(c.Name);
}

void TOptionsDialog::ShowCommand(int index) {
    CommandKeysListBox->Clear();
    if (index < 0 || index >= static_cast<int>(commands_.size())) return;
    for (const TKeyPair& p : commands_[static_cast<size_t>(index)].Pairs) CommandKeysListBox->Items().Add(PairText(p));
    if (CommandKeysListBox->Items().Count() > 0) CommandKeysListBox->SetItemIndex(0);
    ShowPair(CommandKeysListBox->ItemIndex());
}

void TOptionsDialog::ShowPair(int index) {
    int c = CommandDescListBox->ItemIndex();
    TKeyPair p;
    if (c >= 0 && index >= 0 && index < static_cast<int>(commands_[static_cast<size_t>(c)].Pairs.size()))
        p = commands_[static_cast<size_t>(c)].Pairs[static_cast<size_t>(index)];
    Key1Box->SetHotKey(p.Key1);
    Key2Box->SetHotKey(p.Key2);
}

void TOptionsDialog::StoreKey(bool first) {
    int c = CommandDescListBox->ItemIndex();
    if (c < 0) return;
    TCommandKeys& cmd = commands_[static_cast<size_t>(c)];
    if (cmd.Pairs.empty()) return;
    int k = CommandKeysListBox->ItemIndex();
    if (k < 0 || k >= static_cast<int>(cmd.Pairs.size())) k = static_cast<int>(cmd.Pairs.size()) - 1;
    TKeyPair& p = cmd.Pairs[static_cast<size_t>(k)];
    uint16_t key = first ? Key1Box->HotKey() : Key2Box->HotKey();
    if ((first ? p.Key1 : p.Key2) == key) return;
    (first ? p.Key1 : p.Key2) = key;
    cmd.Changed = true;
    DropEmptyPairs();
    ShowCommand(c);
    CommandKeysListBox->SetItemIndex(std::min(k, CommandKeysListBox->Items().Count() - 1));
}

void TOptionsDialog::DropEmptyPairs() {
    int c = CommandDescListBox->ItemIndex();
    if (c < 0) return;
    auto& pairs = commands_[static_cast<size_t>(c)].Pairs;
    size_t before = pairs.size();
    pairs.erase(std::remove_if(pairs.begin(), pairs.end(), [](const TKeyPair& p) { return p.Key1 == 0; }),
                pairs.end());
    if (pairs.size() != before) ShowCommand(c);
}

