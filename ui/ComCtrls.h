// The platform's common controls: status bar, progress bar, up-down buttons,
// tab strip and animation; the list view and the toolbar have files of their own.
#pragma once

#include "ListView.h"
#include "ToolBar.h"

enum TStatusPanelBevel { pbNone, pbLowered, pbRaised };

class TStatusBar;

class TStatusPanel {
public:
    int Index() const { return index_; }
    std::string Text() const { return text_; }
    void SetText(const std::string& s);
    int Width() const { return width_; }
    // The last panel reaches the bar's right edge whatever its width.
    void SetWidth(int w);
    TStatusPanelBevel Bevel() const { return bevel_; }
    void SetBevel(TStatusPanelBevel b);
    TAlignmentText Alignment() const { return alignment_; }
    void SetAlignment(TAlignmentText a);

private:
    friend class TStatusBar;
    TStatusPanel(TStatusBar* bar, int index) : bar_(bar), index_(index) {}
    TStatusBar* bar_;
    int index_;
    std::string text_;
    int width_ = 50;
    TStatusPanelBevel bevel_ = pbLowered;
    TAlignmentText alignment_ = taLeft;
};

class TStatusBar : public TWinControl {
public:
    explicit TStatusBar(TWinControl* parent);
    int PanelCount() const { return static_cast<int>(panels_.size()); }
    TStatusPanel* Panels(int i) const { return panels_.at(static_cast<size_t>(i)).get(); }
    TStatusPanel* AddPanel();
    void ClearPanels();
    // One text over the whole bar instead of the panels.
    bool SimplePanel() const { return simplePanel_; }
    void SetSimplePanel(bool s);
    std::string SimpleText() const { return simpleText_; }
    void SetSimpleText(const std::string& s);
    // Panel i's rectangle in the bar's client coordinates (to place a control on it).
    RECT PanelRect(int i) const;

protected:
    void CreateParams(TCreateParams& p) override;
    void WndCreated() override;

private:
    friend class TStatusPanel;
    void ApplyParts();
    void ApplyText(const TStatusPanel& panel);
    std::vector<std::unique_ptr<TStatusPanel>> panels_;
    bool simplePanel_ = false;
    std::string simpleText_;
};

class TProgressBar : public TWinControl {
public:
    explicit TProgressBar(TWinControl* parent);
    int Min() const { return min_; }
    int Max() const { return max_; }
    void SetMin(int v) { SetRange(v, max_); }
    void SetMax(int v) { SetRange(min_, v); }
    void SetRange(int min, int max);
    int Position() const;
    // Kept within Min and Max.
    void SetPosition(int p);

protected:
    void CreateParams(TCreateParams& p) override;
    void WndCreated() override;

private:
    int min_ = 0, max_ = 100, position_ = 0;
};

enum TUDBtnType { btNext, btPrev };
enum TUDOrientation { udHorizontal, udVertical };
using TUDClickEvent = std::function<void(TObject* Sender, TUDBtnType Button)>;
using TUDChangingEvent = std::function<void(TObject* Sender, bool& AllowChange)>;

class TUpDown : public TWinControl {
public:
    explicit TUpDown(TWinControl* parent);
    int Min() const { return min_; }
    int Max() const { return max_; }
    void SetMin(int v);
    void SetMax(int v);
    int Position() const;
    void SetPosition(int p);
    int Increment = 1;
    bool Wrap = false;
    bool Thousands = true;  // a separator every three digits of the buddy's number
    TUDOrientation Orientation = udVertical;
    // The edit that shows the position, beside which the buttons sit.
    TWinControl* Associate() const { return associate_; }
    void SetAssociate(TWinControl* c);
    // Before a button changes the position (refusable), and after.
    TUDChangingEvent OnChanging;
    TUDClickEvent OnClick;
    bool Notify(NMHDR* header, LRESULT& result) override;
    bool Scroll(int bar, int code, int pos) override;

protected:
    void CreateParams(TCreateParams& p) override;
    void WndCreated() override;

private:
    int min_ = 0, max_ = 100, position_ = 0;
    int lastDelta_ = 0;
    TWinControl* associate_ = nullptr;
};

class TTabControl : public TWinControl {
public:
    explicit TTabControl(TWinControl* parent);
    int TabCount() const { return static_cast<int>(tabs_.size()); }
    std::string Tabs(int i) const { return tabs_.at(static_cast<size_t>(i)); }
    int AddTab(const std::string& caption);
    void SetTab(int i, const std::string& caption);
    void DeleteTab(int i);
    void ClearTabs();
    // The tooltip of tab i (empty: the control's own Hint shows over it).
    std::string TabHint(int i) const { return tabHints_.at(static_cast<size_t>(i)); }
    void SetTabHint(int i, const std::string& hint) { tabHints_.at(static_cast<size_t>(i)) = hint; }
    std::string HintAt(POINT client, int& part) const override;
    // -1 for none. Setting it raises no event.
    int TabIndex() const;
    void SetTabIndex(int i);
    // The area inside the tabs and border, in the control's client coordinates.
    RECT DisplayRect() const;
    // Raised when the user picks another tab: first OnChanging (refusable), then OnChange.
    TUDChangingEvent OnChanging;
    TNotifyEvent OnChange;
    bool Notify(NMHDR* header, LRESULT& result) override;

protected:
    void CreateParams(TCreateParams& p) override;
    void WndCreated() override;

private:
    void InsertTab(int i);
    std::vector<std::string> tabs_, tabHints_;
    int tabIndex_ = -1;
};

class TPageControl;

// One page of a page control: a panel shown while its tab is selected.
class TTabSheet : public TWinControl {
public:
    explicit TTabSheet(TPageControl* pageControl);
    ~TTabSheet() override;
    TPageControl* PageControl() const { return pageControl_; }
    int PageIndex() const;
    bool PaintsItself() const override { return true; }

protected:
    void CreateParams(TCreateParams& p) override;

private:
    TPageControl* pageControl_;
};

// Tabs over pages: picking a tab shows its page and hides the others.
class TPageControl : public TTabControl {
public:
    explicit TPageControl(TWinControl* parent);
    ~TPageControl() override;
    int PageCount() const { return static_cast<int>(pages_.size()); }
    TTabSheet* Pages(int i) const { return pages_.at(static_cast<size_t>(i)); }
    // A new page at the end with this tab text.
    TTabSheet* AddPage(const std::string& caption);
    TTabSheet* ActivePage() const;
    void SetActivePage(TTabSheet* page);
    int ActivePageIndex() const { return TabIndex(); }
    void SetActivePageIndex(int i);
    bool Notify(NMHDR* header, LRESULT& result) override;
    void Resized() override;

protected:
    void WndCreated() override;

private:
    friend class TTabSheet;
    void PlacePages();
    void ShowActivePage();
    std::vector<TTabSheet*> pages_;
};

enum TCommonAVI { aviNone, aviFindFolder, aviFindFile, aviFindComputer, aviCopyFiles, aviCopyFile, aviRecycleFile,
                  aviEmptyRecycle, aviDeleteFile };

// Plays a silent clip (a file, or one of the shell's own) in a loop or a number of times.
class TAnimate : public TWinControl {
public:
    explicit TAnimate(TWinControl* parent);
    TCommonAVI CommonAVI() const { return commonAVI_; }
    void SetCommonAVI(TCommonAVI a);
    std::string FileName() const { return fileName_; }
    void SetFileName(const std::string& f);
    int StartFrame = 1;   // 1-based
    int StopFrame = 0;    // 0: the last frame
    int Repetitions = 0;  // 0: for ever
    bool Transparent = true;
    bool Active() const { return active_; }
    // Opens the clip and plays it, or stops it. A clip that cannot be opened
    // leaves the control inactive and empty: the window goes on without it.
    void SetActive(bool a);
    void Play() { SetActive(true); }
    void Stop() { SetActive(false); }

protected:
    void CreateParams(TCreateParams& p) override;

private:
    bool Open();
    TCommonAVI commonAVI_ = aviNone;
    std::string fileName_;
    bool active_ = false;
};
