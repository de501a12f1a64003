#include "core/encoding.h"

#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vp {

namespace {

constexpr uint64_t kHighBits8 = 0x8080808080808080ull;
constexpr uint64_t kNonAscii16 = 0xFF80FF80FF80FF80ull;

// Block steps over kBlock units: each converts the whole block at once and returns how many
// of its leading units were ASCII (kBlock when all were). Only that many are taken; the
// rest of what was stored is overwritten by the work that follows, which the caller
// guarantees fits, since it only calls with at least kBlock units left.
#if defined(__SSE2__)
constexpr size_t kBlock = 16;

inline size_t LeadingAscii(unsigned nonAsciiMask) {
    return nonAsciiMask ? static_cast<size_t>(__builtin_ctz(nonAsciiMask)) : kBlock;
}

inline size_t WidenAsciiRun(const unsigned char* src, char16_t* dst) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src));
    const __m128i zero = _mm_setzero_si128();
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), _mm_unpacklo_epi8(v, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 8), _mm_unpackhi_epi8(v, zero));
    return LeadingAscii(static_cast<unsigned>(_mm_movemask_epi8(v)));
}

inline size_t AsciiByteRun(const unsigned char* src) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src));
    return LeadingAscii(static_cast<unsigned>(_mm_movemask_epi8(v)));
}

inline unsigned NonAsciiUnits(__m128i a, __m128i b) {
    const __m128i high = _mm_set1_epi16(static_cast<int16_t>(0xFF80));
    const __m128i zero = _mm_setzero_si128();
    const __m128i asciiA = _mm_cmpeq_epi16(_mm_and_si128(a, high), zero);
    const __m128i asciiB = _mm_cmpeq_epi16(_mm_and_si128(b, high), zero);
    return ~static_cast<unsigned>(_mm_movemask_epi8(_mm_packs_epi16(asciiA, asciiB))) & 0xFFFF;
}

inline size_t NarrowAsciiRun(const char16_t* src, unsigned char* dst) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 8));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), _mm_packus_epi16(a, b));
    return LeadingAscii(NonAsciiUnits(a, b));
}

inline size_t AsciiUnitRun(const char16_t* src) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 8));
    return LeadingAscii(NonAsciiUnits(a, b));
}
#else
constexpr size_t kBlock = 8;

inline size_t AsciiByteRun(const unsigned char* src) {
    uint64_t v;
    std::memcpy(&v, src, 8);
    if ((v & kHighBits8) == 0)
        return kBlock;
    size_t k = 0;
    while (src[k] < 0x80)
        ++k;
    return k;
}

inline size_t WidenAsciiRun(const unsigned char* src, char16_t* dst) {
    for (size_t k = 0; k < kBlock; ++k)
        dst[k] = src[k];
    return AsciiByteRun(src);
}

inline size_t AsciiUnitRun(const char16_t* src) {
    size_t k = 0;
    while (k < kBlock && src[k] < 0x80)
        ++k;
    return k;
}

inline size_t NarrowAsciiRun(const char16_t* src, unsigned char* dst) {
    for (size_t k = 0; k < kBlock; ++k)
        dst[k] = static_cast<unsigned char>(src[k]);
    return AsciiUnitRun(src);
}
#endif

// Decodes one multi-byte sequence at p (lead >= 0x80); returns its length, or 0 when malformed.
inline size_t DecodeSequence(const unsigned char* p, size_t avail, char32_t& c) {
    const unsigned char lead = p[0];
    size_t len;
    char32_t min;
    if (lead >= 0xC2 && lead <= 0xDF) {
        len = 2, c = lead & 0x1F, min = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        len = 3, c = lead & 0x0F, min = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        len = 4, c = lead & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (len > avail)
        return 0;
    for (size_t k = 1; k < len; ++k) {
        if ((p[k] & 0xC0) != 0x80)
            return 0;
        c = (c << 6) | (p[k] & 0x3F);
    }
    if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return 0;
    return len;
}

// Decodes into out; strict stops at the first malformed sequence and returns false,
// otherwise each malformed byte becomes U+FFFD.
template <bool strict> bool DecodeUtf8(std::string_view bytes, std::u16string& out) {
    out.resize(bytes.size()); // never more code units than bytes
    const auto* src = reinterpret_cast<const unsigned char*>(bytes.data());
    const size_t n = bytes.size();
    char16_t* dst = out.data();
    size_t i = 0, o = 0;
    while (i < n) {
        if (i + kBlock <= n) {
            const size_t run = WidenAsciiRun(src + i, dst + o);
            i += run, o += run;
            if (run == kBlock)
                continue;
        }
        const unsigned char lead = src[i];
        if (lead < 0x80) {
            dst[o++] = lead;
            ++i;
            continue;
        }
        // The common two- and three-byte forms, checked inline.
        if (lead >= 0xC2 && lead <= 0xDF && i + 1 < n && (src[i + 1] & 0xC0) == 0x80) {
            dst[o++] = static_cast<char16_t>(((lead & 0x1F) << 6) | (src[i + 1] & 0x3F));
            i += 2;
            continue;
        }
        if ((lead & 0xF0) == 0xE0 && i + 2 < n && (src[i + 1] & 0xC0) == 0x80 &&
            (src[i + 2] & 0xC0) == 0x80) {
            const char16_t c = static_cast<char16_t>(
                ((lead & 0x0F) << 12) | ((src[i + 1] & 0x3F) << 6) | (src[i + 2] & 0x3F));
            if (c >= 0x800 && (c < 0xD800 || c > 0xDFFF)) {
                dst[o++] = c;
                i += 3;
                continue;
            }
        }
        char32_t c;
        const size_t len = DecodeSequence(src + i, n - i, c);
        if (len == 0) {
            if (strict)
                return false;
            dst[o++] = u'\xFFFD';
            ++i;
            continue;
        }
        if (c >= 0x10000) {
            c -= 0x10000;
            dst[o++] = static_cast<char16_t>(0xD800 + (c >> 10));
            dst[o++] = static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        } else {
            dst[o++] = static_cast<char16_t>(c);
        }
        i += len;
    }
    out.resize(o);
    return true;
}

inline bool IsHigh(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
inline bool IsLow(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

size_t Utf8Length(std::u16string_view text) {
    const char16_t* s = text.data();
    const size_t n = text.size();
    size_t len = 0, i = 0;
    while (i < n) {
        if (i + kBlock <= n) {
            const size_t run = AsciiUnitRun(s + i);
            len += run, i += run;
            if (run == kBlock)
                continue;
        }
        const char16_t c = s[i++];
        if (c < 0x80) {
            len += 1;
        } else if (c < 0x800) {
            len += 2;
        } else if (IsHigh(c) && i < n && IsLow(s[i])) {
            len += 4, ++i;
        } else {
            len += 3; // unpaired surrogates become U+FFFD, also 3 bytes
        }
    }
    return len;
}

// Encodes s[i..n) at d while at least kRoom bytes are free before end: one round may take
// part of a block and then the longest sequence. Returns the first unit not encoded.
constexpr size_t kRoom = kBlock + 4;

size_t EncodeSome(const char16_t* s, size_t n, size_t i, unsigned char*& d,
                  const unsigned char* end) {
    while (i < n && static_cast<size_t>(end - d) >= kRoom) {
        if (i + kBlock <= n) {
            const size_t run = NarrowAsciiRun(s + i, d);
            d += run, i += run;
            if (run == kBlock)
                continue;
        }
        char32_t c = s[i++];
        if (c < 0x80) {
            *d++ = static_cast<unsigned char>(c);
            continue;
        }
        if (IsHigh(static_cast<char16_t>(c)) && i < n && IsLow(s[i])) {
            c = 0x10000 + ((c - 0xD800) << 10) + (s[i++] - 0xDC00);
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        if (c < 0x800) {
            *d++ = static_cast<unsigned char>(0xC0 | (c >> 6));
            *d++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            *d++ = static_cast<unsigned char>(0xE0 | (c >> 12));
            *d++ = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
            *d++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
        } else {
            *d++ = static_cast<unsigned char>(0xF0 | (c >> 18));
            *d++ = static_cast<unsigned char>(0x80 | ((c >> 12) & 0x3F));
            *d++ = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
            *d++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
        }
    }
    return i;
}

// Appends the UTF-8 form of text to out in one pass for text that is mostly ASCII: the
// buffer is sized for a little growth, and only text that outgrows it is measured exactly.
void AppendUtf8(std::string& out, std::u16string_view text) {
    const size_t start = out.size();
    const size_t n = text.size();
    out.resize(start + n + n / 8 + kRoom);
    size_t i = 0, pos = start;
    for (;;) {
        auto* base = reinterpret_cast<unsigned char*>(out.data());
        unsigned char* d = base + pos;
        i = EncodeSome(text.data(), n, i, d, base + out.size());
        pos = static_cast<size_t>(d - base);
        if (i >= n)
            break;
        out.resize(pos + Utf8Length(text.substr(i)) + kRoom);
    }
    out.resize(pos);
}

constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

} // namespace

std::string ToUtf8(std::u16string_view text) {
    std::string out;
    AppendUtf8(out, text);
    return out;
}

std::u16string FromUtf8(std::string_view bytes) {
    std::u16string out;
    DecodeUtf8<false>(bytes, out);
    return out;
}

bool TryDecodeUtf8(std::string_view bytes, std::u16string& out) {
    return DecodeUtf8<true>(bytes, out);
}

bool IsValidUtf8(std::string_view bytes) {
    const auto* src = reinterpret_cast<const unsigned char*>(bytes.data());
    const size_t n = bytes.size();
    size_t i = 0;
    while (i < n) {
        if (i + kBlock <= n) {
            const size_t run = AsciiByteRun(src + i);
            i += run;
            if (run == kBlock)
                continue;
        }
        if (src[i] < 0x80) {
            ++i;
            continue;
        }
        char32_t c;
        const size_t len = DecodeSequence(src + i, n - i, c);
        if (len == 0)
            return false;
        i += len;
    }
    return true;
}

std::u16string DecodeWindows1252(std::string_view bytes) {
    std::u16string out(bytes.size(), u'\0');
    for (size_t i = 0; i < bytes.size(); ++i) {
        const unsigned char b = static_cast<unsigned char>(bytes[i]);
        out[i] = (b >= 0x80 && b < 0xA0) ? kCp1252High[b - 0x80] : b;
    }
    return out;
}

std::u16string DecodeUtf16(std::string_view bytes, bool bigEndian) {
    const size_t units = bytes.size() / 2;
    std::u16string out(units + bytes.size() % 2, u'\0');
    const auto* src = reinterpret_cast<const unsigned char*>(bytes.data());
    for (size_t i = 0; i < units; ++i) {
        const unsigned char a = src[2 * i], b = src[2 * i + 1];
        out[i] = static_cast<char16_t>(bigEndian ? (a << 8) | b : (b << 8) | a);
    }
    if (bytes.size() % 2)
        out[units] = u'\xFFFD';
    return out;
}

std::u16string DecodeText(std::string_view bytes, AnsiDecoder ansi, TextEncoding* found) {
    auto report = [&](TextEncoding e) {
        if (found)
            *found = e;
    };
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        report(TextEncoding::Utf8Bom);
        return FromUtf8(bytes.substr(3));
    }
    if (bytes.starts_with("\xFF\xFE")) {
        report(TextEncoding::Utf16LE);
        return DecodeUtf16(bytes.substr(2), false);
    }
    if (bytes.starts_with("\xFE\xFF")) {
        report(TextEncoding::Utf16BE);
        return DecodeUtf16(bytes.substr(2), true);
    }
    std::u16string text;
    if (TryDecodeUtf8(bytes, text)) {
        report(TextEncoding::Utf8);
        return text;
    }
    report(TextEncoding::Ansi);
    return (ansi ? ansi : DecodeWindows1252)(bytes);
}

std::string EncodeText(std::u16string_view text, bool withBOM) {
    std::string out = withBOM ? "\xEF\xBB\xBF" : "";
    AppendUtf8(out, text);
    return out;
}

size_t Utf8PieceEnd(std::u16string_view text, size_t from, size_t maxUnits) {
    if (text.size() - from <= maxUnits)
        return text.size();
    size_t end = from + maxUnits;
    if (text[end - 1] >= 0xD800 && text[end - 1] <= 0xDBFF && text[end] >= 0xDC00 &&
        text[end] <= 0xDFFF)
        --end;
    return end;
}

} // namespace vp
