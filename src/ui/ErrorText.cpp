#include "ui/ErrorText.h"

#include <new>
#include <stdexcept>
#include <string_view>
#include <system_error>

#include "ui/Text.h"

namespace ui {

namespace {

// The library's texts name its functions ("vector::_M_realloc_insert", "stoi", "map::at") or its own
// terms; the program's messages are sentences.
bool LibraryText(std::string_view text) {
    return text.empty() || text.find(' ') == std::string_view::npos || text.find("::") != std::string_view::npos ||
           text.find("_M_") != std::string_view::npos || text.find("std") != std::string_view::npos ||
           text.find("__") != std::string_view::npos;
}

} // namespace

std::wstring ErrorText(const std::exception &error) {
    if (dynamic_cast<const std::bad_alloc *>(&error)) return L"There is not enough memory to finish this.";
    if (!LibraryText(error.what())) return Widen(error.what());
    if (dynamic_cast<const std::length_error *>(&error)) return L"This is too long to be handled.";
    if (dynamic_cast<const std::out_of_range *>(&error)) return L"What was asked for was not found.";
    if (dynamic_cast<const std::invalid_argument *>(&error)) return L"A value is not valid here.";
    if (auto *system = dynamic_cast<const std::system_error *>(&error))
        return L"The system could not do this (error " + std::to_wstring(system->code().value()) + L").";
    if (dynamic_cast<const std::bad_cast *>(&error) || dynamic_cast<const std::logic_error *>(&error))
        return L"An internal fault stopped this command.";
    return L"This command could not be finished.";
}

} // namespace ui
