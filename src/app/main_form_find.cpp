#include "app/main_form.h"

#include <dlgs.h>

#include <algorithm>

#include "app/category_button.h"
#include "app/frm_find_all.h"
#include "app/pad_view.h"
#include "core/errors.h"
#include "core/int_text.h"
#include "platform/ini_file.h"
#include "platform/messages.h"
#include "platform/unique_handle.h"
#include "platform/wstr.h"
#include "ui/dpi.h"
#include "ui/gdi.h"
#include "ui/hints.h"
#include "ui/velmor_memo.h"

namespace vp {

using namespace ui;

namespace {
// The settings file keeps the search in a section of its own, after every older key.
constexpr char16_t kFindSection[] = u"Find";
constexpr char16_t kNotFoundStatus[] = u"Cannot find \"";
} // namespace

void TMainForm::CreateFindCommands() {
    findMessage_ = RegisterWindowMessageW(FINDMSGSTRINGW);
    auto action = [this](const char16_t* name, TAction::CreateArgs args) {
        TAction& a = CreateComponent<TAction>(name, args);
        a.SetStored(false);
        return &a;
    };
    actFind = action(u"actFind", {.caption = u"&Find...",
                                  .hint = u"Find a text in the collected text",
                                  .category = u"Pad",
                                  .shortCut = scCtrl | 'F',
                                  .onExecute = [this] { actFindExecute(); }});
    actFindNext = action(u"actFindNext", {.caption = u"Find &next",
                                          .hint = u"Find the next place of the last searched text",
                                          .category = u"Pad",
                                          .shortCut = VK_F3,
                                          .onExecute = [this] { FindInPad(false); }});
    actFindPrevious =
        action(u"actFindPrevious", {.caption = u"Find &previous",
                                    .hint = u"Find the previous place of the last searched text",
                                    .category = u"Pad",
                                    .shortCut = scShift | VK_F3,
                                    .onExecute = [this] { FindInPad(true); }});
    actFindAll = action(u"actFindAll", {.caption = u"Find in &all categories...",
                                        .hint = u"List every place of a text in every category",
                                        .category = u"Pad",
                                        .shortCut = scCtrl | scShift | 'F',
                                        .onExecute = [this] { actFindAllExecute(); }});
    auto& pad = *Find<TMenuItem>(u"mnuCollectedtext");
    for (auto [name, act] : {std::pair<const char16_t*, TAction*>{u"N4", nullptr},
                             {u"mnuFind", actFind},
                             {u"mnuFindNext", actFindNext},
                             {u"mnuFindPrevious", actFindPrevious},
                             {u"mnuFindAll", actFindAll}}) {
        TMenuItem& item =
            pad.Add(name, act ? TMenuItemArgs{.action = act} : TMenuItemArgs{.caption = u"-"});
        item.SetStored(false);
    }
}

void TMainForm::SetSearch(const std::u16string& text, bool matchCase, bool wholeWord) {
    searchText_ = text.substr(0, findWhat_.size() - 1);
    findMatchCase_ = matchCase;
    findWholeWord_ = wholeWord;
}

void TMainForm::actFindExecute() {
    if (findDialog_) {
        SetForegroundWindow(findDialog_);
        ::SetFocus(GetDlgItem(findDialog_, edt1));
        return;
    }
    // The selection, when it is one line of text, is what the user most likely looks for.
    const std::u16string selected =
        mmoClipboard->SelLength() < findWhat_.size() ? mmoClipboard->SelText() : std::u16string();
    const std::u16string start =
        !selected.empty() && selected.find_first_of(u"\r\n") == std::u16string::npos ? selected
                                                                                     : searchText_;
    findWhat_.fill(0);
    std::copy_n(start.begin(), std::min(start.size(), findWhat_.size() - 1), findWhat_.begin());
    findReplace_ = {};
    findReplace_.lStructSize = sizeof(findReplace_);
    findReplace_.hwndOwner = Handle();
    findReplace_.lpstrFindWhat = findWhat_.data();
    findReplace_.wFindWhatLen = static_cast<WORD>(findWhat_.size());
    findReplace_.Flags =
        FR_DOWN | (findMatchCase_ ? FR_MATCHCASE : 0) | (findWholeWord_ ? FR_WHOLEWORD : 0);
    findDialog_ = FindTextW(&findReplace_);
    if (!findDialog_)
        throw Error(u"Cannot open the Find dialog (error " +
                    IntToText(static_cast<int64_t>(CommDlgExtendedError())) + u").");
    KeepFindDialogOffSelection();
    ShowWindow(findDialog_, SW_SHOW);
}

void TMainForm::OnFindMessage(const FINDREPLACEW& fr) {
    if (fr.Flags & FR_DIALOGTERM) {
        findDialog_ = nullptr;
        return;
    }
    if (!(fr.Flags & FR_FINDNEXT))
        return;
    SetSearch(U(fr.lpstrFindWhat), (fr.Flags & FR_MATCHCASE) != 0, (fr.Flags & FR_WHOLEWORD) != 0);
    FindInPad((fr.Flags & FR_DOWN) == 0);
}

bool TMainForm::FindInPad(bool backward) {
    if (searchText_.empty()) {
        actFindExecute();
        return false;
    }
    DWORD selStart = 0, selEnd = 0;
    SendMessageW(mmoClipboard->Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&selStart),
                 reinterpret_cast<LPARAM>(&selEnd));
    const SearchOptions options{
        .matchCase = findMatchCase_, .wholeWord = findWholeWord_, .backward = backward};
    std::optional<TextMatch> match;
    bool wrapped = false;
    {
        // Searched where the control keeps it: a pad of many megabytes is not copied.
        PadView pad(*mmoClipboard);
        const std::u16string_view text = pad.View();
        match = FindMatch(text, searchText_, backward ? selStart : selEnd, options);
        if (!match) {
            match = FindMatch(text, searchText_, backward ? text.size() : 0, options);
            wrapped = match.has_value();
        }
    }
    if (!match) {
        BeepTone(400, 110);
        SetStatus(kNotFoundStatus + searchText_ + u"\"");
        return false;
    }
    // The keys work on every tab; the match is shown where the pad is.
    if (PageControl->ActivePage() != tabMain)
        PageControl->SetActivePage(tabMain);
    mmoClipboard->SetSel(match->start, match->start + match->length);
    SendMessageW(mmoClipboard->Handle(), EM_SCROLLCARET, 0, 0);
    SetStatus(!wrapped   ? std::u16string()
              : backward ? u"Passed the beginning of the text; searched on from the end"
                         : u"Passed the end of the text; searched on from the beginning");
    KeepFindDialogOffSelection();
    return true;
}

void TMainForm::KeepFindDialogOffSelection() {
    if (!findDialog_)
        return;
    DWORD selStart = 0, selEnd = 0;
    HWND pad = mmoClipboard->Handle();
    SendMessageW(pad, EM_GETSEL, reinterpret_cast<WPARAM>(&selStart),
                 reinterpret_cast<LPARAM>(&selEnd));
    // EM_POSFROMCHAR has nothing for the position after the last character: take the last.
    const DWORD length = static_cast<DWORD>(mmoClipboard->TextLength());
    const DWORD at = selStart < length ? selStart : (length ? length - 1 : 0);
    const LRESULT pos = SendMessageW(pad, EM_POSFROMCHAR, at, 0);
    if (pos == -1)
        return;
    RECT client{};
    GetClientRect(pad, &client);
    POINT top{static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
    if (top.y < client.top || top.y > client.bottom)
        return;
    ClientToScreen(pad, &top);
    const TEXTMETRICW metrics = [&] {
        TEXTMETRICW tm{};
        const UniqueWindowDC dc(pad);
        const ui::SelectGuard font(dc.Get(),
                                   reinterpret_cast<HFONT>(SendMessageW(pad, WM_GETFONT, 0, 0)));
        GetTextMetricsW(dc.Get(), &tm);
        return tm;
    }();
    // The selected line, the full width of the pad.
    RECT padRect{};
    GetWindowRect(pad, &padRect);
    const RECT line{padRect.left, top.y, padRect.right, top.y + metrics.tmHeight};
    RECT dialog{}, overlap{};
    GetWindowRect(findDialog_, &dialog);
    if (!IntersectRect(&overlap, &dialog, &line))
        return;
    MONITORINFO mi{};
    mi.cbSize = sizeof(mi);
    GetMonitorInfoW(MonitorFromRect(&line, MONITOR_DEFAULTTONEAREST), &mi);
    const int height = dialog.bottom - dialog.top, gap = Scale(8);
    // Below the line when it fits on the screen, else above it.
    int y = line.bottom + gap;
    if (y + height > mi.rcWork.bottom)
        y = line.top - gap - height;
    y = std::max<int>(y, mi.rcWork.top);
    SetWindowPos(findDialog_, nullptr, dialog.left, y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TMainForm::actFindAllExecute() {
    if (!frmFindAll_) {
        frmFindAll_ = std::make_unique<TFrmFindAll>(Handle());
        frmFindAll_->OnSearch = [this] { FindAllCategories(); };
        frmFindAll_->OnGoTo = [this](const FindAllRow& row) { GoToFoundMatch(row); };
        // Its controls' hints go where the main window's go: tooltips, the status bar.
        if (hints_)
            hints_->AddWindow(frmFindAll_->Handle());
        RECT main{};
        GetWindowRect(Handle(), &main);
        SetWindowPos(frmFindAll_->Handle(), nullptr, main.left + Scale(40), main.top + Scale(80), 0,
                     0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    TFrmFindAll& frm = *frmFindAll_;
    if (!frm.Running()) {
        const std::u16string selected = mmoClipboard->SelLength() < findWhat_.size()
                                            ? mmoClipboard->SelText()
                                            : std::u16string();
        frm.SetSearch(!selected.empty() && selected.find_first_of(u"\r\n") == std::u16string::npos
                          ? selected
                          : searchText_,
                      findMatchCase_, findWholeWord_);
    }
    frm.Show(SW_SHOW);
    SetForegroundWindow(frm.Handle());
    frm.edtFind->SetFocus();
    SendMessageW(frm.edtFind->Handle(), EM_SETSEL, 0, -1);
    if (!frm.Needle().empty() && !frm.Running())
        FindAllCategories();
}

void TMainForm::FindAllCategories() {
    TFrmFindAll& frm = *frmFindAll_;
    const SearchOptions options = frm.Options();
    SetSearch(frm.Needle(), options.matchCase, options.wholeWord);
    std::vector<FindAllSource> sources;
    for (TControl* c : grpAuto->Controls()) {
        auto* button = dynamic_cast<TCategoryButton*>(c);
        if (!button)
            continue;
        FindAllSource source{button->Caption(), button->Hint(), std::nullopt};
        if (button->Down()) {
            // The selected category is what the pad holds now, saved or not.
            PadView pad(*mmoClipboard);
            source.found = FindMatchLines(pad.View(), frm.Needle(), options, 100000);
        }
        sources.push_back(std::move(source));
    }
    frm.Start(std::move(sources));
}

void TMainForm::GoToFoundMatch(const FindAllRow& row) {
    if (!row.error.empty())
        return;
    TCategoryButton* target = nullptr;
    for (TControl* c : grpAuto->Controls())
        if (auto* button = dynamic_cast<TCategoryButton*>(c); button && button->Hint() == row.path)
            target = button;
    if (!target) {
        SetStatus(u"The category \"" + row.category + u"\" is no longer in the list");
        return;
    }
    if (!target->Down())
        OnSelectCategory(*target);
    if (GetPressedButton() != target)
        return;
    const std::u16string needle = frmFindAll_ ? frmFindAll_->Needle() : searchText_;
    const SearchOptions options = frmFindAll_ ? frmFindAll_->Options() : SearchOptions{};
    std::optional<TextMatch> match;
    {
        PadView pad(*mmoClipboard);
        const std::u16string_view text = pad.View();
        const size_t lineStart = LineStart(text, row.match.number);
        match = FindMatch(text, needle, lineStart + row.match.column, options);
        // The pad changed since the list was made: the first match from that line on.
        if (!match || match->start != lineStart + row.match.column)
            match = FindMatch(text, needle, lineStart, options);
    }
    PageControl->SetActivePage(tabMain);
    BringToFront();
    if (!match) {
        SetStatus(kNotFoundStatus + needle + u"\"");
        return;
    }
    mmoClipboard->SetSel(match->start, match->start + match->length);
    SendMessageW(mmoClipboard->Handle(), EM_SCROLLCARET, 0, 0);
    mmoClipboard->SetFocus();
    SetStatus(u"");
}

void TMainForm::LoadFindSettings() {
    TVelmorIniFile ini(kFindSection, ForcedIniPath());
    SetSearch(ini.ReadString(kFindSection, u"SearchText", u""),
              ini.ReadBool(kFindSection, u"MatchCase", false),
              ini.ReadBool(kFindSection, u"WholeWord", false));
}

void TMainForm::SaveFindSettings() {
    TVelmorIniFile ini(kFindSection, ForcedIniPath());
    ini.BeginUpdate();
    ini.WriteBool(kFindSection, u"MatchCase", findMatchCase_);
    ini.WriteBool(kFindSection, u"WholeWord", findWholeWord_);
    ini.WriteString(kFindSection, u"SearchText", searchText_);
    try {
        ini.EndUpdate();
    } catch (const EIniFileException&) {
        // As with the window's other settings: a file that cannot be written is no news.
        OutputDebugStringW(W(u"Cannot save INI file to disk: " + ini.FileName() + u"\t"));
    }
}

} // namespace vp
