// The strict UTF-8 decoder on any bytes. Beyond not crashing: what it accepts encodes
// back to the same bytes; what it refuses, it refuses at a byte everything before which
// it accepts (so at the start of a character).
#include "cli/Utf8.h"
#include "fuzz/FuzzInput.h"

#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void Fail(const char* what)
{
    std::fprintf(stderr, "utf8_fuzz: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes = ombrix::fuzz::FuzzInput(data, size).RestAsBytes();
    try {
        const std::u16string text = ombrix::cli::DecodeUtf8(bytes);
        if (ombrix::cli::EncodeUtf8(text) != bytes)
            Fail("accepted bytes do not encode back to themselves");
        if (text.size() > bytes.size())
            Fail("more code units than bytes");
    } catch (const ombrix::cli::Utf8Error& e) {
        if (e.offset() >= bytes.size())
            Fail("refused at an offset past the end");
        try {
            (void)ombrix::cli::DecodeUtf8(std::string_view(bytes).substr(0, e.offset()));
        } catch (const ombrix::cli::Utf8Error&) {
            Fail("the bytes before a refusal are refused too");
        }
    }
    return 0;
}
