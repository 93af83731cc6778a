#pragma once

namespace sorvanti::cp932 {

// True when `b` is the first byte of a two-byte code page 932 character: 0x81-0x9F and
// 0xE0-0xFC. Whether the byte after it belongs to the same character is told by
// cp932::Boundaries (Cp932.h): only when the two bytes are a code of the code page. These two
// are the one rule by which everything that steps through code page 932 text finds where a
// character starts (the engine, the duplicate-code matching, the decoder, the settings file).
constexpr bool isLeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

} // namespace sorvanti::cp932
