#include "fileops/RowPath.h"

#include "filelist/FileList.h"
#include "ui/Application.h"
#include "ui/MessageBox.h"

namespace fileops {

TExactPath ExactRowPath(const filelist::TFileList &view, int row, TPathUse use) {
    // The row's own folder, which a list of several folders does not share with the others.
    std::wstring full = view.PathOf(row), name = view.Name(row);
    return ExactPathFor(full.substr(0, full.size() - name.size()), name, use);
}

std::wstring ExactRowPathOrSay(HWND owner, const filelist::TFileList &view, int row, TPathUse use) {
    TExactPath exact = ExactRowPath(view, row, use);
    if (exact.path.empty())
        ui::ShowMessage(owner, exact.whyNot, ui::Application().Title(), MB_OK | MB_ICONWARNING);
    return exact.path;
}

} // namespace fileops
