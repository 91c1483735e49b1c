#include "masks/ReportListForm.h"

#include "masks/BasicForm.h"
#include "masks/BasicListView.h"
#include "masks/KesTextFile.h"
#include "ui/core/Prompter.h"

#include <winspool.h>

#include <cstring>

namespace {
// The save dialog and message boxes of a save, through the prompter.
class PrompterReportPrompts : public ReportSavePrompts {
public:
    bool AskSaveFileName(const SaveDialogSetup& setup, std::string& fileName) override {
        TFileDialogRequest r;
        r.Title = setup.Title;
        r.DefaultExt = setup.DefaultExt;
        r.Filter = setup.Filter;
        r.FileName = setup.FileName;
        r.InitialDir = setup.InitialDir;
        r.Options = static_cast<uint32_t>(setup.Flags);
        // The dialog's own result tells a cancel, not the name it gives back.
        if (!Prompter().SaveFileDialog(r)) return false;
        fileName = r.FileName;
        return true;
    }
    bool Confirm(const std::string& text, const std::string& title) override {
        return Prompter().ShowMessageBox(text, title, MB_OKCANCEL | MB_ICONQUESTION) == IDOK;
    }
    void Message(const std::string& text, const std::string& title) override {
        Prompter().ShowMessageBox(text, title, MB_OK);
    }
};
}  // namespace

TReportListForm::TReportListForm() : TForm(nullptr) {
    SetName("frmReportList");
    Position = poScreenCenter;
    tbReport = new TToolBar(this);
    tbReport->SetName("tbReport");
    tbReport->SetAlign(alTop);
    tbReport->SetShowCaptions(true);
    tbReport->SetList(true);
    // The keys pick the action; the captions stand in for the button images.
    const char* const buttons[][2] = {
        {"Copy", "Copy value to clipboard"}, {"Save", "Save report..."}, {"Print", "Prinf report"}};
    for (const auto& b : buttons) {
        TToolButton* button = tbReport->AddButton();
        button->Key = b[0];
        button->SetCaption(b[0]);
        button->Hint = b[1];
    }
    tbReport->OnButtonClick = [this](TObject*, TToolButton* b) { ButtonClick(b->Key); };
    lstValues = new TListView(this);
    lstValues->SetName("lstValues");
    SetClientSizeTwips(*this, 7200, 4800);
    lstValues->SetBounds(0, tbReport->Height(), ClientWidth(), ClientHeight() - tbReport->Height());
    BasicListView::AddColumn(*lstValues, "", Twips(1440));
    OnResize = [this](TObject*) { LayOut(); };
    OnShow = [this](TObject*) { SetUp(); };
    MakeFile = [] { return std::unique_ptr<TextFile>(new KesTextFile()); };
    PrintForm = PrintFormImage;
}

void TReportListForm::SetUp() {
    if (setUp_) return;
    setUp_ = true;
    SetCaption(table_.Caption());
    BasicListView::SetColumnCaption(*lstValues, 1, table_.MaskName());
    SizeColumns();
}

int32_t TReportListForm::AddValue(const std::string& Text) {
    SetUp();
    const int32_t row = table_.AddValue(Text);
    BasicListView::AddRow(*lstValues, Text, {}, 0);
    return row;
}

void TReportListForm::AddSubValue(int32_t Row, const std::string& Value, const std::string& Header) {
    table_.AddSubValue(Row, Value, Header);
    while (BasicListView::ColumnCount(*lstValues) < table_.ColumnCount()) {
        const int32_t c = BasicListView::ColumnCount(*lstValues) + 1;
        BasicListView::AddColumn(*lstValues, table_.Header(c), Twips(1440));
    }
    ShowRow(Row);
}

void TReportListForm::ShowRow(int32_t row) {
    std::vector<std::string> cells;
    for (int32_t c = 2; c <= table_.CellCount(row) + 1; ++c) cells.push_back(table_.Cell(row, c));
    BasicListView::SetSubItems(*lstValues, row, cells);
}

void TReportListForm::SizeColumns() {
    const int32_t columns = BasicListView::ColumnCount(*lstValues);
    const int32_t width = ReportColumnWidth(ToTwips(lstValues->Width()), columns);
    for (int32_t c = 1; c <= columns; ++c) BasicListView::SetColumnWidth(*lstValues, c, Twips(width));
}

void TReportListForm::LayOut() {
    if (!lstValues) return;
    const ReportListSize now{ToTwips(lstValues->Width()), ToTwips(lstValues->Height())};
    const ReportListSize next = ReportListSizeFor(ToTwips(Width()), ToTwips(Height()), ToTwips(tbReport->Height()), now);
    lstValues->SetBounds(0, tbReport->Height(), Twips(next.Width), Twips(next.Height));
}

void TReportListForm::ButtonClick(const std::string& key) {
    if (key == "Copy") Copy();
    else if (key == "Save") Save();
    else if (key == "Print") Print();
}

void TReportListForm::Save() {
    if (table_.ReportType != kValuesReport && table_.ReportType != kUniqueValuesReport) return;
    PrompterReportPrompts prompts;
    std::unique_ptr<TextFile> file = MakeFile();
    saver_.Save(table_, *file, prompts);
}

void TReportListForm::Copy() {
    const int32_t row = BasicListView::SelectedRow(*lstValues);
    if (row < 1) return;
    const std::string& text = table_.GetValue(row);
    if (!OpenClipboard(Handle())) return;
    EmptyClipboard();
    if (HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1)) {
        memcpy(GlobalLock(mem), text.c_str(), text.size() + 1);
        GlobalUnlock(mem);
        if (!SetClipboardData(CF_TEXT, mem)) GlobalFree(mem);
    }
    CloseClipboard();
}

void TReportListForm::Print() {
    TPrintRequest request;
    // Printed only when the printer dialog was confirmed.
    if (!Prompter().PrintDialog(request)) return;
    if (PrintForm) PrintForm(*this);
}

void PrintFormImage(TForm& form) {
    char name[512];
    DWORD size = sizeof name;
    if (!GetDefaultPrinterA(name, &size)) return;
    HDC printer = CreateDCA("WINSPOOL", name, nullptr, nullptr);
    if (!printer) return;
    const int w = form.ClientWidth(), h = form.ClientHeight();
    HDC screen = GetDC(form.Handle());
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP image = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = SelectObject(memory, image);
    BitBlt(memory, 0, 0, w, h, screen, 0, 0, SRCCOPY);
    DOCINFOA doc{};
    doc.cbSize = sizeof doc;
    const std::string title = form.Caption();
    doc.lpszDocName = title.c_str();
    if (StartDocA(printer, &doc) > 0) {
        StartPage(printer);
        const int pageWidth = GetDeviceCaps(printer, HORZRES);
        const int scaledHeight = w > 0 ? static_cast<int>(static_cast<long long>(h) * pageWidth / w) : 0;
        StretchBlt(printer, 0, 0, pageWidth, scaledHeight, memory, 0, 0, w, h, SRCCOPY);
        EndPage(printer);
        EndDoc(printer);
    }
    SelectObject(memory, old);
    DeleteObject(image);
    DeleteDC(memory);
    ReleaseDC(form.Handle(), screen);
    DeleteDC(printer);
}
