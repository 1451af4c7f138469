// hlpc: compiles Zelvor's help source text into a WinHelp file, and into the same manual as HTML pages.
//   hlpc <source.txt> <output.hlp> [<html folder>]
#include "HelpSource.h"
#include "HlpWriter.h"
#include "HtmlWriter.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <set>
#include <sstream>

namespace {

// Written beside the target and renamed, so a failed run never leaves half a file.
void WriteWhole(const std::string &path, const char *data, size_t size) {
    std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(data, static_cast<std::streamsize>(size));
        if (!out.flush())
            throw std::runtime_error("cannot write " + temporary);
    }
    // std::filesystem replaces an older file on Windows too, where std::rename refuses to.
    std::error_code failed;
    std::filesystem::rename(temporary, path, failed);
    if (failed)
        throw std::runtime_error("cannot create " + path + ": " + failed.message());
}

// The folder holds the manual's pages and nothing else of ours: a page of a topic since renamed goes.
void WriteHtmlFolder(const std::string &folder, const std::vector<hlpc::HtmlFile> &files) {
    namespace fs = std::filesystem;
    fs::create_directories(folder);
    std::set<std::string> names;
    for (const hlpc::HtmlFile &file : files) {
        WriteWhole((fs::path(folder) / file.name).string(), file.content.data(), file.content.size());
        names.insert(file.name);
    }
    for (const fs::directory_entry &entry : fs::directory_iterator(folder))
        if (entry.path().extension() == ".html" && !names.contains(entry.path().filename().string()))
            fs::remove(entry.path());
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 3 && argc != 4) {
        std::cerr << "usage: hlpc <source.txt> <output.hlp> [<html folder>]\n";
        return 2;
    }
    try {
        std::ifstream in(argv[1], std::ios::binary);
        if (!in)
            throw std::runtime_error("cannot read the source");
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        hlpc::HelpProject project = hlpc::ParseHelpSource(text);
        // The help file first: it checks the project (keys, ids, links) that the pages rely on too.
        std::vector<uint8_t> image = hlpc::CompileHelp(project);
        if (argc == 4)
            WriteHtmlFolder(argv[3], hlpc::WriteHtmlManual(project));
        WriteWhole(argv[2], reinterpret_cast<const char *>(image.data()), image.size());
    } catch (const std::exception &e) {
        std::cerr << argv[1] << ": " << e.what() << "\n";
        return 1;
    }
    return 0;
}
