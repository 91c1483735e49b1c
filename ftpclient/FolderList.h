// The local folder list: an owner-drawn list box whose rows are the root,
// the folders down to the current one and its subfolders, each indented
// under the row it belongs to, with an open or a closed folder icon.
#pragma once

#include <windows.h>

#include <vector>

#include "ftpclient/core/FolderTree.h"
#include "ui/StdCtrls.h"

class TFolderList : public TListBox {
public:
    static constexpr int IndentStep = 10;  // pixels per level
    static constexpr int RowHeight = 18;

    explicit TFolderList(TWinControl* parent);
    ~TFolderList() override;
    // Shows the rows and selects the current folder's.
    void SetRows(std::vector<TFolderRow> Rows);
    const std::vector<TFolderRow>& Rows() const { return rows_; }
    // Paints row i into r of dc, as the list asks for it.
    void DrawRow(HDC dc, const RECT& r, int i, bool selected, bool focused);
    bool DrawItem(DRAWITEMSTRUCT& dis) override;

protected:
    void CreateParams(TCreateParams& p) override;
    void WndCreated() override;

private:
    std::vector<TFolderRow> rows_;
    HICON open_ = nullptr, closed_ = nullptr;
};
