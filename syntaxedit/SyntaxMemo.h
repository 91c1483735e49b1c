// The editor control's window: a thin shell over TSyntaxMemoCore. It forwards
// the EDIT-style and private messages to the core, paints through a device
// context surface, measures its font, keeps the scroll bars, and turns keys,
// mouse, clipboard and dropped files into core calls. Windows only.
#pragma once

#include <windows.h>
#include <shellapi.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "SyntaxMemoCore.h"
#include "SyntaxMemoStrings.h"
#include "syntaxedit/core/OptionsModel.h"
#include "ui/Control.h"
#include "StringList.h"

// The clipboard formats copy can place (TSM_ClipFormats as bits).
enum : uint8_t { smTEXT = 1, smRTF = 2 };

// The rich-edit message asking whether the clipboard holds a format we take.
const UINT kEmCanPaste = WM_USER + 50;

class TSyntaxMemoFind;
class TSyntaxMemoOle;
class TSyntaxMemoParser;
class TSyntaxMemoSlots;
class TSyntaxMemoMacros;
class TMemoFonts;

class TSyntaxMemo : public TWinControl, public TSyntaxMemoView, public TSyntaxMemoTarget {
public:
    explicit TSyntaxMemo(TWinControl* parent);
    ~TSyntaxMemo() override;

    TSyntaxMemoCore& Core() { return core_; }
    TSyntaxMemoStrings& Lines() { return lines_; }
    // Assigning Lines replaces the whole text with the list's lines.
    void SetLines(const TStringList& value) { lines_.Assign(value); }
    void SetLines(const std::vector<std::string>& value) { lines_.Assign(value); }
    // Code templates, auto-correct and the completion list (SyntaxMemoMacros.cpp).
    TSyntaxMemoMacros& Macros() { return *macros_; }
    std::string Version() const { return "2.00.02"; }
    // The options-dialog pages a highlighter shows for this control
    // (pp... bits; all five by default).
    unsigned VisiblePropEdPages() const { return visiblePropEdPages_; }
    void SetVisiblePropEdPages(unsigned pages) { visiblePropEdPages_ = pages & kAllPropEdPages; }
    // Hooks for a form designer's property editors; kept, nothing more.
    std::string About, Settings;

    bool ShowFocusLine() const { return core_.ShowFocusLine(); }
    void SetShowFocusLine(bool on) { core_.SetShowFocusLine(on); }
    // A press within this many milliseconds of a double click is placed even
    // inside the selection (the triple click); read when the control is made.
    UINT DoubleClickTime = GetDoubleClickTime();
    // 0 none, 1 single (a sunken edge); a change makes the window again.
    int BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(int style);
    // Whether the text changed since it was loaded, saved or marked unmodified
    // (false empties the undo log).
    bool Modified() { return core_.Message(SMM_MODIFIED, 0, 0) != 0; }
    void SetModified(bool v) { core_.Message(SMM_MODIFIED, 1, v ? 1 : 0); }
    int32_t RightMargin() const { return core_.RightMargin(); }
    void SetRightMargin(int32_t column) { core_.SetRightMargin(column); }
    // The selection shows only while focused (false: always).
    bool HideSelection() const { return core_.HideSelection; }
    void SetHideSelection(bool on) {
        core_.HideSelection = on;
        ViewInvalidate();
    }
    bool WantTab() const { return core_.WantTab; }
    void SetWantTab(bool on) { core_.WantTab = on; }
    bool WantReturns() const { return core_.WantReturns; }
    void SetWantReturns(bool on) { core_.WantReturns = on; }
    bool ReadOnly() const { return core_.ReadOnly; }
    void SetReadOnly(bool v) { core_.ReadOnly = v; }
    int32_t Options() const { return core_.Options(); }
    void SetOptions(int32_t word);
    bool WordWrap() const { return (core_.Options() & smoWordWrap) != 0; }
    void SetWordWrap(bool on);
    TColor def_BackColor() const { return core_.DefBackColor(); }
    TColor def_TextColor() const { return core_.DefTextColor(); }
    void Setdef_BackColor(TColor c);
    void Setdef_TextColor(TColor c);
    uint8_t def_FontStyle() const { return core_.DefFontStyle(); }
    void Setdef_FontStyle(uint8_t style);

    // ---- values of the settings in force. Refused and unchanged values are
    // ignored; at design time every change is told to the form designer.
    int32_t Gutter() const { return core_.Gutter(); }
    void SetGutter(int32_t value);
    TColor GutterColor() const { return core_.GutterColor(); }
    void SetGutterColor(TColor c);
    TColor MarginColor() const { return core_.MarginColor(); }
    void SetMarginColor(TColor c);
    TColor SelTextColor() const { return core_.SelTextColor(); }
    void SetSelTextColor(TColor c);
    TColor SelTextBack() const { return core_.SelTextBack(); }
    void SetSelTextBack(TColor c);
    int32_t Margin() const { return core_.Margin(); }
    void SetMargin(int32_t value);
    std::string TabColumns() const { return core_.TabColumns(); }
    void SetTabColumns(const std::string& text);
    int32_t TabDefault() const { return core_.TabDefault(); }
    void SetTabDefault(int32_t value);
    int32_t IndentStep() const { return core_.IndentStep(); }
    void SetIndentStep(int32_t value);
    int32_t WrapAtColumn() const { return core_.WrapAtColumn(); }
    void SetWrapAtColumn(int32_t value);
    std::string WrapOverride() const { return core_.WrapOverride(); }
    void SetWrapOverride(const std::string& chars);
    // Style fonts made again when asked; then the active highlighter
    // refreshes every control using it (re-highlighting with restyleAll),
    // or without one the control takes its settings again.
    void RepaintThroughHighlighter(bool rederiveFonts, bool restyleAll);
    // Lazy highlighting: a pass covers about a page; the lines after it are
    // highlighted when they are painted.
    bool LazyMode() const { return core_.LazyMode; }
    void SetLazyMode(bool on) { core_.LazyMode = on; }
    // The control sits on a form being designed; OnDesignerModified is the
    // designer's hook for "the form changed".
    bool Designing = false;
    TNotifyEvent OnDesignerModified;
    int32_t SelStart() const;
    void SetSelStart(int32_t v);
    int32_t SelLength();
    void SetSelLength(int32_t v);
    std::string SelText();
    void SetSelText(const std::string& s);

    // Line colours by 1-based line number (0 and 1 the first line; past the end the last).
    void SetLineTextColor(int32_t line, TColor c) { core_.SetLineTextColor(line, c); }
    void SetLineBackColor(int32_t line, TColor c) { core_.SetLineBackColor(line, c); }
    void SetLineTextBack(int32_t line, TColor c) { core_.SetLineBackColor(line, c); }

    void ExecuteCommand(int32_t command) { core_.ExecuteCommand(command); }
    // What copy places on the clipboard: a set of smTEXT and smRTF (empty:
    // copy only empties the clipboard).
    uint8_t ClipCopyFormats = smTEXT | smRTF;
    // False when nothing of what was asked reached the clipboard (it could
    // not be opened, or no format could be placed).
    bool CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();
    // Paints the whole client area into dc (a memory bitmap for tests and screenshots).
    void PaintTo(HDC dc);
    // Prints the lines of the selection on the default printer (the job is
    // named after the file); false when there is none or the job failed.
    bool Print();
    // The same on a printer the caller opened.
    bool PrintTo(HDC printer);
    // Sets the scroll bars to the values the core last gave.
    void FlushScrollBars();

    // ---- loading and saving the whole text
    TSaveFormat SaveFormat() const { return core_.SaveFormat; }
    void SetSaveFormat(TSaveFormat f) { core_.SaveFormat = f; }
    void LoadFromStream(TStream& stream) { core_.LoadFromStream(stream); }
    void SaveToStream(TStream& stream) { core_.SaveToStream(stream); }
    void LoadFromFile(const std::string& name) { core_.LoadFromFile(name); }
    void SaveToFile(const std::string& name) { core_.SaveToFile(name); }

    // ---- cursor, hyperlinks, marks, bookmarks
    // Cursor numbers: 0 default, -2 arrow, -3 cross, -4 I-beam, -14 split,
    // -21 hand. The mouse handler replaces only its own choices.
    int32_t Cursor() const { return cursor_; }
    void SetCursor(int32_t c) {
        cursor_ = c;
        ownCursor_ = false;
    }
    int32_t HyperCursor = -3;
    bool HyperlinkHover() const { return hyperHover_; }
    std::function<void(TObject* Sender)> OnHyperlinkHover;
    std::function<void(TObject* Sender, const std::string& HyperData, int HyperType)> OnHyperlinkClick;
    std::function<void(TObject* Sender, HDC dc, TTextMark* mark, const RECT& rect)> OnDrawMark;
    std::function<void(TObject* Sender, intptr_t aMark)> OnMarkChange, OnMarkFree;
    std::function<void(TObject* Sender, int Index)> OnBookmarkSet;
    // A named bookmark went with the text it stood in.
    std::function<void(TObject* Sender, const std::string& name)> OnCustomBookmarkFree;

    // 1-based line numbers; with word wrap the line's first piece.
    std::function<void(TObject* Sender, int32_t line)> OnGutterClick;
    // The handler may change the list: through OLE, the list it leaves is inserted.
    std::function<void(TObject* Sender, std::vector<std::string>& files, POINT pt)> OnFilesDropped;
    TNotifyEvent OnChange;
    // Text inserted (count > 0) or deleted (count < 0) at start; (0, 0) when
    // everything went.
    std::function<void(TObject* Sender, int32_t start, int32_t count)> OnTextChange;
    // A key sequence recognised: the handler may change the command run.
    std::function<void(TObject* Sender, int32_t& ActionCode)> OnCommandRecognised;
    std::function<void(TObject* Sender, const std::string& searchString)> OnSearchFail;
    // An OLE drop or a paste: the handler may change the source-type word.
    std::function<void(TObject* Sender, uint16_t& sourceTypes)> OnDataDrop;
    // Every token a highlighting pass meets (the handler may change its
    // value), and (-1, -1) with -1 before a pass, (-2, -2) with -2 after it.
    std::function<void(TObject* Sender, int32_t& TokenValue, int32_t ExtentStart, int32_t ExtentEnd)> OnTokenSeen;
    // With it set, OnTokenSeen finds the token's characters in TokenText().
    void SetWantTokenText(bool want);
    const std::string& TokenText();
    // OLE drag and drop: the drop target, drags of the selection.
    TSyntaxMemoOle& Ole() { return *ole_; }

    // SMM_FIND and SMM_FINDDIALOG (made on first use).
    TSyntaxMemoFind& Search();

    // Highlighter slots Parser1..Parser6 and the active one (1..6).
    TSyntaxMemoParser* Parser(int slot) const;
    void SetParser(int slot, TSyntaxMemoParser* parser);
    int32_t ActiveParser() const { return core_.ActiveParser(); }
    void SetActiveParser(int32_t value);
    TSyntaxMemoParser* ActiveParserObject() const;
    TSyntaxMemoSlots& Slots();
    // After the form is read: the filled slots serve this control.
    void Loaded();

    // TWinControl
    bool PaintsItself() const override { return true; }
    void Paint(TCanvas& canvas) override;
    // Paints now, straight into the window (no paint message): a log that
    // repaints after every line pays for the drawing only.
    void Repaint() override;
    bool HandleMessage(TMessage& m) override;
    bool KeyDown(WORD& key, TShiftState shift) override;
    bool KeyPress(char& key) override;
    bool MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    bool MouseMove(TShiftState shift, int x, int y) override;
    bool MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    bool DblClick(TMouseButton button, TShiftState shift, int x, int y) override;
    bool MouseWheel(int delta, TShiftState shift, int x, int y) override;
    bool Timer(UINT_PTR id) override;
    // The timer that scrolls a selection held outside the text.
    static const UINT_PTR kTrackTimer = 0x5E1;
    bool Scroll(int bar, int code, int pos) override;
    void FocusChanged(bool gained) override;
    void Resized() override;

    // TSyntaxMemoView
    void ViewInvalidate() override;
    void ViewScrollBar(bool vertical, int32_t max, int32_t page, int32_t pos) override;
    bool ViewFocused() const override { return Focused(); }
    bool ViewEnabled() const override { return Enabled(); }
    void ViewSettingsFont(const std::string& name, int32_t size) override;
    // TSyntaxMemoTarget
    intptr_t Perform(uint32_t msg, uintptr_t wParam, intptr_t lParam) override;
    TSyntaxMemoCore* TargetCore() override { return &core_; }
    bool HasWindow() const override { return HandleAllocated(); }
    void ClearText() override;
    void SetRedrawState(bool on) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void WndCreated() override;

private:
    void MeasureFont();
    // The control's font is the master once measured: a new one goes into
    // the settings in force, and an active highlighter restyles with it.
    void FontIntoSettings();
    void PlaceCaret();
    // Creates and shows the caret at the width the mode asks for.
    void MakeCaret(int width);
    // The caret at the drop position while a drag is over the control.
    void ShowDropCaret();
    // After a setter: repaint through the highlighter, tell the designer.
    void SettingChanged(bool repaint);
    void WrapChanged(bool caretInView);
    bool ClipboardMessage(TMessage& m);
    // SMM_HIGHLIGHTFROM: with set, the highlighting pass starts again at node
    // (a line of this text); the line it will start at next (null: none).
    intptr_t HighlightFrom(bool set, TLineNode* node);
    void DropFiles(HDROP drop);

    TSyntaxMemoCore core_;
    TSyntaxMemoStrings lines_;
    unsigned visiblePropEdPages_ = kAllPropEdPages;
    std::unique_ptr<TSyntaxMemoFind> find_;
    std::unique_ptr<TSyntaxMemoSlots> slots_;
    std::unique_ptr<TSyntaxMemoMacros> macros_;
    std::unique_ptr<TSyntaxMemoOle> ole_;
    std::unique_ptr<TMemoFonts> fonts_;
    UINT rtfFormat_ = 0;
    int borderStyle_ = 1;
    bool selecting_ = false;
    bool caretMade_ = false;
    bool fontFromSettings_ = false;  // the font is being taken from the settings
    bool dropCaret_ = false;  // made for a drag, not for the focus
    int caretWidth_ = 2;
    bool caretShown_ = false;
    DWORD lastDblClick_ = 0;
    bool dblClicked_ = false;
    struct Bar {
        int32_t max = 0, page = 0, pos = 0;
        bool pending = false;
        int32_t setMax = -1, setPage = -1, setPos = -1;
    } bars_[2];
    bool flushPosted_ = false;
    // The whole client was invalidated and no paint message came since:
    // another invalidation would only cost a round trip.
    bool invalidPending_ = false;
    // The thread that made the window: its messages from there are handled
    // without a trip through the message system.
    DWORD windowThread_ = 0;
    // Where the caret was last put (a move to the same place costs nothing).
    POINT caretAt_{-1, -1};
    // The paint's back buffer, kept between paints (making it is slow).
    HDC backDC_ = nullptr;
    HBITMAP backBitmap_ = nullptr;
    HGDIOBJ backOld_ = nullptr;
    int backW_ = 0, backH_ = 0;
    HDC BackBuffer(HDC like, int w, int h);
    void FreeBackBuffer();
    // Paints the client into dc through the back buffer.
    void PaintClient(HDC dc);
    // The messages the control answers itself (the EDIT-style and private ones).
    static bool OwnMessage(uint32_t msg);
    static const UINT kFlushScrollBars = WM_USER + 0x100;
    // Hover, cursor and hyperlink clicks (SyntaxMemoGutter.cpp's pictures).
    void Hover(int x, int y);
    bool HyperlinkClick(int x, int y);
    // Mouse handling beyond the events: enabled (and visible) with TabStop.
    bool MouseServed(bool mustBeVisible);
    bool GutterClick(int x, int y);
    void ExtendTo(int32_t offset);
    // Dragging the right-margin or wrap-column line: stage 0 press, 1 move,
    // 2 release. True when the mouse belongs to such a drag.
    bool MarginDrag(int x, int y, int stage);
    bool marginDrag_ = false, dragRight_ = false;
    // Selecting with the mouse outside the text (client x, y): the timer runs.
    void Track(int x, int y);
    void StopTracking();
    bool tracking_ = false;
    int trackX_ = 0, trackY_ = 0;
    int32_t cursor_ = 0;
    bool ownCursor_ = false;  // cursor_ is the mouse handler's choice
    bool hyperHover_ = false;
    HIMAGELIST images_ = nullptr;
};

// Today's short date (date) or the time of day in the user's format: the
// HTML export's date and the printed headers (SyntaxMemoPrint.cpp).
std::string MemoLocalText(bool date);

// The control's drawing surface over a device context, in fixed cells or
// proportional (SyntaxMemo.cpp).
std::unique_ptr<TDrawSurface> MakeDCSurface(HDC dc, TMemoFonts& fonts, int charWidth, int lineHeight,
                                            bool proportional = false);
