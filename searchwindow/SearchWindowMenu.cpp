// TSearchWindow: the menu bar.
#include "runtime/Application.h"
#include "searchwindow/SearchWindow.h"
#include "ui/Menus.h"
#include "searchwindow/AboutBox.h"

TMenuItem* TSearchWindow::AddItem(TMenuItem* parent, const std::string& caption, TShortCut key,
                                  std::function<void()> click) {
    auto* item = new TMenuItem(menu_);
    item->SetCaption(caption);
    if (key) item->SetShortCut(key);
    if (click) item->OnClick = [click](TObject*) { click(); };
    parent->Add(item);
    return item;
}

void TSearchWindow::BuildMenu() {
    menu_ = new TMainMenu(this);
    TMenuItem* root = menu_->Items();
    TMenuItem* file = AddItem(root, "&File", 0, nullptr);
    TMenuItem* fileNew = AddItem(file, "&New", 0, nullptr);
    AddItem(fileNew, "&Window", ShortCut('N', ssCtrl), [] {
        auto* w = new TSearchWindow;
        w->IsNewWindow = true;
        w->Show();
        // A window that could not load is not counted among the open ones.
        if (!w->Load()) w->Release();
    });
    AddItem(fileNew, "&Search", ShortCut('R', ssCtrl), [this] { Run(WindowCommand::NewSearch); });
    AddItem(file, "&Open search...", ShortCut('O', ssCtrl), [this] { Run(WindowCommand::OpenSearch); });
    AddItem(file, "&Merge search...", ShortCut('M', ssCtrl), [this] { Run(WindowCommand::MergeSearch); });
    AddItem(file, "-", 0, nullptr);
    AddItem(file, "Save search", ShortCut('S', ssCtrl), [this] { Run(WindowCommand::SaveSearch); });
    AddItem(file, "Save search &as...", 0, [this] { Run(WindowCommand::SaveSearchAs); });
    AddItem(file, "-", 0, nullptr);
    AddItem(file, "Quit", ShortCut('Q', ssCtrl), [this] { PostMessageA(Handle(), WM_CLOSE, 0, 0); });
    TMenuItem* mask = AddItem(root, "&Mask", 0, nullptr);
    maskMenuItems_[0] = AddItem(mask, "&New mask...", 0, [this] { Run(WindowCommand::NewMask); });
    maskMenuItems_[1] = AddItem(mask, "&Open mask...", 0, [this] { Run(WindowCommand::OpenMask); });
    maskMenuItems_[2] = AddItem(mask, "&Save mask...", 0, [this] { Run(WindowCommand::SaveMaskAs); });
    AddItem(mask, "-", 0, nullptr);
    maskMenuItems_[3] = AddItem(mask, "&Report property values...", 0, [this] { Run(WindowCommand::ReportValues); });
    maskMenuItems_[4] = AddItem(mask, "Report &unick values...", 0, [this] { Run(WindowCommand::ReportUniqueValues); });
    TMenuItem* view = AddItem(root, "&View", 0, nullptr);
    viewItems_[0] = AddItem(view, "&LargeIcons", 0, [this] { SetFoundListView(0); });
    viewItems_[1] = AddItem(view, "&Small icons", 0, [this] { SetFoundListView(1); });
    viewItems_[2] = AddItem(view, "&List", 0, [this] { SetFoundListView(2); });
    viewItems_[0]->SetChecked(true);
    AddItem(view, "-", 0, nullptr);
    AddItem(view, "Filter...", ShortCut('F', ssCtrl), [this] { Run(WindowCommand::EditFilter); });
    TMenuItem* panels = AddItem(root, "&Panels", 0, nullptr);
    const char* names[5] = {"&General", "&Content", "&Results", "&Options", "&Help"};
    for (int i = 0; i < 5; ++i)
        panelItems_[i] = AddItem(panels, names[i], ShortCut(static_cast<WORD>(VK_F1 + i), ssCtrl),
                                 [this, i] { SelectPanel(static_cast<int16_t>(i + 1)); });
    TMenuItem* help = AddItem(root, "&Help", 0, nullptr);
    AddItem(help, "&Contents...", ShortCut(VK_F1, 0), [this] { SelectPanel(5); });
    AddItem(help, "-", 0, nullptr);
    AddItem(help, "&About Sablefind...", 0, [this] { ShowAbout(); });
    SetMenu(menu_);
}

void TSearchWindow::SetFoundListView(int16_t mode) {
    if (mode < 0 || mode > 2) return;  // a saved mode of another kind leaves the view as it is
    if (TToolButton* view = mainToolbar_->FindButton("View"))
        view->SetImageIndex(static_cast<int>(ViewModeGlyph(mode)));
    foundList_->SetView(mode);
    FoundListView = mode;
    for (int i = 0; i < 3; ++i) viewItems_[i]->SetChecked(i == mode);
}

void TSearchWindow::SetMaskListView(int16_t mode) {
    if (mode < 0 || mode > 2) return;  // a saved mode of another kind leaves the view as it is
    maskList_->SetView(mode);
    MaskListView = mode;
    PressViewButton(propertyToolbar_, propertyToolbar_->FindButton("Large Icons")->Index(), mode);
}

void TSearchWindow::SetPropertyListView(int16_t mode) {
    if (mode < 0 || mode > 2) return;  // a saved mode of another kind leaves the view as it is
    propertiesList_->SetView(mode);
    PropertyListView = mode;
    PressViewButton(browserToolbar_, browserToolbar_->FindButton("Large icons")->Index(), mode);
}

void TSearchWindow::ShowAbout() {
    TAboutForm about(this);
    about.ShowModal();
}
