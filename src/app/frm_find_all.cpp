#include "app/frm_find_all.h"

#include <commctrl.h>

#include "core/int_text.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "ui/private_messages.h"

namespace vp {

using namespace ui;

namespace {
// At most this many matches are listed: a list of millions helps no one and takes minutes.
constexpr size_t kRowLimit = 100000;
// A search still running after this long shows its progress.
constexpr UINT kProgressAfter = 300;

std::u16string Count(size_t n, const char16_t* one, const char16_t* many) {
    return IntToText(static_cast<int64_t>(n)) + u" " + (n == 1 ? one : many);
}
} // namespace

TFrmFindAll::TFrmFindAll(HWND owner)
    : TForm(u"FrmFindAll", {.className = L"TFrmFindAll",
                            .caption = u"Find in all categories",
                            .clientWidth = 640,
                            .clientHeight = 420,
                            .minWidth = 420,
                            .minHeight = 240,
                            .ownerWindow = owner}) {
    pnlTop = &Create<TPanel>(*this, u"pnlTop", {0, 0, 640, 40}, {.align = TAlign::alTop});
    lblFind = &Create<TLabel>(*pnlTop, u"lblFind", {8, 12, 40, 18},
                              {.caption = u"Fi&nd:", .hint = u"The text to look for"});
    edtFind = &Create<TEdit>(*pnlTop, u"edtFind", {50, 8, 250, 23},
                             {.hint = u"The text to look for in every category"});
    chkMatchCase = &Create<TCheckBox>(
        *pnlTop, u"chkMatchCase", {312, 10, 100, 20},
        {.caption = u"Match &case", .hint = u"Find only the text with the same capitals"});
    chkWholeWord = &Create<TCheckBox>(
        *pnlTop, u"chkWholeWord", {416, 10, 110, 20},
        {.caption = u"&Whole word", .hint = u"Find the text only as a word of its own"});
    btnFind = &Create<TButton>(*pnlTop, u"btnFind", {532, 7, 100, 26},
                               {.caption = u"Find",
                                .hint = u"List every place of the text in every category",
                                .isDefault = true,
                                .onClick = [this] {
                                    if (OnSearch)
                                        OnSearch();
                                }});
    pnlBottom =
        &Create<TPanel>(*this, u"pnlBottom", {0, 386, 640, 34}, {.align = TAlign::alBottom});
    lblProgress = &Create<TLabel>(*pnlBottom, u"lblProgress", {8, 9, 500, 18},
                                  {.hint = u"How the search goes, or what it found"});
    btnStop = &Create<TButton>(*pnlBottom, u"btnStop", {532, 4, 100, 26},
                               {.caption = u"Stop",
                                .hint = u"Stop the search; what it found so far stays listed",
                                .onClick = [this] { Stop(); }});
    btnStop->SetEnabled(false);
    lstResults = &Create<TListView>(
        *this, u"lstResults", {0, 40, 640, 346},
        {.columns = {{u"Category", 130}, {u"Line", 60}, {u"Text", 430}},
         .markedColumn = 2,
         .hint = u"Press Enter or double click to go to the place in its category",
         .align = TAlign::alClient});
    lstResults->OnActivate = [this](int row) {
        if (row >= 0 && static_cast<size_t>(row) < rows_.size() && OnGoTo)
            OnGoTo(rows_[static_cast<size_t>(row)]);
    };
    tmrProgress = &CreateComponent<TTimer>(
        u"tmrProgress",
        {.interval = kProgressAfter, .enabled = false, .onTimer = [this] { ShowProgress(); }});
    SetDefaultButton(btnFind);
}

TFrmFindAll::~TFrmFindAll() {
    stop_ = true;
    if (worker_.joinable())
        worker_.join();
}

SearchOptions TFrmFindAll::Options() const {
    return {.matchCase = chkMatchCase->Checked(), .wholeWord = chkWholeWord->Checked()};
}

void TFrmFindAll::SetSearch(const std::u16string& needle, bool matchCase, bool wholeWord) {
    edtFind->SetText(needle);
    chkMatchCase->SetChecked(matchCase);
    chkWholeWord->SetChecked(wholeWord);
}

void TFrmFindAll::Start(std::vector<FindAllSource> sources) {
    Stop();
    WaitUntilDone();
    rows_.clear();
    lstResults->Clear();
    const std::u16string needle = Needle();
    if (needle.empty()) {
        lblProgress->SetCaption(u"Type the text to find.");
        return;
    }
    filesTotal_ = sources.size();
    filesDone_ = 0;
    stop_ = false;
    stopped_ = false;
    workerDone_ = false;
    lblProgress->SetCaption(u"");
    btnStop->SetEnabled(true);
    tmrProgress->SetEnabled(true);
    worker_ =
        std::thread([this, sources = std::move(sources), needle, options = Options()]() mutable {
            Run(std::move(sources), needle, options);
        });
}

void TFrmFindAll::Run(std::vector<FindAllSource> sources, std::u16string needle,
                      SearchOptions options) {
    size_t listed = 0;
    for (FindAllSource& source : sources) {
        if (stop_)
            break;
        std::vector<FindAllRow> rows;
        try {
            std::vector<MatchLine> found;
            if (source.found)
                found = std::move(*source.found);
            else if (FileExists(source.path))
                found =
                    FindMatchLines(ReadTextFile(source.path), needle, options, kRowLimit - listed);
            for (MatchLine& m : found)
                rows.push_back({source.category, source.path, std::move(m), {}});
        } catch (...) {
            // One unreadable file does not end the search; the list says which.
            rows.push_back(
                {source.category, source.path, {}, ExceptionText(std::current_exception())});
        }
        listed += rows.size();
        {
            const std::lock_guard lock(mutex_);
            for (FindAllRow& r : rows)
                found_.push_back(std::move(r));
        }
        ++filesDone_;
        PostMessageW(Handle(), WM_FOUND, 0, 0);
        if (listed >= kRowLimit)
            break;
    }
    {
        const std::lock_guard lock(mutex_);
        workerDone_ = true;
    }
    PostMessageW(Handle(), WM_FOUND, 0, 0);
}

void TFrmFindAll::TakeFound() {
    std::vector<FindAllRow> found;
    bool done = false;
    {
        const std::lock_guard lock(mutex_);
        found.swap(found_);
        done = workerDone_;
    }
    if (!found.empty()) {
        lstResults->BeginUpdate();
        for (FindAllRow& r : found) {
            if (r.error.empty())
                lstResults->AddRow(
                    {r.category, IntToText(static_cast<int64_t>(r.match.number)), r.match.excerpt},
                    {r.match.markStart, r.match.markLength});
            else
                lstResults->AddRow({r.category, u"", u"Cannot be read: " + r.error});
            rows_.push_back(std::move(r));
        }
        lstResults->EndUpdate();
        if (lstResults->Selected() < 0)
            lstResults->SetSelected(0);
    }
    if (done && worker_.joinable()) {
        worker_.join();
        Finished();
    }
}

void TFrmFindAll::Finished() {
    tmrProgress->SetEnabled(false);
    btnStop->SetEnabled(false);
    size_t matches = 0, unreadable = 0;
    std::u16string last;
    size_t categories = 0;
    for (const FindAllRow& r : rows_) {
        if (!r.error.empty()) {
            ++unreadable;
            continue;
        }
        ++matches;
        if (r.path != last)
            ++categories;
        last = r.path;
    }
    std::u16string text = Count(matches, u"match", u"matches") + u" in " +
                          Count(categories, u"category", u"categories");
    if (matches >= kRowLimit)
        text += u" (only the first " + IntToText(static_cast<int64_t>(kRowLimit)) + u" are listed)";
    if (unreadable)
        text += u"; " + Count(unreadable, u"file", u"files") + u" could not be read";
    if (stopped_)
        text += u"; stopped after " + IntToText(static_cast<int64_t>(filesDone_.load())) + u" of " +
                IntToText(static_cast<int64_t>(filesTotal_)) + u" categories";
    lblProgress->SetCaption(text + u".");
}

void TFrmFindAll::ShowProgress() {
    if (!Running())
        return;
    lblProgress->SetCaption(u"Searching... " + IntToText(static_cast<int64_t>(filesDone_.load())) +
                            u" of " + IntToText(static_cast<int64_t>(filesTotal_)) +
                            u" categories, " + Count(rows_.size(), u"match", u"matches"));
}

void TFrmFindAll::Stop() {
    if (Running()) {
        stop_ = true;
        stopped_ = true;
    }
}

void TFrmFindAll::WaitUntilDone() {
    if (!worker_.joinable())
        return;
    worker_.join();
    TakeFound();
    Finished();
}

LRESULT TFrmFindAll::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_FOUND:
        TakeFound();
        return 0;
    case WM_COMMAND:
        // Esc, through the dialog keys: the window goes away, its list with it.
        if (LOWORD(wParam) == IDCANCEL && lParam == 0) {
            ShowWindow(Handle(), SW_HIDE);
            return 0;
        }
        break;
    case WM_CLOSE:
        Stop();
        ShowWindow(Handle(), SW_HIDE);
        return 0;
    }
    return TForm::HandleMessage(msg, wParam, lParam);
}

} // namespace vp
