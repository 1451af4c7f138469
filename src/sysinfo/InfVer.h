#pragma once
#include <string>

namespace sysinfo {

// The texts of an executable's version resource, read through its first translation.
class TInfoVersion {
public:
    // Reads the eight texts from `path`, or from the running program's executable when it is empty.
    // A file without a version resource leaves the texts as they were; a key the resource lacks reads empty.
    void ReadVersionInfo(const std::wstring &path = {});

    const std::wstring &CompanyName() const { return companyName_; }
    const std::wstring &FileDescription() const { return fileDescription_; }
    const std::wstring &FileVersion() const { return fileVersion_; }
    const std::wstring &InternalName() const { return internalName_; }
    const std::wstring &LegalCopyright() const { return legalCopyright_; }
    const std::wstring &OriginalFilename() const { return originalFilename_; }
    const std::wstring &ProductName() const { return productName_; }
    const std::wstring &ProductVersion() const { return productVersion_; }

private:
    std::wstring companyName_, fileDescription_, fileVersion_, internalName_;
    std::wstring legalCopyright_, originalFilename_, productName_, productVersion_;
};

// The running program's executable file.
std::wstring RunningExecutablePath();

} // namespace sysinfo
