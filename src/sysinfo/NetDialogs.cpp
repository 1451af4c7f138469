#include "sysinfo/NetDialogs.h"

#include <winnetwk.h>

#include "ui/LateBound.h"
#include "ui/Text.h"

namespace sysinfo {

bool TNetDlg::Execute(HWND owner) {
    result_ = PlatformCall ? PlatformCall(owner, ResourceTypeCode()) : static_cast<DWORD>(ERROR_NOT_SUPPORTED);
    return result_ == NO_ERROR;
}

namespace {

// The provider's own words for an extended error; empty when it has none.
std::wstring ProviderErrorText() {
    using LastError = decltype(&WNetGetLastErrorW);
    LastError lastError = ui::LateBound<LastError>(L"mpr.dll", "WNetGetLastErrorW");
    DWORD code = 0;
    wchar_t text[512] = {}, provider[128] = {};
    if (!lastError || lastError(&code, text, ARRAYSIZE(text), provider, ARRAYSIZE(provider)) != NO_ERROR)
        return {};
    return text;
}

} // namespace

std::wstring TNetDlg::FailureText() const {
    // The dialogs answer a cancel with -1 (older systems) or "cancelled".
    if (result_ == NO_ERROR || result_ == 0xFFFFFFFF || result_ == ERROR_CANCELLED)
        return {};
    if (result_ == ERROR_EXTENDED_ERROR)
        if (std::wstring text = ProviderErrorText(); !text.empty())
            return text;
    return ui::SystemErrorText(result_);
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
