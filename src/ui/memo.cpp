#include "ui/memo.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "core/errors.h"
#include "core/int_text.h"
#include "platform/wstr.h"
#include "ui/events.h"

namespace vp::ui {

// ---------------------------------------------------------------- TMemo

TMemo::TMemo(const Placement& place, const CreateArgs& a) : TControl(place) {
    SetHint(a.hint);
    DWORD style = WS_VISIBLE | WS_TABSTOP | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL;
    if (!a.wordWrap || a.hScroll)
        style |= ES_AUTOHSCROLL;
    if (a.hScroll)
        style |= WS_HSCROLL;
    if (a.vScroll)
        style |= WS_VSCROLL;
    if (!a.hideSelection)
        style |= ES_NOHIDESEL;
    if (a.readOnly)
        style |= ES_READONLY;
    CreateControl(WC_EDITW, u"", style, WS_EX_CLIENTEDGE);
    // The default limit would silently drop text beyond 32 K characters.
    SendMessageW(Handle(), EM_SETLIMITTEXT, 0, 0);
    if (a.font)
        SetFont(a.font);
    if (!a.text.empty())
        SetText(a.text);
    OnChange = a.onChange;
    if (a.align != TAlign::alNone)
        SetAlign(a.align);
}

void TMemo::SetText(const std::u16string& text) {
    SendMessageW(Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(W(text)));
}

size_t TMemo::TextLength() const {
    return static_cast<size_t>(GetWindowTextLengthW(Handle()));
}

void TMemo::RaiseChange() {
    Raise(OnChange);
}

LRESULT TMemo::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_SETTEXT) {
        const auto* given = reinterpret_cast<const char16_t*>(lParam);
        const std::u16string_view view = given ? std::u16string_view(given) : std::u16string_view();
        const std::optional<std::u16string> prepared = PrepareText(view);
        const std::u16string_view incoming = prepared ? std::u16string_view(*prepared) : view;
        if (incoming.size() == TextLength() && HoldsText(incoming))
            return TRUE;
        ++changeSuppressed_;
        LRESULT result = 0;
        try {
            result = DefaultHandler(msg, wParam,
                                    prepared ? reinterpret_cast<LPARAM>(W(*prepared)) : lParam);
        } catch (...) {
            --changeSuppressed_;
            throw;
        }
        --changeSuppressed_;
        RaiseChange();
        return result;
    }
    return TControl::HandleMessage(msg, wParam, lParam);
}

bool TMemo::HoldsText(std::u16string_view text) const {
    if (auto handle = reinterpret_cast<HLOCAL>(SendMessageW(Handle(), EM_GETHANDLE, 0, 0)))
        if (const auto* data = static_cast<const char16_t*>(LocalLock(handle))) {
            const bool same = std::u16string_view(data, TextLength()) == text;
            LocalUnlock(handle);
            return same;
        }
    return Text() == text;
}

bool TMemo::HandleNotification(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg == WM_COMMAND && HIWORD(wParam) == EN_CHANGE) {
        if (!changeSuppressed_)
            RaiseChange();
        result = 0;
        return true;
    }
    return TControl::HandleNotification(msg, wParam, lParam, result);
}

int TMemo::LineStart(int index) const {
    return static_cast<int>(SendMessageW(Handle(), EM_LINEINDEX, static_cast<WPARAM>(index), 0));
}

int TMemo::LineCount() const {
    const int count = static_cast<int>(SendMessageW(Handle(), EM_GETLINECOUNT, 0, 0));
    // The empty line after a final break is no line of the list.
    const int lastStart = LineStart(count - 1);
    if (lastStart >= 0 && SendMessageW(Handle(), EM_LINELENGTH, lastStart, 0) == 0)
        return count - 1;
    return count;
}

std::u16string TMemo::Line(int index) const {
    const int start = LineStart(index);
    if (index < 0 || start < 0)
        throw Error(u"List index out of bounds (" + IntToText(index) + u")");
    const int length = static_cast<int>(SendMessageW(Handle(), EM_LINELENGTH, start, 0));
    std::vector<wchar_t> buffer(static_cast<size_t>(std::max(length, 1)) + 1);
    *reinterpret_cast<WORD*>(buffer.data()) = static_cast<WORD>(std::min(length, 0xFFFF));
    if (length > 0xFFFF) {
        // EM_GETLINE takes its size in one WORD: read long lines from the text.
        return Text().substr(static_cast<size_t>(start), static_cast<size_t>(length));
    }
    const LRESULT got = SendMessageW(Handle(), EM_GETLINE, static_cast<WPARAM>(index),
                                     reinterpret_cast<LPARAM>(buffer.data()));
    return U(buffer.data(), static_cast<size_t>(got));
}

void TMemo::SetLine(int index, const std::u16string& text) {
    const int start = LineStart(index);
    if (index < 0 || start < 0)
        return;
    const int length = static_cast<int>(SendMessageW(Handle(), EM_LINELENGTH, start, 0));
    SetSel(static_cast<size_t>(start), static_cast<size_t>(start + length));
    ReplaceSel(text, false);
}

void TMemo::DeleteLine(int index) {
    const int start = LineStart(index);
    if (index < 0 || start < 0)
        return;
    int end = LineStart(index + 1);
    if (end < 0)
        end = start + static_cast<int>(SendMessageW(Handle(), EM_LINELENGTH, start, 0));
    SetSel(static_cast<size_t>(start), static_cast<size_t>(end));
    ReplaceSel(u"", false);
}

void TMemo::AddLine(const std::u16string& text) {
    const size_t length = TextLength();
    // The last line's length tells whether the text ends with a break.
    const bool endsWithBreak = length == 0 || SendMessageW(Handle(), EM_LINELENGTH, length, 0) == 0;
    SetSel(length, length);
    ReplaceSel(endsWithBreak ? text + u"\r\n" : u"\r\n" + text, false);
}

StringList TMemo::Lines() const {
    return TextToStringList(Text());
}

void TMemo::SetLines(const StringList& lines) {
    std::u16string text;
    size_t total = 0;
    for (const auto& l : lines)
        total += l.size() + 2;
    text.reserve(total);
    for (const auto& l : lines) {
        text += l;
        text += u"\r\n";
    }
    SetText(text);
}

size_t TMemo::SelStart() const {
    DWORD start = 0, end = 0;
    SendMessageW(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    return start;
}

size_t TMemo::SelLength() const {
    DWORD start = 0, end = 0;
    SendMessageW(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    return end - start;
}

void TMemo::SetSel(size_t start, size_t end) {
    SendMessageW(Handle(), EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
}

void TMemo::SelectAll() {
    SendMessageW(Handle(), EM_SETSEL, 0, -1);
}

std::u16string TMemo::SelText() const {
    const size_t start = SelStart(), length = SelLength();
    if (!length)
        return {};
    return Text().substr(start, length);
}

void TMemo::ReplaceSel(const std::u16string& text, bool canUndo) {
    SendMessageW(Handle(), EM_REPLACESEL, canUndo, reinterpret_cast<LPARAM>(W(text)));
}

void TMemo::SetReadOnly(bool readOnly) {
    SendMessageW(Handle(), EM_SETREADONLY, readOnly, 0);
}

} // namespace vp::ui
