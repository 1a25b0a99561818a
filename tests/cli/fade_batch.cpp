// Runs ombrix-fade's command (RunFade) on many cases in one process, so that two builds
// can be compared on thousands of cases without thousands of process starts each.
// Standard input holds the cases, each as: the number of arguments, then every argument
// and the text as a length and that many bytes ("3\n7\n--color..."). Standard output
// gets, per case, the exit status and the lengths and bytes of the output and the error.
#include "cli/FadeCommand.h"

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

namespace {

bool ReadBlock(std::istream& in, std::string& block)
{
    std::size_t size = 0;
    if (!(in >> size) || in.get() != '\n')
        return false;
    block.resize(size);
    return static_cast<bool>(in.read(block.data(), static_cast<std::streamsize>(size)));
}

void WriteBlock(std::ostream& out, const std::string& block)
{
    out << block.size() << '\n';
    out.write(block.data(), static_cast<std::streamsize>(block.size()));
}

} // namespace

int main()
{
    std::ios::sync_with_stdio(false);
    std::size_t argc = 0;
    while (std::cin >> argc && std::cin.get() == '\n') {
        std::vector<std::string> args(argc);
        std::string text;
        for (std::string& arg : args)
            if (!ReadBlock(std::cin, arg))
                return 2;
        if (!ReadBlock(std::cin, text))
            return 2;
        const ombrix::cli::RunResult result =
            ombrix::cli::RunFade(std::vector<std::string_view>(args.begin(), args.end()), text);
        std::cout << result.status << '\n';
        WriteBlock(std::cout, result.out);
        WriteBlock(std::cout, result.err);
    }
    if (!std::cin.eof()) {
        std::cerr << "fade_batch: malformed case\n";
        return 2;
    }
    std::cout.flush();
    return std::cout ? 0 : 1;
}
