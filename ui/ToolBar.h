// The platform's toolbar with buttons as objects. The toolbar is its own
// notification window, so each button's command and drop-down reach the
// button itself whatever the toolbar's parent is.
#pragma once

#include <memory>

#include "Control.h"
#include "ImgList.h"
#include "Menus.h"

enum TToolButtonStyle { tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider };

class TToolBar;

class TToolButton : public TObject {
public:
    TToolBar* ToolBar() const { return bar_; }
    int Index() const;
    TToolButtonStyle Style() const { return style_; }
    // A grouped check button goes down alone among its neighbours in the group.
    bool Grouped() const { return grouped_; }
    std::string Caption() const { return caption_; }
    void SetCaption(const std::string& s);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int i);
    bool Down() const;
    void SetDown(bool d);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool e);
    bool Visible() const { return visible_; }
    void SetVisible(bool v);
    // The button's tooltip, shown the way every control's Hint is.
    std::string Hint;
    std::string Key;  // the caller's name for the button
    int Tag = 0;
    // Shown below a drop-down button's arrow.
    TPopupMenu* DropdownMenu = nullptr;
    TNotifyEvent OnClick;  // Sender: the button
    // As if the user clicked it (a check button changes its state first).
    void Click();
    UINT Command() const { return command_; }

private:
    friend class TToolBar;
    TToolButton(TToolBar* bar, UINT command, TToolButtonStyle style, bool grouped)
        : bar_(bar), style_(style), grouped_(grouped), command_(command) {}
    void Clicked();
    TToolBar* bar_;
    TToolButtonStyle style_;
    bool grouped_;
    std::string caption_;
    int imageIndex_ = -1;
    bool down_ = false, enabled_ = true, visible_ = true;
    UINT command_;
};

using TToolButtonEvent = std::function<void(TObject* Sender, TToolButton* Button)>;

class TToolBar : public TWinControl {
public:
    explicit TToolBar(TWinControl* parent);
    int ButtonCount() const { return static_cast<int>(buttons_.size()); }
    TToolButton* Buttons(int i) const { return buttons_.at(static_cast<size_t>(i)).get(); }
    TToolButton* AddButton(TToolButtonStyle style = tbsButton, bool grouped = false);
    // The first button with this key, or null.
    TToolButton* FindButton(const std::string& key) const;
    void ClearButtons();
    TImageList* Images() const { return images_; }
    void SetImages(TImageList* list);
    bool ShowCaptions() const { return showCaptions_; }
    void SetShowCaptions(bool s);
    // Captions beside the images instead of below them.
    bool List() const { return list_; }
    void SetList(bool l);
    // Any button's click, after the button's own OnClick.
    TToolButtonEvent OnButtonClick;
    bool HandleMessage(TMessage& m) override;
    // Over a button its Hint (part: the button's index), elsewhere the bar's.
    std::string HintAt(POINT client, int& part) const override;

protected:
    void CreateParams(TCreateParams& p) override;
    void WndCreated() override;
    void Notification(TComponent* c, TOperation op) override;

private:
    friend class TToolButton;
    void Rebuild();
    TToolButton* ByCommand(UINT command) const;
    bool OwnNotify(NMHDR* header, LRESULT& result);
    void DropDown(TToolButton& b);
    std::vector<std::unique_ptr<TToolButton>> buttons_;
    UINT nextCommand_ = 1;
    TImageList* images_ = nullptr;
    bool showCaptions_ = false, list_ = false;
};
