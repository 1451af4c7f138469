#include <gtest/gtest.h>

#include <map>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "ui/ErrorText.h"

namespace {

template <typename F> std::wstring TextOfWhatThrows(F f) {
    try {
        f();
    } catch (const std::exception &e) {
        return ui::ErrorText(e);
    }
    return L"nothing thrown";
}

// The standard library's own errors reach the user in the program's words; the program's messages as they are.
TEST(ErrorText, TheLibrarysInternalTextsBecomePlainWords) {
    const std::wstring tooLong = L"This is too long to be handled.";
    struct Case {
        const char *what;
        std::wstring shown;
    };
    const Case cases[] = {
        {"a string of negative length",
         TextOfWhatThrows([] { std::string s(static_cast<size_t>(-5), 'x'); })},
        {"a vector too large", TextOfWhatThrows([] { std::vector<int> v; v.reserve(v.max_size() + 1); })},
        {"an index past the end", TextOfWhatThrows([] { std::vector<int> v; (void)v.at(5); })},
        {"a missing key", TextOfWhatThrows([] { std::map<int, int> m; (void)m.at(1); })},
        {"no number", TextOfWhatThrows([] { (void)std::stoi("x"); })},
        {"out of memory", TextOfWhatThrows([] { throw std::bad_alloc(); })},
        {"the program's own length error", TextOfWhatThrows([] { throw std::length_error("Search text too long"); })},
        {"the program's own message",
         TextOfWhatThrows([] { throw std::runtime_error("Cannot open file C:\\a b.txt"); })},
    };
    const std::wstring expected[] = {
        tooLong,
        tooLong,
        L"What was asked for was not found.",
        L"What was asked for was not found.",
        L"A value is not valid here.",
        L"There is not enough memory to finish this.",
        L"Search text too long",
        L"Cannot open file C:\\a b.txt",
    };
    for (size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(cases[i].shown, expected[i]) << cases[i].what;
}

} // namespace
