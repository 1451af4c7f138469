#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace testdriver {

// While one lives, the system opens HTML pages (".html", ".htm") with a recorder instead of a browser, and
// the test reads what it was asked to open. The prefix's own association is put back afterwards.
class THtmlRecorder {
public:
    THtmlRecorder();
    ~THtmlRecorder();
    THtmlRecorder(const THtmlRecorder &) = delete;
    THtmlRecorder &operator=(const THtmlRecorder &) = delete;

    // What the recorder was asked to open so far, in order, as it got it.
    std::vector<std::wstring> Opened() const;
    // Waits until it has been asked `count` times in all (or the time is up); gives what it was asked.
    std::vector<std::wstring> WaitForOpened(size_t count, int timeoutSeconds = 20) const;

private:
    struct Saved {
        std::wstring extension;
        bool existed;
        std::wstring value;
    };
    std::vector<Saved> saved_;
    std::wstring record_;
    std::wstring previousRecordVariable_;
};

// The long form of a path, for comparing paths that may come as short names.
std::wstring LongPathOf(const std::wstring &path);

} // namespace testdriver
