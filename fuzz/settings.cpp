// The settings file: any file read, one key written, read back. A write either refuses and
// leaves the file as it was, or its value reads back, other keys keep theirs, and the same
// write again changes nothing.
//
// Input: file bytes, then section, key, value and another key's section and key, separated
// by "\0|".
#include "fuzz/FuzzSupport.h"

#include "settings/IniFile.h"
#include "toolkit/Error.h"

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>

using namespace sorvanti;

namespace {

std::string contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

// Names that may be the same name to the file (ASCII case aside): checks are skipped then.
bool mayBeSame(std::string_view a, std::string_view b) {
    a = trim(a);
    b = trim(b);
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if ((a[i] | 0x20) != (b[i] | 0x20))
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path =
        "/tmp/sorvanti-fuzz-settings-" + std::to_string(getpid()) + ".ini";
    std::string_view parts[6];
    std::string_view rest = fuzz::view(data, size);
    for (std::string_view& part : parts) {
        auto [first, more] = fuzz::cut(rest, std::string_view("\0|", 2));
        part = first;
        rest = more;
    }
    const auto& [file, section, key, value, otherSection, otherKey] = parts;
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(file.data(), std::streamsize(file.size()));
    }
    IniFile ini(path);
    const std::optional<std::string> other = ini.read(otherSection, otherKey);
    bool written = true;
    try {
        ini.write(section, key, value);
    } catch (const Error&) {
        written = false;
    }
    if (!written) {
        FUZZ_CHECK(contents(path) == file);
    } else {
        const std::optional<std::string> back = ini.read(section, key);
        FUZZ_CHECK(back.has_value());
        FUZZ_CHECK(*back == trim(value).substr(0, 2047));
        if (!(mayBeSame(section, otherSection) && mayBeSame(key, otherKey)))
            FUZZ_CHECK(ini.read(otherSection, otherKey) == other);
        const std::string once = contents(path);
        ini.write(section, key, value);
        FUZZ_CHECK(contents(path) == once);
    }
    std::remove(path.c_str());
    return 0;
}
