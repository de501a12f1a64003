#pragma once
// UTF-8 and UTF-16 conversions. Invalid input never fails: bad sequences become
// U+FFFD, unpaired surrogates are encoded as U+FFFD.
#include <string>
#include <string_view>

namespace vp {

std::string ToUtf8(std::u16string_view text);
std::u16string FromUtf8(std::string_view bytes);
// True when bytes are well-formed UTF-8 (no overlongs, no surrogates, at most U+10FFFF).
bool IsValidUtf8(std::string_view bytes);
// Decodes well-formed UTF-8 into out; false (out unspecified) at the first malformed byte.
bool TryDecodeUtf8(std::string_view bytes, std::u16string& out);

// Decodes bytes in an 8-bit code page.
using AnsiDecoder = std::u16string (*)(std::string_view bytes);
// Windows-1252; its five unassigned bytes map to the C1 controls of the same value, as
// Windows itself does.
std::u16string DecodeWindows1252(std::string_view bytes);

// UTF-16 code units from bytes; unpaired surrogates are kept, a last odd byte becomes U+FFFD.
std::u16string DecodeUtf16(std::string_view bytes, bool bigEndian);

enum class TextEncoding { Utf8Bom, Utf16LE, Utf16BE, Utf8, Ansi };

// A whole file's bytes as text: a byte-order mark EF BB BF, FF FE or FE FF (tested in that
// order) chooses the decoding and is dropped; without one, valid UTF-8 is read as UTF-8 and
// anything else through ansi.
std::u16string DecodeText(std::string_view bytes, AnsiDecoder ansi = DecodeWindows1252,
                          TextEncoding* found = nullptr);
// Text as UTF-8 bytes, behind the mark EF BB BF when withBOM.
std::string EncodeText(std::u16string_view text, bool withBOM);
// Where a piece of text that starts at from and holds at most maxUnits (at least 2) may end
// so that the pieces' UTF-8 forms, joined, are the whole text's: never inside a surrogate pair.
size_t Utf8PieceEnd(std::u16string_view text, size_t from, size_t maxUnits);

} // namespace vp
