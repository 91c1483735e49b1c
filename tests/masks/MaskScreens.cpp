// Shows the mask wizard's four pages, the filter dialog, the add dialog and a report
// for people to look at, under a real display (tests/masks/screens.sh runs
// it under Xvfb and photographs the screen). Each window is also saved as a
// .bmp read from its own DC; under Xvfb that copy may miss what was drawn
// after the first page.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "MaskFakes.h"
#include "runtime/Application.h"
#include "masks/BasicListView.h"
#include "masks/EditMaskWizard.h"
#include "masks/FilterDialog.h"
#include "masks/ReportListForm.h"
#include "masks/core/DefaultMasks.h"
#include "masks/core/MaskCollection.h"

namespace {
std::string g_folder = ".";

void Settle() {
    for (int i = 0; i < 20; ++i) {
        Application->ProcessMessages();
        Sleep(25);
    }
}

void Shoot(TForm& form, const std::string& name) {
    RedrawWindow(form.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    Settle();
    RECT r;
    GetWindowRect(form.Handle(), &r);
    TBitmap shot(r.right - r.left, r.bottom - r.top);
    // The window's own DC reads the window's surface, children included.
    HDC own = GetWindowDC(form.Handle());
    BitBlt(shot.Canvas().Handle(), 0, 0, shot.Width(), shot.Height(), own, 0, 0, SRCCOPY);
    ReleaseDC(form.Handle(), own);
    shot.SaveToFile(g_folder + "\\" + name + ".bmp");
    // Then the window stays up a while for a screenshot from outside.
    if (getenv("QF_SHOT_PAUSE")) {
        // The window's place on the screen, for the crop.
        if (FILE* f = fopen((g_folder + "\\" + name + ".ready").c_str(), "w")) {
            fprintf(f, "%ld %ld %ld %ld\n", r.right - r.left, r.bottom - r.top, r.left, r.top);
            fclose(f);
        }
        for (int i = 0; i < 60; ++i) {
            Application->ProcessMessages();
            Sleep(50);
        }
    }
}

void Press(TWinControl& b) { SendMessageA(b.Handle(), BM_CLICK, 0, 0); }

// Each modal form is photographed, then closed the way the script says.
class ShootingRunner : public TModalRunner {
public:
    int Run(TForm& form) override {
        form.BeginModal();
        if (form.Name() == "wisEditMask") {
            auto& w = static_cast<TEditMaskWizard&>(form);
            for (int page = 0; page < 4; ++page) {
                Shoot(form, "wizard-page" + std::to_string(page));
                Press(*w.btnNext);
            }
            form.SetModalResult(mrCancel);
        } else if (form.Name() == "dlgFilter") {
            auto& d = static_cast<TFilterDialog&>(form);
            Press(*d.cbNew);
            Press(*d.cbAdd);
            Shoot(form, "filter");
            form.SetModalResult(mrCancel);
        } else {
            auto& a = static_cast<TAddFilterMaskDialog&>(form);
            BasicListView::SelectRow(*a.lvMasks, 2);
            Press(*a.cbNot);
            Shoot(form, "filter-add");
            form.SetModalResult(mrOk);
        }
        form.FinishModal();
        return form.ModalResult();
    }
};
}  // namespace

int main(int argc, char** argv) {
    if (argc > 1) g_folder = argv[1];
    ShootingRunner runner;
    SetModalRunner(&runner);
    MaskCollection masks;
    RecordingSearch search;
    AddDefaultMasks(masks, search);
    TEditMaskWizard wizard;
    wizard.ShowDialog(masks.FindMask("Link Text"), masks, nullptr);
    TAddFilterMaskDialog add;
    TFilterDialog filter(add);
    std::vector<FilterBlock> filters(1);
    filters[0].Add(1, "Page title", false);
    EditFilter(filter, filters, masks);
    SetModalRunner(nullptr);

    TReportListForm report;
    report.SetReportType(kValuesReport);
    report.SetMaskName("Link");
    const int32_t a = report.AddValue("http://h/a.htm");
    report.AddSubValue(a, "A", "Link Text");
    report.AddSubValue(a, "http://h/a.gif", "Link Image");
    report.AddSubValue(report.AddValue("http://h/b.htm"), "http://h/b.gif", "Link Image");
    report.SizeColumns();
    report.Show();
    Shoot(report, "report");
    return 0;
}
