#pragma once

// What the harnesses share: the entry points libFuzzer calls, a check that stops the run
// with the input kept, and a way to cut one input into several.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace sorvanti::fuzz {

// A broken property: printed and aborted, so that libFuzzer (and the replay) keep the input.
[[noreturn]] inline void fail(const char* what, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: property broken: %s\n", file, line, what);
    std::abort();
}

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition))                                                                          \
            ::sorvanti::fuzz::fail(#condition, __FILE__, __LINE__);                                \
    } while (0)

// Cuts the input at the first occurrence of `mark`: the part before, and the rest (empty
// when the mark is absent).
inline std::pair<std::string_view, std::string_view> cut(std::string_view input,
                                                         std::string_view mark) {
    const size_t at = input.find(mark);
    if (at == std::string_view::npos)
        return {input, {}};
    return {input.substr(0, at), input.substr(at + mark.size())};
}

inline std::string_view view(const uint8_t* data, size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

} // namespace sorvanti::fuzz
