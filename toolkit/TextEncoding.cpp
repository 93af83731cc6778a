#include "toolkit/TextEncoding.h"

#include "toolkit/Utf8Lead.h"

#include <algorithm>
#include <cstring>

namespace sorvanti::textencoding {

namespace {

// A byte that ASCII and half-width katakana text never holds.
constexpr bool beyondKana(unsigned char b) {
    return b >= 0x80 && (b <= 0xA0 || b >= 0xE0);
}

} // namespace

// Well-formed UTF-8 as Unicode defines it (utf8Lead).
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
            beyondKana_ = beyondKana_ || beyondKana(b);
            --pending_;
            lowerBound_ = 0x80;
            upperBound_ = 0xBF;
            continue;
        }
        if (b < 0x80)
            continue;
        beyondKana_ = beyondKana_ || beyondKana(b);
        const Utf8Lead lead = utf8Lead(b);
        if (lead.more < 0) {
            valid_ = false;
            return;
        }
        pending_ = lead.more;
        lowerBound_ = lead.low;
        upperBound_ = lead.high;
    }
}

Detected Detector::result() const {
    if (seen_ >= 3 && std::memcmp(head_, kUtf8Bom.data(), 3) == 0)
        return {Encoding::Utf8, true};
    if (valid_ && pending_ == 0 && beyondKana_)
        return {Encoding::Utf8, false};
    return {};
}

Detected detect(std::string_view bytes) {
    Detector detector;
    detector.feed(bytes);
    return detector.result();
}

} // namespace sorvanti::textencoding
