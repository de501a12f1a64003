#include "app/main_form.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "app/category_button.h"
#include "app/pad_view.h"
#include "core/app_name.h"
#include "core/categories.h"
#include "core/date_time.h"
#include "core/errors.h"
#include "core/int_text.h"
#include "core/paths.h"
#include "core/scope_exit.h"
#include "platform/clock.h"
#include "platform/file_dialogs.h"
#include "platform/files.h"
#include "platform/folders.h"
#include "platform/messages.h"
#include "ui/dpi.h"
#include "ui/events.h"
#include "ui/velmor_memo.h"

namespace vp {

using namespace ui;

namespace {

std::u16string TwoDigits(int n) {
    return std::u16string{static_cast<char16_t>(u'0' + n / 10 % 10),
                          static_cast<char16_t>(u'0' + n % 10)};
}

// "2019-03-05 10.20.00": sorts by time, and holds no character a file name cannot.
std::u16string RecoveryStamp(double now) {
    const CivilDate date = DecodeDate(now);
    double fraction = now - std::floor(now);
    long seconds = std::lround(fraction * 86400.0);
    seconds = std::min(seconds, 86399L);
    return IntToText(date.year) + u"-" + TwoDigits(date.month) + u"-" + TwoDigits(date.day) + u" " +
           TwoDigits(static_cast<int>(seconds / 3600)) + u"." +
           TwoDigits(static_cast<int>(seconds / 60 % 60)) + u"." +
           TwoDigits(static_cast<int>(seconds % 60));
}

} // namespace

// ------------------------------------------------------------------ categories

void TMainForm::CreateCategoriesTab() {
    // "Categories".
    lblCategories = &Create<TLabel>(
        *tabCategories, u"lblCategories", {8, 8, 600, 34},
        {.caption = u"To create/delete a category, enter/delete its name in the box "
                    u"bellow.\r\nThe following characters are not accepted: * ? % \\ / \"",
         .wordWrap = true});
    mmoCategories = &Create<TVelmorMemo>(*tabCategories, u"mmoCategories", {8, 48, 320, 420},
                                         {.text = JoinLines(DefaultCategoryLines()),
                                          .hint = u"Enter your categories here - one per row",
                                          .wordWrap = false,
                                          .vScroll = true});
    mmoCategories->OnChange = [this] { mmoCategoriesChange(); };
    btnApplyCateg =
        &Create<TButton>(*tabCategories, u"btnApplyCateg", {8, 476, 90, 27},
                         {.caption = u"Apply", .onClick = [this] { btnApplyCategClick(); }});
    btnApplyCateg->SetEnabled(false);
}

std::u16string TMainForm::CategoriesFolder() const {
    if (!options_.categoriesFolder.empty())
        return options_.categoriesFolder;
    return DocumentsFolder() + AppName + u"\\";
}

std::u16string TMainForm::CategoriesListPath() const {
    return CategoriesFolder() + std::u16string(kCategoriesListName);
}

void TMainForm::btnApplyCategClick() {
    btnApplyCateg->SetEnabled(false);
    const std::u16string folder = CategoriesFolder();
    if (!EnsureFolderMsg(folder))
        return;
    // The buttons are about to go; edits in the pad go to the category they belong to.
    if (!SavePadIfModified()) {
        btnApplyCateg->SetEnabled(true);
        return;
    }
    const CategoriesPlan plan = PlanApply(mmoCategories->Text(), folder);
    const auto controls = grpAuto->Controls();
    for (auto it = controls.rbegin(); it != controls.rend(); ++it)
        Free(**it);
    {
        // Cleaning the editor is not an edit of the user's.
        MuteEvent quiet(mmoCategories->OnChange);
        mmoCategories->SetText(plan.editorText);
    }
    // One name that cannot become a file costs only its own button.
    std::vector<CategoryProblem> problems;
    std::vector<TCategoryButton*> buttons;
    for (const CategoryPlan& c : plan.categories) {
        if (!c.problem.empty()) {
            problems.push_back({c.name, c.problem});
            continue;
        }
        if (!FileExists(c.path)) {
            try {
                knownVersions_[c.path] =
                    WriteTextFile(c.path, c.newFileText, true, c.newFileWithBOM);
            } catch (...) {
                problems.push_back({c.name, ExceptionText(std::current_exception())});
                continue;
            }
            madeThisRun_.insert(c.path);
        }
        const int index = static_cast<int>(buttons.size());
        auto& button = Create<TCategoryButton>(
            *grpAuto, u"btnCategory" + IntToText(static_cast<int64_t>(buttons.size())),
            {kCategoryButtonLeft, CategoryButtonTop(index), 160, kCategoryButtonHeight},
            {.caption = c.caption, .hint = c.path});
        TCategoryButton* self = &button;
        button.OnClick = [this, self] { OnSelectCategory(*self); };
        buttons.push_back(self);
    }
    LayoutCategoryButtons();
    std::u16string listFailure, listRecovery;
    try {
        const std::u16string listPath = CategoriesListPath();
        // Apply writes the user's list; another program's version of it is kept aside.
        if (ChangedOnDisk(listPath)) {
            listRecovery = WriteRecoveryFile(u"Categories", ReadTextFile(listPath));
            if (listRecovery.empty())
                throw Error(u"Another program changed \"" + listPath +
                            u"\", and its version could not be saved to a recovery file: "
                            u"the list was not written.");
        }
        // A list in the 8-bit code page would lose names outside it.
        knownVersions_[listPath] = WriteTextFile(listPath, plan.listText, true, true);
        categoriesEdited_ = false;
    } catch (...) {
        listFailure = ExceptionText(std::current_exception());
    }
    if (!problems.empty() || !listFailure.empty())
        ReportCategoryProblems(CategoryProblemsText(problems, listFailure));
    if (!listRecovery.empty())
        ShowWarning(u"Another program changed the list of categories since it was loaded. Your "
                    u"list was applied and saved; so that nothing is lost, the other "
                    u"version was saved to this file:\r\n" +
                    listRecovery);
    if (!buttons.empty())
        SelectCategory(*buttons.back());
}

void TMainForm::ReportCategoryProblems(const std::u16string& text) {
    if (holdCategoryReport_)
        heldCategoryReport_ = text;
    else
        ShowError(text);
}

void TMainForm::LayoutCategoryButtons() {
    if (!grpAuto)
        return;
    int index = 0;
    const int width = grpAuto->ClientWidth() - Scale(2 * kCategoryButtonLeft);
    for (TControl* c : grpAuto->Controls())
        if (dynamic_cast<TCategoryButton*>(c))
            c->SetBounds(Scale(kCategoryButtonLeft), Scale(CategoryButtonTop(index++)),
                         width > 0 ? width : 0, Scale(kCategoryButtonHeight));
}

void TMainForm::OnSelectCategory(TCategoryButton& button) {
    if (!SelectReloadsPad(grpAuto->Controls().size())) {
        button.SetDown(true);
        return;
    }
    SelectCategory(button);
}

bool TMainForm::SavePadIfModified() {
    if (!padModified_)
        return true;
    std::u16string failure;
    try {
        actSaveExecute();
        return true;
    } catch (...) {
        failure = ShortenForMessage(ExceptionText(std::current_exception()), 200);
    }
    const std::u16string recovery = RecoverPad();
    if (!recovery.empty()) {
        ShowWarning(u"The pad's text could not be saved to its category:\r\n" + failure +
                    u"\r\n\r\nSo that nothing is lost, it was saved to this file:\r\n" + recovery);
        // Copies collected while the message was up are in the pad only.
        return !padModified_ || SavePadIfModified();
    }
    return ShowMessageBox(u"The pad's text could not be saved, neither to its category nor to a "
                          u"recovery file:\r\n" +
                              failure +
                              u"\r\n\r\nGo on anyway and lose the unsaved text?\r\nChoose "
                              u"\"No\" to keep it in the pad, where you can still copy it.",
                          AppName + u" - Warning",
                          MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

std::u16string TMainForm::RecoverPad() {
    const TCategoryButton* button = GetPressedButton();
    const std::u16string category =
        button ? NameWithoutExtension(button->Hint()).substr(0, 40) : u"no category";
    PadView pad(*mmoClipboard);
    const std::u16string path = WriteRecoveryFile(category, pad.View());
    if (!path.empty())
        MarkPadSaved();
    return path;
}

std::u16string TMainForm::WriteRecoveryFile(const std::u16string& what, std::u16string_view text) {
    const std::u16string name = u"Recovered - " + what + u" - " + RecoveryStamp(NowDateTime());
    for (const std::u16string& folder : {CategoriesFolder(), DataFolderPath()}) {
        try {
            std::u16string path = folder + name + u".txt";
            for (size_t n = 2; FileExists(path); ++n)
                path = folder + name + u" (" + IntToText(static_cast<int64_t>(n)) + u").txt";
            WriteTextFile(path, text, true, true);
            return path;
        } catch (...) {
            // The next place, then the user's own choice.
        }
    }
    return {};
}

bool TMainForm::ChangedOnDisk(const std::u16string& path) {
    FileVersion& known = knownVersions_[path];
    switch (CompareStamp(known.stamp, QueryFileStamp(path))) {
    case StampCheck::Unchanged:
        return false;
    case StampCheck::Gone:
        known = {};
        return false;
    case StampCheck::Differs:
        break;
    }
    FileVersion read;
    ReadTextFile(path, &read);
    if (!SameBytes(known, read))
        return true;
    known = read;
    return false;
}

void TMainForm::SelectCategory(TCategoryButton& button) {
    if (!SavePadIfModified())
        return;
    const std::u16string path = button.Hint();
    // Read before the switch: a file that cannot be read leaves the selection as it was,
    // so that the pad is never saved into a category whose text it does not hold.
    const bool exists = FileExists(path);
    FileVersion version;
    const std::u16string text = exists ? ReadTextFile(path, &version) : std::u16string();
    button.SetDown(true);
    // A file missing now gets the pad's text at the next save, as a new file.
    knownVersions_[path] = version;
    if (exists) {
        mmoClipboard->SetText(text);
        MarkPadSaved();
    }
    mmoClipboard->ScrollAtEnd();
}

TMainForm::DiskSync TMainForm::SyncPadWithFile(const std::u16string& path) {
    FileVersion& known = knownVersions_[path];
    switch (CompareStamp(known.stamp, QueryFileStamp(path))) {
    case StampCheck::Unchanged:
        return {};
    case StampCheck::Gone:
        known = {};
        return {};
    case StampCheck::Differs:
        break;
    }
    FileVersion read;
    const std::u16string text = ReadTextFile(path, &read);
    if (SameBytes(known, read)) {
        known = read;
        return {};
    }
    return LoadOutsideVersion(path, text, read);
}

TMainForm::DiskSync TMainForm::LoadOutsideVersion(const std::u16string& path,
                                                  const std::u16string& text,
                                                  const FileVersion& read) {
    DiskSync sync;
    if (OnDiskChange(padEdited_) == DiskChangeAction::RecoverThenReload) {
        sync.recovery = RecoverPad();
        if (sync.recovery.empty())
            throw Error(u"Another program changed the file \"" + path +
                        u"\", and the pad's unsaved text could not be saved to a recovery "
                        u"file. Neither was overwritten: the text stays in the pad.");
    }
    // Captured entries not saved yet go on top of the file's text again.
    std::vector<std::u16string> pending = std::move(pendingAppends_);
    LoadPadKeepingView(text);
    knownVersions_[path] = read;
    MarkPadSaved();
    if (!pending.empty()) {
        appending_ = true;
        const ScopeExit appended([this] { appending_ = false; });
        bool atBreak = text.empty() || text.back() == u'\n' || text.back() == u'\r';
        for (std::u16string& entry : pending) {
            // Each was made to follow the old text: make it follow the new one.
            const bool leadingBreak = entry.starts_with(u"\r\n");
            if (atBreak && leadingBreak)
                entry.erase(0, 2);
            else if (!atBreak && !leadingBreak)
                entry.insert(0, u"\r\n");
            const size_t end = mmoClipboard->TextLength();
            mmoClipboard->SetSel(end, end);
            mmoClipboard->ReplaceSel(entry, false);
            if (!entry.empty())
                atBreak = entry.back() == u'\n';
        }
        pendingAppends_ = std::move(pending);
        padModified_ = true;
    }
    sync.reloaded = true;
    reloadNote_ = u"\"" + path.substr(path.rfind(u'\\') + 1) +
                  u"\" was reloaded because another program changed it";
    SetStatus(reloadNote_);
    return sync;
}

void TMainForm::ShowFileAsOnDisk() {
    if (INISaved)
        return;
    // The editor shows the list as it is on disk while it holds no edit of the user's; the
    // buttons follow once the user applies it.
    try {
        const std::u16string listPath = CategoriesListPath();
        if (!categoriesEdited_ && ChangedOnDisk(listPath)) {
            FileVersion read;
            const std::u16string text = ReadTextFile(listPath, &read);
            {
                MuteEvent quiet(mmoCategories->OnChange);
                mmoCategories->SetText(text);
            }
            knownVersions_[listPath] = read;
            btnApplyCateg->SetEnabled(true);
        }
    } catch (...) {
    }
    // A capture in progress looks for itself.
    if (padModified_ || padView_ || !grpAuto)
        return;
    const TCategoryButton* button = GetPressedButton();
    if (!button)
        return;
    try {
        SyncPadWithFile(button->Hint());
    } catch (...) {
    }
    reloadNote_.clear();
}

void TMainForm::MarkPadSaved() {
    padModified_ = false;
    padEdited_ = false;
    pendingAppends_.clear();
}

void TMainForm::LoadPadKeepingView(const std::u16string& text) {
    const size_t start = mmoClipboard->SelStart();
    const size_t end = start + mmoClipboard->SelLength();
    const LRESULT top = SendMessageW(mmoClipboard->Handle(), EM_GETFIRSTVISIBLELINE, 0, 0);
    mmoClipboard->SetText(text);
    const size_t length = mmoClipboard->TextLength();
    mmoClipboard->SetSel(std::min(start, length), std::min(end, length));
    SendMessageW(mmoClipboard->Handle(), EM_LINESCROLL, 0, top);
}

void TMainForm::ShowRecoveryNotice(const std::u16string& path, const std::u16string& recovery) {
    ShowWarning(u"Another program changed the file \"" + path +
                u"\" while the pad held unsaved edits.\r\n\r\nThe file keeps what the other "
                u"program wrote, and the pad now shows it. So that nothing is lost, the pad's "
                u"own text was saved to this file:\r\n" +
                recovery);
}

TCategoryButton* TMainForm::GetPressedButton() const {
    const auto& controls = grpAuto->Controls();
    for (auto it = controls.rbegin(); it != controls.rend(); ++it)
        if (auto* b = dynamic_cast<TCategoryButton*>(*it); b && b->Down())
            return b;
    return nullptr;
}

std::u16string TMainForm::CurrentCategoryFile() const {
    const TCategoryButton* button = GetPressedButton();
    Assert(button != nullptr, u"FormMain", u"No category selected!");
    return button->Hint();
}

void TMainForm::actSaveExecute() {
    const std::u16string path = CurrentCategoryFile();
    std::vector<std::u16string> recoveries;
    for (int attempt = 0;; ++attempt) {
        const DiskSync sync = SyncPadWithFile(path);
        if (!sync.recovery.empty())
            recoveries.push_back(sync.recovery);
        std::optional<FileVersion> written;
        std::optional<MissedVersion> missed;
        {
            PadView pad(*mmoClipboard);
            written =
                ReplaceTextFileIf(path, pad.View(), true, knownVersions_[path].stamp, &missed);
        }
        if (written && missed) {
            // Another program wrote to the old version in the moment before the move: the
            // pad takes that version under its own entries, and the file gets both.
            const DiskSync again = LoadOutsideVersion(path, missed->text, missed->version);
            if (!again.recovery.empty())
                recoveries.push_back(again.recovery);
            knownVersions_[path] = *written;
        } else if (written) {
            knownVersions_[path] = *written;
            break;
        }
        // Changed again while the new version was being written: look once more.
        if (attempt == 4)
            throw Error(u"The file \"" + path +
                        u"\" kept changing while it was being saved. The pad's text was not "
                        u"written to it; it stays in the pad.");
    }
    MarkPadSaved();
    // Outside a capture the status already said it; a capture says it after its count.
    if (!padView_)
        reloadNote_.clear();
    for (const std::u16string& recovery : recoveries)
        ShowRecoveryNotice(path, recovery);
}

void TMainForm::actSaveAsExecute() {
    const std::u16string name =
        PromptSaveFile(CurrentCategoryFile(), u"TXT file|*.TXT", u"txt", u"Save as...");
    if (name.empty()) {
        SetStatus(u"File not saved!");
        return;
    }
    PadView pad(*mmoClipboard);
    WriteTextFile(name, pad.View(), true, true);
    SetStatus(u"File saved as: " + name);
}

void TMainForm::grpAutoClick() {
    PageControl->SetActivePage(tabCategories);
}

void TMainForm::mmoCategoriesChange() {
    categoriesEdited_ = true;
    btnApplyCateg->SetEnabled(true);
}

} // namespace vp
