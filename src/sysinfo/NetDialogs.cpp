#include "sysinfo/NetDialogs.h"

#include <winnetwk.h>

namespace sysinfo {

bool TNetDlg::Execute(HWND owner) {
    result_ = PlatformCall ? PlatformCall(owner, ResourceTypeCode()) : static_cast<DWORD>(ERROR_NOT_SUPPORTED);
    return result_ == NO_ERROR;
}

TNetConnectDlg::TNetConnectDlg() : TNetDlg([](HWND owner, DWORD type) { return WNetConnectionDialog(owner, type); }) {}

TNetDisConnectDlg::TNetDisConnectDlg()
    : TNetDlg([](HWND owner, DWORD type) { return WNetDisconnectDialog(owner, type); }) {}

} // namespace sysinfo
