// Code page 932: bytes read and written again any number of times give the same text, and
// the same bytes outside the duplicate codes; text written gives back what it was.
#include "fuzz/FuzzSupport.h"
#include "toolkit/Cp932.h"

using namespace sorvanti;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes = fuzz::view(data, size);

    const std::u16string text = cp932::decode(bytes);
    size_t bad = 0;
    const std::string saved = cp932::encode(text, &bad);
    FUZZ_CHECK(bad == std::u16string_view::npos);
    FUZZ_CHECK(cp932::findUnencodable(text) == std::u16string_view::npos);
    FUZZ_CHECK(saved.size() == bytes.size());
    FUZZ_CHECK(cp932::decode(saved) == text);
    FUZZ_CHECK(cp932::encode(cp932::decode(saved)) == saved);

    // The same bytes as UTF-16 text of any kind: what encodes, decodes to a text that is
    // itself stable; what the encoder reports, findUnencodable reports at the same place.
    std::u16string units(size / 2, u'\0');
    for (size_t i = 0; i < units.size(); ++i)
        units[i] = char16_t(data[2 * i] | data[2 * i + 1] << 8);
    const std::string encoded = cp932::encode(units, &bad);
    FUZZ_CHECK(bad == cp932::findUnencodable(units));
    const std::u16string once = cp932::decode(encoded);
    FUZZ_CHECK(cp932::decode(cp932::encode(once)) == once);

    // UTF-8 both ways.
    bool valid = false;
    const std::u16string fromUtf8 = cp932::fromUtf8(bytes, &valid);
    if (valid)
        FUZZ_CHECK(cp932::toUtf8(fromUtf8) == bytes);
    FUZZ_CHECK(cp932::fromUtf8(cp932::toUtf8(fromUtf8)) == fromUtf8);
    return 0;
}
