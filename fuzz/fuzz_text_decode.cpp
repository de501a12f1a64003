// Whole-file text decoding: never fails, and what it gives back survives encoding.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/encoding.h"

namespace {

bool HasUnpairedSurrogate(std::u16string_view text) {
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
                ++i;
                continue;
            }
            return true;
        }
        if (c >= 0xDC00 && c <= 0xDFFF)
            return true;
    }
    return false;
}

void Check(bool ok) {
    if (!ok)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    vp::TextEncoding found{};
    const std::u16string text = vp::DecodeText(bytes, vp::DecodeWindows1252, &found);

    // Unmarked bytes are read as UTF-8 exactly when they are valid UTF-8, and then the
    // bytes come back unchanged.
    const bool marked = found == vp::TextEncoding::Utf8Bom || found == vp::TextEncoding::Utf16LE ||
                        found == vp::TextEncoding::Utf16BE;
    if (!marked) {
        Check((found == vp::TextEncoding::Utf8) == vp::IsValidUtf8(bytes));
        if (found == vp::TextEncoding::Utf8)
            Check(vp::EncodeText(text, false) == bytes);
        if (found == vp::TextEncoding::Ansi)
            Check(text.size() == bytes.size());
    }

    // Any text without unpaired surrogates survives encoding and decoding, with or without
    // the mark; the encoder and ToUtf8 agree.
    const std::string utf8 = vp::EncodeText(text, true);
    Check(utf8.substr(3) == vp::ToUtf8(text));
    Check(vp::IsValidUtf8(std::string_view(utf8).substr(3)));
    if (!HasUnpairedSurrogate(text)) {
        Check(vp::DecodeText(utf8) == text);
        Check(vp::FromUtf8(utf8.substr(3)) == text);
    }

    // The raw bytes read as UTF-16 in both byte orders keep every unit.
    const std::u16string le = vp::DecodeUtf16(bytes, false);
    Check(le.size() == (size + 1) / 2);
    if (size % 2 == 0 && !HasUnpairedSurrogate(le)) {
        const std::string back = vp::EncodeText(le, false);
        Check(vp::FromUtf8(back) == le);
    }
    return 0;
}
