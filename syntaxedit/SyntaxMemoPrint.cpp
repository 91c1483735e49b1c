// Printing the selected lines on a printer: the core lays out the pages, the
// printer's own font measures them.
#include "SyntaxMemo.h"
#include "SyntaxMemoFonts.h"

#include <winspool.h>

std::string MemoLocalText(bool date) {
    char buf[128] = {};
    int n = date ? GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, buf, sizeof buf)
                 : GetTimeFormatA(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, buf, sizeof buf);
    return n > 0 ? std::string(buf) : std::string();
}

bool TSyntaxMemo::Print() {
    char name[256];
    DWORD len = sizeof name;
    if (!GetDefaultPrinterA(name, &len)) return false;
    HDC dc = CreateDCA("WINSPOOL", name, nullptr, nullptr);
    if (!dc) return false;
    bool done = PrintTo(dc);
    DeleteDC(dc);
    return done;
}

bool TSyntaxMemo::PrintTo(HDC dc) {
    std::string title = core_.FileName().empty() ? std::string("TSyntaxMemo") : core_.FileName();
    DOCINFOA doc{};
    doc.cbSize = sizeof doc;
    doc.lpszDocName = title.c_str();
    if (StartDocA(dc, &doc) <= 0) return false;
    // The control's face at the printer's resolution, measured by the printer.
    TMemoFonts fonts(core_, dc);
    fonts.SetFont(Font().Name(), -MulDiv(Font().Size(), GetDeviceCaps(dc, LOGPIXELSY), 72));
    HGDIOBJ old = SelectObject(dc, fonts.Base());
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    SelectObject(dc, old);
    // The page is laid out in the printer's measures; the screen's come back after.
    int32_t cw = core_.CharWidth(), lh = core_.LineHeight();
    bool fixed = core_.FixedPitch();
    core_.SetMetrics(tm.tmAveCharWidth, tm.tmHeight + tm.tmExternalLeading + 1, fixed);
    core_.SetMeasurer(&fonts);
    bool ok = StartPage(dc) > 0;
    if (ok) {
        std::unique_ptr<TDrawSurface> page = MakeDCSurface(dc, fonts, core_.CharWidth(), core_.LineHeight(), !fixed);
        core_.PrintSelection(*page, GetDeviceCaps(dc, HORZRES), GetDeviceCaps(dc, VERTRES), [&] {
            ok = ok && EndPage(dc) > 0 && StartPage(dc) > 0;
        });
        ok = EndPage(dc) > 0 && ok;
    }
    if (ok) EndDoc(dc);
    else AbortDoc(dc);
    core_.SetMeasurer(fonts_.get());
    core_.SetMetrics(cw, lh, fixed);
    core_.Change();
    ViewInvalidate();
    return ok;
}
