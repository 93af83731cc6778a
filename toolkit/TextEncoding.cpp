#include "toolkit/TextEncoding.h"

#include <algorithm>
#include <cstring>

namespace sorvanti::textencoding {

// Well-formed UTF-8 as Unicode defines it: no overlong forms, no encoded surrogates,
// nothing past U+10FFFF. The second byte's range depends on the first byte.
void Detector::feed(std::string_view bytes) {
    for (size_t i = 0; i < bytes.size() && seen_ + i < 3; ++i)
        head_[seen_ + i] = static_cast<unsigned char>(bytes[i]);
    seen_ += bytes.size();
    if (!valid_)
        return;
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (pending_ > 0) {
            if (b < lowerBound_ || b > upperBound_) {
                valid_ = false;
                return;
            }
            --pending_;
            lowerBound_ = 0x80;
            upperBound_ = 0xBF;
            continue;
        }
        if (b < 0x80)
            continue;
        nonAscii_ = true;
        if (b >= 0xC2 && b <= 0xDF) {
            pending_ = 1;
        } else if (b >= 0xE0 && b <= 0xEF) {
            pending_ = 2;
            if (b == 0xE0)
                lowerBound_ = 0xA0;
            else if (b == 0xED)
                upperBound_ = 0x9F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            pending_ = 3;
            if (b == 0xF0)
                lowerBound_ = 0x90;
            else if (b == 0xF4)
                upperBound_ = 0x8F;
        } else {
            valid_ = false;
            return;
        }
    }
}

Detected Detector::result() const {
    if (seen_ >= 3 && std::memcmp(head_, kUtf8Bom.data(), 3) == 0)
        return {Encoding::Utf8, true};
    if (valid_ && pending_ == 0 && nonAscii_)
        return {Encoding::Utf8, false};
    return {};
}

Detected detect(std::string_view bytes) {
    Detector detector;
    detector.feed(bytes);
    return detector.result();
}

} // namespace sorvanti::textencoding
