#pragma once
// Clipboard access: fetching its text with retries, emptying it, setting it, and
// recognising private copies.
//
// Password managers mark what they copy with a registered format so that clipboard
// monitors leave it alone; such a private copy is never captured, backed up or beeped.
#include <windows.h>

#include <string>

namespace vp {

inline constexpr int kClipboardAttempts = 20;
inline constexpr unsigned kClipboardRetryMilliseconds = 30;

// The clipboard offers text (CF_TEXT, which the system also reports for Unicode text).
bool ClipboardOffersText();

struct ClipboardText {
    std::u16string text;    // up to its first NUL; empty when none or not fetched
    bool isPrivate = false; // a private copy: text is then always empty
    bool fetched = false;   // false: every attempt failed, or no text was offered
    bool offered = false;   // the clipboard offered text (CF_TEXT)
};

// FetchClipboardText with the private mark: makes up to attempts attempts to open the
// clipboard and read its Unicode text, waiting 30 ms after each failed one.
ClipboardText FetchClipboard(int attempts);
// The clipboard's text; empty when it offers none, is private or stays held open.
std::u16string FetchClipboardText(int attempts);

// The clipboard's Unicode text for a paste into a window of this program, up to its first
// NUL (empty when there is none). The open is retried like FetchClipboard; when it never
// succeeds, throws vp::Error "Cannot open clipboard.".
std::u16string ClipboardTextForPaste(HWND owner);

// Opens the clipboard once, without retry, and empties it. Throws vp::Error
// "Cannot open clipboard: " + the system's reason when another program holds it.
void EmptyClipboardOnce();

// Replaces the clipboard's content with text as CF_UNICODETEXT (retrying the open like
// FetchClipboard). Throws vp::Error when the clipboard cannot be opened or written.
void SetClipboardText(const std::u16string& text);

} // namespace vp
