// ombrix-fade: turns a message on standard input into faded HTML on standard output.
#include "cli/FadeCommand.h"

#include <cstdio>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    std::ios::sync_with_stdio(false);
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    const auto readInput = [] {
        return std::string(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    };
    const ombrix::cli::RunResult result = ombrix::cli::RunFade(args, readInput);
    if (!result.err.empty())
        std::cerr << result.err << '\n';
    std::cout.write(result.out.data(), static_cast<std::streamsize>(result.out.size()));
    std::cout.flush();
    if (!std::cout) {
        std::cerr << "ombrix-fade: cannot write standard output\n";
        return 1;
    }
    return result.status;
}
