// hlpc: compiles Zelvor's help source text into a WinHelp file.
//   hlpc <source.txt> <output.hlp>
#include "HelpSource.h"
#include "HlpWriter.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

int main(int argc, char **argv) {
    if (argc != 3) {
        std::cerr << "usage: hlpc <source.txt> <output.hlp>\n";
        return 2;
    }
    try {
        std::ifstream in(argv[1], std::ios::binary);
        if (!in)
            throw std::runtime_error("cannot read the source");
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::vector<uint8_t> image = hlpc::CompileHelp(hlpc::ParseHelpSource(text));

        // Written beside the target and renamed, so a failed run never leaves half a file.
        std::string temporary = std::string(argv[2]) + ".tmp";
        {
            std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
            out.write(reinterpret_cast<const char *>(image.data()), static_cast<std::streamsize>(image.size()));
            if (!out.flush())
                throw std::runtime_error("cannot write " + temporary);
        }
        if (std::rename(temporary.c_str(), argv[2]) != 0)
            throw std::runtime_error(std::string("cannot create ") + argv[2]);
    } catch (const std::exception &e) {
        std::cerr << argv[1] << ": " << e.what() << "\n";
        return 1;
    }
    return 0;
}
