#include "sysinfo/NetDialogs.h"

#include <winnetwk.h>

#include "ui/LateBound.h"

namespace sysinfo {

bool TNetDlg::Execute(HWND owner) {
    result_ = PlatformCall ? PlatformCall(owner, ResourceTypeCode()) : static_cast<DWORD>(ERROR_NOT_SUPPORTED);
    return result_ == NO_ERROR;
}

namespace {

// The network provider's dialog, from the library found at its first use.
DWORD NetworkDialog(const char *name, HWND owner, DWORD type) {
    using Dialog = decltype(&WNetConnectionDialog);
    Dialog dialog = ui::LateBound<Dialog>(L"mpr.dll", name);
    return dialog ? dialog(owner, type) : static_cast<DWORD>(ERROR_NOT_SUPPORTED);
}

} // namespace

TNetConnectDlg::TNetConnectDlg()
    : TNetDlg([](HWND owner, DWORD type) { return NetworkDialog("WNetConnectionDialog", owner, type); }) {}

TNetDisConnectDlg::TNetDisConnectDlg()
    : TNetDlg([](HWND owner, DWORD type) { return NetworkDialog("WNetDisconnectDialog", owner, type); }) {}

} // namespace sysinfo
