// The editor control without its window: selection, text replacement, the
// EDIT-style and private messages, line colours, layout arithmetic (rows,
// columns, TAB stops, scroll ranges, word wrap) and the paint pass, which draws
// through a small surface interface. The window class forwards its messages
// here and supplies the surface. No platform headers.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "SyntaxMemoTypes.h"
#include "TextMarks.h"
#include "TextStore.h"
#include "UndoRecorder.h"

class TSM_Settings;
class TCustomBookmarks;

// Message numbers the core answers (the window's numbers, without its headers).
namespace smmsg {
enum : uint32_t {
    SetText = 12, GetText = 13, GetTextLength = 14,
    GetSel = 176, SetSel = 177, LineScroll = 182, ScrollCaret = 183, GetModify = 184, GetLineCount = 186,
    LineIndex = 187, LineLength = 193, ReplaceSel = 194, GetLine = 196, CanUndo = 198, Undo = 199,
    LineFromChar = 201, EmptyUndoBuffer = 205, GetFirstVisibleLine = 206, PosFromChar = 214, CharFromPos = 215,
    HScroll = 276, VScroll = 277,
};
}
enum : uint32_t {
    SMM_SELECTION = 3072, SMM_OPTIONS = 3073, SMM_INSERTTEXT = 3074, SMM_HOLDDISPLAY = 3077,
    SMM_LOADSTREAM = 3078, SMM_SAVESTREAM = 3079, SMM_MODIFIED = 3080, SMM_TOPLINE = 3081,
    SMM_LEFTCOLUMN = 3082, SMM_GETSELTEXT = 3085, SMM_CANREDO = 3086, SMM_REDO = 3087,
    SMM_SETTINGSCHANGED = 3090, SMM_SETLINESTYLES = 3091, SMM_GETLINESTYLES = 3092,
    SMM_INDENT = 3088, SMM_UNINDENT = 3089, SMM_UNDOLOG = 3093, SMM_HIGHLIGHTFROM = 3105,
    SMM_CLIPFORMATNAME = 3136,
};
// The name of the control's own clipboard format.
extern const char* const kMemoClipFormatName;

// What SaveToStream writes (the format flags 1, 2, 4, 8 of SMM_SAVESTREAM).
enum TSaveFormat { sfTEXT, sfRTF, sfHTML, sfUNIX };

// Option word bits (option i of the published set is bit i + 4).
enum : int32_t {
    smoSyntaxHighlight = 16, smoWordWrap = 1024, smoAutoIndent = 2048, smoWrapOverride = 8192,
    smoWordSelect = 16384, smoShowRMargin = 32768, smoShowGutter = 65536, smoShowWrapColumn = 131072,
    smoProcessDroppedFiles = 0x80000,
    smoColumnTrack = 0x400000, smoPrintWrap = 32, smoPrintLineNos = 64, smoPrintFilename = 128,
    smoPrintDate = 256, smoPrintPageNos = 512, smoTabToColumn = 4096, smoBlockOverwriteCursor = 0x100000,
    smoUseTAB = 0x800000, smoSmartFill = 0x1000000,
};

// Where the core draws: filled rectangles and runs of fixed-pitch text, one
// cell of CharWidth per character.
class TDrawSurface {
public:
    virtual ~TDrawSurface() = default;
    virtual void FillRect(int x, int y, int w, int h, TColor color) = 0;
    // count characters from x, clipped to [x, clipRight), on back.
    virtual void TextRun(int x, int y, const char* text, int count, TColor text_color, TColor back,
                         int clipRight) = 0;
    // Image index of a gutter list (0 bookmarks, 1 line marks, 2 the wrapped-
    // line glyph) at x in the row from y that is rowHeight high.
    virtual void GutterImage(int /*list*/, int /*index*/, int /*x*/, int /*y*/, int /*rowHeight*/) {}
    // Lines through points (x, y pairs).
    virtual void Polyline(const int* /*xy*/, int /*points*/, TColor /*color*/) {}
    // The platform's drawing context behind the surface (0: none), for
    // handlers that draw themselves.
    virtual uintptr_t Context() const { return 0; }
    // The font of a style for the runs that follow.
    virtual void SelectStyle(uint8_t /*style*/) {}
};

// Widths of text in a style's font, for proportional fonts.
class TTextMeasurer {
public:
    virtual ~TTextMeasurer() = default;
    // Width of count characters in style's font, its overhang included; ends
    // (when given, count entries) receives the advance after each character.
    virtual int32_t RunWidth(uint8_t style, const char* text, int32_t count, int32_t* ends) = 0;
};

// The widest default tab stop and the last tab-stop column a table may hold.
const int32_t kMaxTabDefault = 256;
const int32_t kMaxTabColumn = 99999;

// A cell of visible blanks that stands for a TAB (drawn as an arrow glyph).
const char kTabMarker = 1;
// The internal option bit that shows blanks as "." and TABs as an arrow.
const int32_t smoShowBlanksBit = 67108864;

// What the core asks of its window.
class TSyntaxMemoView {
public:
    virtual ~TSyntaxMemoView() = default;
    virtual void ViewInvalidate() {}
    virtual void ViewScrollBar(bool /*vertical*/, int32_t /*max*/, int32_t /*page*/, int32_t /*pos*/) {}
    virtual bool ViewFocused() const { return false; }
    virtual bool ViewEnabled() const { return true; }
    // The settings name another font than the control's (FontName,
    // FontSize): the control takes it.
    virtual void ViewSettingsFont(const std::string& /*name*/, int32_t /*size*/) {}
};

// A vertical scroll bar's values (scaled beyond 32000 lines).
struct TScrollValues {
    int32_t Max = 0, Page = 0, Pos = 0, Scale = 1;
};

class TSyntaxMemoCore : public TTextStoreWatcher, public TUndoTarget {
public:
    TSyntaxMemoCore();
    ~TSyntaxMemoCore() override;
    TSyntaxMemoCore(const TSyntaxMemoCore&) = delete;
    TSyntaxMemoCore& operator=(const TSyntaxMemoCore&) = delete;

    void SetView(TSyntaxMemoView* view) { view_ = view; }
    TTextStore& Store() { return store_; }
    // The settings in force: the control's own, or an active highlighter's.
    TSM_Settings& Settings() { return *settings_; }
    TSM_Settings& OwnSettings() { return *own_; }
    // Puts other settings in force (null: the own ones again); not owned.
    void SetActiveSettings(TSM_Settings* settings);
    TUndoRecorder& Undo() { return undo_; }
    TCustomBookmarks& Bookmarks() { return *bookmarks_; }

    // The message interface; pointers travel in lParam / wParam as integers.
    intptr_t Message(uint32_t msg, uintptr_t wParam, intptr_t lParam);

    // ---- selection and text
    int32_t Anchor() const { return anchor_; }
    int32_t Caret() const { return caret_; }
    // Clamped to the text; a first value of -1 selects everything.
    void SetSelection(int32_t anchor, int32_t caret, bool repaint = true);
    // Replaces the selection with text (line breaks normalised).
    void ReplaceSelection(const char* text, int32_t count);
    void InsertAtCaret(const std::string& text) { ReplaceSelection(text.data(), static_cast<int32_t>(text.size())); }
    std::string SelectedText();                // CR line breaks, as stored
    std::string PlainText(int32_t start, int32_t end, bool unixEnds = false);  // CR LF (or LF)
    void ClearText();
    int32_t TextLength() const { return store_.TextLength(); }
    int32_t LineCount() const { return store_.LineCount(); }
    int32_t LineOfOffset(int32_t offset);

    // ---- properties
    bool ReadOnly = false;
    bool HideSelection = true;
    bool WantTab = true, WantReturns = true;
    bool InsertMode = true;
    // Two lines over and under the caret's row (a change repaints).
    bool ShowFocusLine() const { return showFocusLine_; }
    void SetShowFocusLine(bool on);
    // The caret's width: a character cell in overwrite mode with
    // smoBlockOverwriteCursor, else 2 pixels.
    int32_t CaretWidth() const;
    int32_t Options() const;
    // Switching smoSyntaxHighlight on drops every line's styles.
    void SetOptions(int32_t word);
    // Frees every line's style bytes and marks every line changed; the
    // highlighting then starts again at the first line (OnStylesDropped).
    void DropAllStyles();
    std::function<void()> OnStylesDropped;
    int32_t TabDefault() const;
    // ESyntaxMemo "=Illegal default tab stop value, must be > 0" for <= 0,
    // "... must be <= 256" above kMaxTabDefault.
    void SetTabDefault(int32_t value);
    // Numbers 2 .. kMaxTabColumn, rising, at most 32, separated by blanks
    // or ";"; ESyntaxMemo naming what is wrong, the table unchanged.
    void SetTabColumns(const std::string& text);
    std::string TabColumns() const;
    int32_t Gutter() const;
    void SetGutter(int32_t value);
    int32_t Margin() const;
    void SetMargin(int32_t value);
    int32_t WrapAtColumn() const;
    void SetWrapAtColumn(int32_t value);
    TColor DefTextColor() const;
    TColor DefBackColor() const;
    void SetDefTextColor(TColor c);
    void SetDefBackColor(TColor c);
    int32_t ActiveParser() const { return activeParser_; }
    void SetActiveParser(int32_t value);  // "Parser index out of range" outside 1..6
    // The re-highlighting pass stops after a page's budget and leaves the
    // lines after it to be done as they are painted.
    bool LazyMode = false;
    // While the settings are taken again through the highlighter: whether
    // the text is highlighted anew (false: its style bytes still hold).
    bool RestyleAll = true;
    uint8_t DefFontStyle() const;
    void SetDefFontStyle(uint8_t style);
    TColor GutterColor() const;
    void SetGutterColor(TColor c);
    TColor MarginColor() const;
    void SetMarginColor(TColor c);
    TColor SelTextColor() const;
    void SetSelTextColor(TColor c);
    TColor SelTextBack() const;
    void SetSelTextBack(TColor c);
    // Characters after which a wrapped line may break; a change re-lays
    // wrapped lines.
    std::string WrapOverride() const;
    void SetWrapOverride(const std::string& chars);
    // The style fonts of the settings in force made again.
    void RederiveFonts();

    // Line colours by 1-based number (0 and 1: the first line; past the end:
    // the last line). Nothing on an empty text.
    void SetLineTextColor(int32_t line, TColor c);
    void SetLineBackColor(int32_t line, TColor c);

    // ---- layout
    // fixedPitch false: text is measured through the measurer run by run.
    void SetMetrics(int32_t charWidth, int32_t lineHeight, bool fixedPitch = true);
    void SetMeasurer(TTextMeasurer* measurer) { measurer_ = measurer; }
    bool FixedPitch() const { return fixedPitch_ || !measurer_; }
    void SetClientSize(int32_t width, int32_t height);
    int32_t CharWidth() const { return charWidth_; }
    int32_t LineHeight() const { return lineHeight_; }
    int32_t ClientWidth() const { return clientWidth_; }
    int32_t ClientHeight() const { return clientHeight_; }
    int32_t TextLeft() const;
    int32_t VisibleCols() const;
    int32_t VisibleLines() const;
    int32_t TopLine() const { return topLine_; }
    int32_t LeftCol() const { return leftCol_; }
    int32_t MaxLineLen() const { return maxLineLen_; }
    // While selecting with the mouse at client (x, y): scrolls one line or
    // column towards a point outside the text area and gives the offset the
    // selection runs to.
    int32_t DragSelectOffset(int32_t x, int32_t y);
    void ScrollTo(int32_t column, int32_t line);
    // Scrolls offset into view; a column that fits in the first screen width
    // brings the view back to column 0 while ScrollBack is on.
    void ScrollIntoView(int32_t offset);
    // Off while the mouse places the caret: the text under the pointer stays put.
    bool ScrollBack = true;
    class TMouseScope {
    public:
        explicit TMouseScope(TSyntaxMemoCore& core) : core_(core), old_(core.ScrollBack) { core.ScrollBack = false; }
        ~TMouseScope() { core_.ScrollBack = old_; }
        TMouseScope(const TMouseScope&) = delete;
        TMouseScope& operator=(const TMouseScope&) = delete;

    private:
        TSyntaxMemoCore& core_;
        bool old_;
    };
    TScrollValues VerticalScroll() const;
    void UpdateScrollBars();
    // Display column after charIndex characters of node (TABs expanded).
    int32_t DisplayColumn(const TLineNode* node, int32_t charIndex) const;
    int32_t CharIndexOfColumn(const TLineNode* node, int32_t column) const;
    int32_t NextTabStop(int32_t column) const;
    // Client x of a display column of node, measured from LeftCol (-1 left of it).
    int32_t XOfColumn(const TLineNode* node, int32_t column);
    // The display column at client x: the nearest boundary, or with cell the
    // column whose character covers x.
    int32_t ColumnOfX(const TLineNode* node, int32_t x, bool cell = false);
    // The line expanded for display (TABs to blanks, CR dropped).
    std::string ExpandLine(const TLineNode* node) const;
    // Client point of offset; (-1, -1) above the top line.
    void PointOfOffset(int32_t offset, int32_t& x, int32_t& y);
    // Offset under a client point (clamped into the rows and the line).
    // Offset under a client point (clamped into the rows and the line): the
    // nearest boundary, or with cell the character whose cell holds x.
    int32_t OffsetOfPoint(int32_t x, int32_t y, bool cell = false);
    // The wrap width in characters (WrapAtColumn, else visible columns - 4; at least 20).
    int32_t WrapWidth() const;
    void RewrapAll();
    // The horizontal range taken again from the longest line.
    void MeasureLines();
    // ---- painting
    void Paint(TDrawSurface& surface);
    // ---- printing (SyntaxMemoPrint.cpp): the lines of the selection onto
    // pages of a printer surface; newPage is called before every page after
    // the first. Line colours are not used. Returns the number of pages.
    int32_t PrintSelection(TDrawSurface& page, int32_t pageWidth, int32_t pageHeight,
                           const std::function<void()>& newPage);
    // ---- commands and keys (SyntaxMemoCommands.cpp)
    void ExecuteCommand(int32_t command);
    // A typed character (after key handling); returns false when refused.
    // TAB goes to the next column (SyntaxMemoTyping.cpp), CR auto-indents.
    bool TypeChar(char c);
    // The blanks that fill display columns from..to: spaces, or with
    // smoUseTAB and smoSmartFill a TAB per tab stop passed, then spaces.
    std::string FillText(int32_t from, int32_t to) const;
    // The column TAB moves the caret to: the next tab stop, or with
    // smoTabToColumn the next word start of a longer line above.
    int32_t TabTarget();
    // Matches a key with its shift state against the key map and runs what it
    // binds (Shift extends the selection for movement). True when used.
    bool HandleKey(uint16_t key, uint8_t shift);
    void SelectWordAt(int32_t offset);
    // The start of the word before offset (that word's start inside one);
    // offset itself at 0, -1 when no word lies before it.
    int32_t WordStartBefore(int32_t offset);
    // The start of the next word (or the text's end).
    int32_t WordEndAfter(int32_t offset);
    // Word tests: the handlers, when set, replace the default ones (A-Z, a-z
    // and "_" start a word; digits, "'" and "-" may also be in one).
    std::function<bool(uint8_t c)> fn_CharIsInWord, fn_CharStartsWord;
    bool CharIsInWord(uint8_t c) const;
    bool CharStartsWord(uint8_t c) const;
    static bool IsBreakChar(uint8_t c) { return c <= 32 || c == 160; }
    // kind 0: the start of the word at or before pos (on a blank: the next
    // word's start); 1: past the word and the blanks after it, up to len;
    // 2: 1 when pos is on a blank. OnWordBreakProc, when set, answers instead.
    int32_t WordBreak(const char* text, int32_t pos, int32_t kind, int32_t len) const;
    std::function<int32_t(const char* text, int32_t pos, int32_t kind, int32_t len)> OnWordBreakProc;
    // Numbered bookmarks 0..9 on the caret's line / jumps to one.
    void SetBookmark(int n);
    void GotoBookmark(int n);
    int32_t BookmarkLine(int n);

    // ---- export (SyntaxMemoExport.cpp)
    // The selection as flags say: 1 plain CR LF, 2 RTF, 4 HTML, 8 Unix; RTF
    // wins over HTML, HTML over Unix.
    std::string ExportSelection(int32_t flags);
    // Brings every line's styles up to date before an RTF or HTML writer or
    // the printout reads them (the control's highlighting pass).
    std::function<void()> CompleteHighlighting;
    std::string ExportHtml(int32_t start, int32_t end);
    std::string ExportRtf(int32_t start, int32_t end);
    // Colours as RGB (system colours resolved); default: the settings platform.
    TColor ResolvedColor(TColor c) const;
    std::function<TColor(TColor)> ResolveColor;
    std::string Title;                 // the HTML page's title
    // The control's font (kept by the control as it measures it).
    std::string FontName = "Courier New";
    int32_t FontSize = 10;
    // Copies it into the settings in force; false when they had it already.
    bool FontIntoSettings(uint8_t charset);
    std::function<std::string()> DateText;  // today's short date (HTML, printed headers); default empty
    std::function<std::string()> TimeText;  // the time of day (printed headers); default empty

    // ---- block indent (SyntaxMemoBlock.cpp): the lines of the selection
    // gain count blanks (count 0: IndentStep; TABs with useTab and smoUseTAB),
    // or lose up to count leading blanks, TABs and hard spaces.
    void IndentBlock(int32_t count, bool useTab);
    void UnindentBlock(int32_t count);
    int32_t IndentStep() const;
    void SetIndentStep(int32_t value);  // 1..19, else ignored

    // ---- named marks: drawn over the text by OnDrawMark (true: drawn), else
    // as a red zigzag under the mark.
    TTextMarks& Marks() { return marks_; }
    std::function<bool(TDrawSurface& surface, TTextMark& mark, int left, int top, int right, int bottom)> OnDrawMark;

    // ---- streams and files (SyntaxMemoFiles.cpp). Loading replaces the
    // whole text and is not undone; saving writes it in SaveFormat.
    TSaveFormat SaveFormat = sfTEXT;
    void LoadFromStream(TStream& stream);
    void SaveToStream(TStream& stream);
    // EFOpenError "File '%s' cannot be opened for reading" for a missing file.
    void LoadFromFile(const std::string& name);
    void SaveToFile(const std::string& name);
    // The last file loaded or saved (kept only with smoTitleAsFilename).
    const std::string& FileName() const { return fileName_; }
    bool Loading() const { return loading_; }

    // ---- mouse hover and hyperlinks (SyntaxMemoHover.cpp)
    struct THover {
        int32_t Cursor = 0;         // a cursor number as the control's Cursor takes it
        bool Hyperlink = false;     // over a character of a hyperlink style
        bool Margin = false;        // over the right-margin or wrap-column line
        bool RightMargin = false;   // ... the right margin's
    };
    // What lies under client point (x, y); hyperCursor is the cursor for a
    // link, dragSource says whether a selection can be dragged.
    THover HoverAt(int32_t x, int32_t y, int32_t hyperCursor, bool dragSource);
    // The run of characters of the same hyperlink style around offset,
    // across line ends; false when offset is not on a hyperlink.
    bool HyperlinkAt(int32_t offset, std::string& text, uint8_t& style);
    // Numbered bookmark n on line (1-based; -1: the caret's line and column)
    // at column (1-based); toggles off on the line that has it. ESyntaxMemo
    // "Bookmark index range error" above 9.
    void SetBookmarkAt(int n, int32_t line, int32_t column);
    std::function<void(int n)> OnBookmarkSet;
    // The right-margin guide line's column (a change repaints).
    int32_t RightMargin() const;
    void SetRightMargin(int32_t column);
    // A guide line being dragged to this column (-1: none), drawn dotted.
    int32_t DragGuideColumn = -1;
    // The column whose cell holds x on the row at y (the guides' column):
    // measured along that row's line with a proportional font.
    int32_t GuideColumnAt(int32_t x, int32_t y);

    std::function<void()> OnChange;
    std::function<void(int32_t start, int32_t count)> OnTextChange;
    // A key sequence recognised as a command: the handler may change it.
    std::function<void(int32_t& command)> OnCommandRecognised;
    std::function<void()> OnClipboardCut, OnClipboardCopy, OnClipboardPaste, OnPrintSelection;
    uint8_t ChangeFlags() const { return changeFlags_; }
    void Change();
    bool Redraw() const { return redraw_; }
    void SetRedraw(bool on);

    // TUndoTarget
    void UndoGetSelection(int32_t& anchor, int32_t& caret) override;
    void UndoSetSelection(int32_t anchor, int32_t caret) override;
    std::string UndoSelectedText() override { return SelectedText(); }
    void UndoReplaceSelection(const std::string& text) override;
    void UndoInsertStream(TStream& stream) override;
    // TTextStoreWatcher
    void StoreEdited(TTextStore& store, const TStoreEdit& edit) override;

private:
    intptr_t EditMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam, bool& handled);
    intptr_t PrivateMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam, bool& handled);
    intptr_t GetTextMessage(uintptr_t capacity, char* buffer);
    intptr_t SetLineStyles(const int32_t* range, const uint8_t* buffer, bool get);
    void DeleteSelectionRaw();
    void InsertRaw(const char* text, int32_t count);
    void MarkLines(int32_t from, int32_t to);
    TLineNode* LineByNumber(int32_t line);
    void RewrapRange(int32_t fromLine, int32_t toLine);
    void PaintRow(TDrawSurface& s, TLineNode* n, int32_t lineStart, int32_t y, bool showSel);
    // The colours of a run of style on line n (null: a row without a line).
    void RunColors(const TLineNode* n, uint8_t style, bool selected, TColor& fg, TColor& bg) const;
    // A style's own colours, its "use default" flags applied (style 0's
    // flags name the system's window colours).
    void StyleColors(uint8_t style, TColor& fg, TColor& bg) const;
    TColor GutterFill() const;
    TColor MarginFill() const;
    void MoveCaret(int32_t offset, bool extend);
    int32_t VerticalMove(int32_t lines);
    void TabToColumn();
    // The indent a line break at the caret carries (false: none).
    bool AutoIndent(int32_t& width);
    int32_t LeadingBlanksWidth(const TLineNode* n) const;

    TTextStore store_;
    std::unique_ptr<TSM_Settings> own_;
    TSM_Settings* settings_;
    std::unique_ptr<TCustomBookmarks> bookmarks_;
    TUndoRecorder undo_;
    TSyntaxMemoView* view_ = nullptr;
    int32_t anchor_ = 0, caret_ = 0;
    int32_t caretCol_ = 0;
    bool keepColumn_ = false;
    int32_t topLine_ = 0, leftCol_ = 0, maxLineLen_ = 0;
    int32_t charWidth_ = 8, lineHeight_ = 17;
    int32_t clientWidth_ = 0, clientHeight_ = 0;
    int32_t activeParser_ = 1;
    bool redraw_ = true;
    bool displayHeld_ = false;
    bool rewrapping_ = false;
    bool extend_ = false;  // set by HandleKey for the command it runs
    // Keys whose Shift extends the selection: the first strokes of the
    // movement bindings of the key map in force, taken when settings apply.
    TSet256 shiftFree_;
    uint8_t changeFlags_ = 0;
    int32_t bookmarkCols_[10] = {};
    TTextMarks marks_;
    std::string fileName_;
    bool loading_ = false;
    bool showFocusLine_ = false;
    void PaintFocusLine(TDrawSurface& s);
    // A style's colours on paper (the default ones where the style asks).
    void PrintColors(uint8_t style, TColor& fg, TColor& bg) const;
    void PaintGutterCell(TDrawSurface& s, const TLineNode* n, int32_t y);
    void PaintMarks(TDrawSurface& s, const TLineNode* n, int32_t lineStart, int32_t y);
    void ShowBlanks(const TLineNode* n, std::string& disp) const;
    void ShiftBlock(int32_t count, bool indent, bool useTab);
    void PaintGuides(TDrawSurface& s, TLineNode* n, int32_t y);
    // Proportional text: the display line with its style per column, the
    // runs it is drawn in, and widths measured from one column to another.
    // The style bytes per display column (null without styles); styles holds
    // them for a line with TABs.
    const uint8_t* DisplayLine(const TLineNode* n, std::string& disp, std::vector<uint8_t>& styles) const;
    int32_t RunEnd(const std::string& disp, const uint8_t* styles, int32_t k, int32_t end) const;
    int32_t SpanWidth(const std::string& disp, const uint8_t* styles, int32_t from, int32_t to);
    // x of column (unclamped: left of LeftCol gives an x left of the text).
    int32_t ColumnX(const TLineNode* n, int32_t column);
    int32_t ProportionalCut(const char* text, int32_t visible, int32_t width);
    // The least left column, from left in steps of step and then of one, at
    // which the cell after column's boundary lies inside the client by
    // measured widths.
    int32_t FittingLeft(const TLineNode* n, int32_t column, int32_t left, int32_t step);
    // Whether column's cell lies inside the client when the view starts at column 0.
    bool FitsFirstScreen(const TLineNode* n, int32_t column);
    // With a proportional font a column range does not reach the end of a
    // line of wide characters: the horizontal range also covers, for every
    // line measured, the left column showing its end; kept for one text
    // width and average width.
    int32_t HorizontalRange();
    void GrowExtent(const TLineNode* n);
    int32_t extent_ = 0, extentWidth_ = -1, extentChar_ = 0;
    TTextMeasurer* measurer_ = nullptr;
    bool fixedPitch_ = true;
    std::vector<int32_t> ends_;
};
