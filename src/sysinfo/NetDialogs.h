#pragma once
#include <windows.h>
#include <winnetwk.h>

#include <functional>
#include <string>

namespace sysinfo {

// The network provider's own connect and disconnect dialogs, shown modally over an owner window. The
// result code of the last showing is kept: 0 when something was connected or disconnected, otherwise
// what the platform answered (0xFFFFFFFF for a cancelled dialog, or an error such as "no network").
class TNetDlg {
public:
    // The platform's dialog: owner window and resource type in, result code out. Replaceable so that
    // tests can take the success path on a machine without a network.
    using TPlatformCall = std::function<DWORD(HWND owner, DWORD resourceType)>;

    virtual ~TNetDlg() = default;
    // Shows the dialog; true when it connected or disconnected something.
    bool Execute(HWND owner);
    DWORD Result() const { return result_; }
    // What to tell the user after the last showing: the system's reason for a refusal; empty after a
    // success or a cancel, which need no word.
    std::wstring FailureText() const;

    TPlatformCall PlatformCall;

protected:
    explicit TNetDlg(TPlatformCall call) : PlatformCall(std::move(call)) {}
    virtual DWORD ResourceTypeCode() const = 0;

private:
    DWORD result_ = NO_ERROR;
};

// Maps a network share to a drive letter.
class TNetConnectDlg : public TNetDlg {
public:
    TNetConnectDlg();

protected:
    DWORD ResourceTypeCode() const override { return RESOURCETYPE_DISK; }
};

enum TResourceType { rtDisk, rtPrinter };

// Removes the mapping of a drive letter (or a printer port).
class TNetDisConnectDlg : public TNetDlg {
public:
    TNetDisConnectDlg();
    // The kind of connection the dialog lists.
    TResourceType ResourceType = rtDisk;

protected:
    DWORD ResourceTypeCode() const override { return ResourceType == rtDisk ? RESOURCETYPE_DISK : RESOURCETYPE_PRINT; }
};

} // namespace sysinfo
