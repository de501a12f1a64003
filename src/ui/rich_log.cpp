#include "ui/rich_log.h"

#include <richedit.h>

#include <algorithm>
#include <string>

#include "core/date_time.h"
#include "core/encoding.h"
#include "core/errors.h"
#include "platform/ansi.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/system_error.h"
#include "platform/unique_handle.h"
#include "platform/wstr.h"
#include "ui/events.h"

namespace vp::ui {

namespace {

constexpr LPARAM kTextLimit = 2147483632;

const wchar_t* RichEditClass() {
    static const bool loaded = LoadLibraryW(L"Msftedit.dll") != nullptr;
    Assert(loaded, u"cvRichLog", u"The rich edit control (Msftedit.dll) is missing.");
    return MSFTEDIT_CLASS;
}

SYSTEMTIME LocalNow() {
    const CivilDateTime now = DecodeDateTime(NowDateTime());
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(now.date.year);
    st.wMonth = static_cast<WORD>(now.date.month);
    st.wDay = static_cast<WORD>(now.date.day);
    st.wDayOfWeek = static_cast<WORD>(now.dayOfWeek);
    st.wHour = static_cast<WORD>(now.hour);
    st.wMinute = static_cast<WORD>(now.minute);
    st.wSecond = static_cast<WORD>(now.second);
    return st;
}

std::u16string ShortDate(const SYSTEMTIME& st) {
    wchar_t buffer[128];
    const int n = GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, buffer,
                                  128, nullptr);
    return n > 0 ? U(buffer, static_cast<size_t>(n - 1)) : std::u16string();
}

std::u16string LongTime(const SYSTEMTIME& st) {
    wchar_t buffer[128];
    const int n = GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &st, nullptr, buffer, 128);
    return n > 0 ? U(buffer, static_cast<size_t>(n - 1)) : std::u16string();
}

// Keeps a boolean at a value for one scope, restoring it even when an error passes.
class Override {
  public:
    Override(bool& flag, bool value) : flag_(flag), saved_(flag) { flag_ = value; }
    ~Override() { flag_ = saved_; }
    Override(const Override&) = delete;
    Override& operator=(const Override&) = delete;

  private:
    bool& flag_;
    bool saved_;
};

DWORD CALLBACK StreamOut(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* written) {
    reinterpret_cast<std::string*>(cookie)->append(reinterpret_cast<const char*>(buffer),
                                                   static_cast<size_t>(size));
    *written = size;
    return 0;
}

struct StreamSource {
    const std::string* bytes;
    size_t at = 0;
};

DWORD CALLBACK StreamIn(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* read) {
    auto* s = reinterpret_cast<StreamSource*>(cookie);
    const size_t n = std::min(static_cast<size_t>(size), s->bytes->size() - s->at);
    std::copy_n(s->bytes->data() + s->at, n, reinterpret_cast<char*>(buffer));
    s->at += n;
    *read = static_cast<LONG>(n);
    return 0;
}

std::string ReadBytes(const std::u16string& path) {
    const UniqueHFile h(
        CreateFileW(W(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!h)
        ThrowLastError(u"Cannot open file \"" + path + u"\"");
    std::string bytes;
    char buffer[65536];
    DWORD read = 0;
    BOOL ok = TRUE;
    while ((ok = ReadFile(h.Get(), buffer, sizeof(buffer), &read, nullptr)) && read > 0)
        bytes.append(buffer, read);
    const DWORD error = GetLastError();
    if (!ok)
        ThrowSystemError(u"Cannot read file \"" + path + u"\"", error);
    return bytes;
}

void WriteBytes(const std::u16string& path, const std::string& bytes) {
    UniqueHFile h(CreateFileW(W(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (!h)
        ThrowLastError(u"Cannot write file \"" + path + u"\"");
    DWORD written = 0;
    const BOOL ok =
        WriteFile(h.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    const DWORD error = GetLastError();
    h.Reset();
    if (!ok || written != bytes.size())
        ThrowSystemError(u"Cannot write file \"" + path + u"\"", error);
}

} // namespace

std::u16string VerbosityName(int level) {
    switch (level) {
    case lvVerbose:
        return u"Verbose";
    case lvHints:
        return u"Hints";
    case lvInfos:
        return u"Info";
    case lvImportant:
        return u"Important";
    case lvWarnings:
        return u"Warnings";
    case lvErrors:
        return u"Errors";
    }
    return u"Invalid verbosity";
}

COLORREF VerbosityColor(TLogVerb level) {
    switch (level) {
    case lvVerbose:
    case lvHints:
        return RGB(128, 128, 128);
    case lvImportant:
        return RGB(62, 13, 174);
    case lvWarnings:
        return RGB(223, 88, 0);
    case lvErrors:
        return RGB(255, 0, 0);
    default:
        return RGB(0, 0, 0);
    }
}

TRichLog::TRichLog(const Placement& place, const CreateArgs& a) : TControl(place) {
    SetHint(a.hint);
    FVerbosity = a.verbosity;
    CreateControl(RichEditClass(), u"",
                  WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_AUTOVSCROLL |
                      ES_AUTOHSCROLL | ES_NOHIDESEL | (a.tabStop ? WS_TABSTOP : 0) |
                      (a.readOnly ? ES_READONLY : 0),
                  WS_EX_CLIENTEDGE);
    SendMessageW(Handle(), EM_EXLIMITTEXT, 0, kTextLimit);
    SendMessageW(Handle(), EM_SETTARGETDEVICE, 0, 1); // no word wrap
    if (!a.fontName.empty()) {
        CHARFORMAT2W cf{};
        cf.cbSize = sizeof(cf);
        cf.dwMask = CFM_FACE | CFM_SIZE;
        cf.yHeight = a.fontHeight * 15; // twips: 1440 per inch, 96 pixels per inch
        lstrcpynW(cf.szFaceName, W(a.fontName), LF_FACESIZE);
        SendMessageW(Handle(), EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&cf));
        SendMessageW(Handle(), EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&cf));
    }
    if (a.align != TAlign::alNone)
        SetAlign(a.align);
}

void TRichLog::AddVerb(const std::u16string& Mesaj) {
    if (FVerbosity == lvVerbose && !Mesaj.empty())
        AddColorMsg(Mesaj, VerbosityColor(lvVerbose));
}

void TRichLog::AddHint(const std::u16string& Mesaj) {
    if (FVerbosity <= lvHints && !Mesaj.empty())
        AddColorMsg(Mesaj, VerbosityColor(lvHints));
}

void TRichLog::AddInfo(const std::u16string& Mesaj) {
    if (FVerbosity <= lvInfos && !Mesaj.empty())
        AddColorMsg(Mesaj, VerbosityColor(lvInfos));
}

void TRichLog::AddImpo(const std::u16string& Mesaj) {
    if (FVerbosity <= lvImportant && !Mesaj.empty())
        AddColorMsg(Mesaj, VerbosityColor(lvImportant));
}

void TRichLog::AddWarn(const std::u16string& Mesaj) {
    if (FVerbosity <= lvWarnings && !Mesaj.empty())
        AddColorMsg(Mesaj, VerbosityColor(lvWarnings));
    Raise(OnWarn);
}

void TRichLog::AddError(const std::u16string& Mesaj) {
    if (!Mesaj.empty())
        AddColorMsg(Mesaj, VerbosityColor(lvErrors));
    Raise(OnError);
}

void TRichLog::AddMsgLvl(const std::u16string& Mesaj, TLogVerb MsgType) {
    switch (MsgType) {
    case lvVerbose:
        return AddVerb(Mesaj);
    case lvHints:
        return AddHint(Mesaj);
    case lvInfos:
        return AddInfo(Mesaj);
    case lvImportant:
        return AddImpo(Mesaj);
    case lvWarnings:
        return AddWarn(Mesaj);
    case lvErrors:
        return AddError(Mesaj);
    }
}

void TRichLog::AddMsg(const std::u16string& Mesaj) {
    AddColorMsg(Mesaj, RGB(0, 0, 0));
}

void TRichLog::AddColorMsg(const std::u16string& Mesaj, COLORREF Culoare) {
    AddLines(Mesaj, Culoare, false);
}

void TRichLog::AddBold(const std::u16string& Mesaj) {
    AddLines(Mesaj, RGB(0, 0, 0), true);
}

void TRichLog::AddInteger(int64_t value) {
    AddInfo(FromUtf8(std::to_string(value)));
}

void TRichLog::AddMsgInt(const std::u16string& Mesaj, int64_t value) {
    AddInfo(Mesaj + FromUtf8(std::to_string(value)));
}

void TRichLog::AddEmptyRow() {
    Override date(FInsertDate, false), time(FInsertTime, false);
    AddMsg(u" ");
}

void TRichLog::AddDateStamp() {
    const std::u16string stamp = ShortDate(LocalNow());
    Override date(FInsertDate, false), time(FInsertTime, false);
    AddMsg(stamp);
}

std::u16string TRichLog::LinePrefix() const {
    std::u16string prefix;
    if (FInsertTime || FInsertDate) {
        const SYSTEMTIME now = LocalNow();
        if (FInsertTime)
            prefix = LongTime(now) + u"  ";
        if (FInsertDate)
            prefix = ShortDate(now) + u" " + prefix;
    }
    return std::u16string(static_cast<size_t>(std::max(0, Indent)), u' ') + prefix;
}

void TRichLog::AddLines(const std::u16string& Mesaj, COLORREF color, bool bold) {
    CHARFORMAT2W saved{};
    saved.cbSize = sizeof(saved);
    SendMessageW(Handle(), EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&saved));
    // A NUL would cut the text short at the control.
    const std::u16string text = ReplaceChar(Mesaj, u'\0', u' ');
    for (const std::u16string& line : TextToStringList(text)) {
        const std::u16string full = LinePrefix() + line;
        const LONG end = EndPosition();
        CHARRANGE caret{end, end};
        SendMessageW(Handle(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&caret));
        CHARFORMAT2W cf{};
        cf.cbSize = sizeof(cf);
        cf.dwMask = CFM_COLOR | CFM_BOLD;
        cf.crTextColor = color;
        cf.dwEffects = bold ? CFE_BOLD : 0;
        SendMessageW(Handle(), EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
        AddLine(full);
    }
    SendMessageW(Handle(), EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&saved));
    if (FAutoScroll)
        ScrollToEnd();
}

void TRichLog::AddLine(const std::u16string& text) {
    std::u16string line = text;
    for (char16_t& c : line)
        if (c == u'\r' || c == u'\n' || c == u'\0')
            c = u' ';
    // Paragraphs are separated, not ended: the control's own last paragraph stays the
    // newest line instead of an empty one below it.
    if (hasParagraphs_ || EndPosition() > 0)
        line.insert(0, u"\r");
    SendMessageW(Handle(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(W(line)));
    hasParagraphs_ = true;
}

LONG TRichLog::EndPosition() const {
    GETTEXTLENGTHEX len{GTL_DEFAULT | GTL_NUMCHARS | GTL_PRECISE, 1200};
    return static_cast<LONG>(
        SendMessageW(Handle(), EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&len), 0));
}

void TRichLog::ScrollToEnd() {
    PostMessageW(Handle(), WM_VSCROLL, SB_BOTTOM, 0);
}

std::u16string TRichLog::RawText() const {
    GETTEXTLENGTHEX len{GTL_DEFAULT | GTL_NUMCHARS, 1200};
    const LRESULT n = SendMessageW(Handle(), EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&len), 0);
    if (n <= 0)
        return {};
    std::u16string text(static_cast<size_t>(n) + 1, u'\0');
    GETTEXTEX get{static_cast<DWORD>((n + 1) * sizeof(char16_t)), GT_DEFAULT, 1200, nullptr,
                  nullptr};
    const LRESULT got = SendMessageW(Handle(), EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get),
                                     reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(std::max<LRESULT>(0, got)));
    return text;
}

StringList TRichLog::Lines() const {
    StringList lines;
    const std::u16string text = RawText();
    if (text.empty())
        return hasParagraphs_ ? StringList{u""} : lines;
    size_t start = 0;
    for (;;) {
        const size_t cr = text.find(u'\r', start);
        lines.push_back(text.substr(start, cr == std::u16string::npos ? cr : cr - start));
        if (cr == std::u16string::npos)
            break;
        start = cr + 1;
        if (start < text.size() && text[start] == u'\n')
            ++start;
    }
    return lines;
}

void TRichLog::AddFromFile(const std::u16string& FileName, TLogVerb MsgType) {
    for (const std::u16string& line : TextToStringList(ReadTextFile(FileName)))
        AddMsgLvl(line, MsgType);
}

void TRichLog::SaveAsRtf(const std::u16string& FullPath) {
    std::string rtf;
    EDITSTREAM es{reinterpret_cast<DWORD_PTR>(&rtf), 0, StreamOut};
    SendMessageW(Handle(), EM_STREAMOUT, SF_RTF, reinterpret_cast<LPARAM>(&es));
    WriteBytes(FullPath, rtf);
}

void TRichLog::AppendToFile(const std::u16string& FullPath) {
    std::u16string text;
    for (const std::u16string& line : Lines())
        text.append(line).append(u"\r\n");
    WriteTextFile(FullPath, text, false, false);
}

bool TRichLog::LoadFromFile(const std::u16string& FullPath) {
    if (!FileExists(FullPath))
        return false;
    const std::string bytes = ReadBytes(FullPath);
    if (bytes.rfind("{\\rtf", 0) == 0) {
        StreamSource source{&bytes};
        EDITSTREAM es{reinterpret_cast<DWORD_PTR>(&source), 0, StreamIn};
        SendMessageW(Handle(), EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&es));
    } else {
        const std::u16string text = DecodeText(bytes, DecodeAnsi);
        SendMessageW(Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(W(text)));
    }
    hasParagraphs_ = true;
    return true;
}

void TRichLog::RemoveLastEmptyRows() {
    const std::u16string text = RawText();
    size_t keep = text.size();
    while (keep > 0 && (text[keep - 1] == u'\r' || text[keep - 1] == u'\n'))
        --keep;
    if (keep == text.size() && !(text.empty() && hasParagraphs_))
        return;
    CHARRANGE tail{static_cast<LONG>(keep), EndPosition()};
    SendMessageW(Handle(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&tail));
    SendMessageW(Handle(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L""));
    if (keep == 0)
        hasParagraphs_ = false;
}

void TRichLog::CopyAll() {
    SendMessageW(Handle(), EM_SETSEL, 0, -1);
    SendMessageW(Handle(), WM_COPY, 0, 0);
}

void TRichLog::Clear() {
    SendMessageW(Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    hasParagraphs_ = false;
}

} // namespace vp::ui
