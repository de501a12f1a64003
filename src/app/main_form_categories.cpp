#include "app/main_form.h"

#include <commctrl.h>

#include "app/pad_view.h"
#include "app/resource_ids.h"
#include "core/app_name.h"
#include "core/categories.h"
#include "core/errors.h"
#include "core/hotkey.h"
#include "core/paths.h"
#include "core/text.h"
#include "core/vendor.h"
#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/folders.h"
#include "platform/locale.h"
#include "platform/messages.h"
#include "platform/shell.h"
#include "platform/version.h"
#include "platform/wstr.h"
#include "ui/dpi.h"
#include "ui/events.h"
#include "ui/form_state.h"

namespace vp {

using namespace ui;

namespace {

std::u16string Decimal(size_t n) {
    std::u16string s;
    for (char c : std::to_string(n))
        s += static_cast<char16_t>(c);
    return s;
}

} // namespace

// ------------------------------------------------------------------ categories

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
    SavePadIfModified();
    const CategoriesPlan plan = PlanApply(mmoCategories->Text(), folder);
    const auto controls = grpAuto->Controls();
    for (auto it = controls.rbegin(); it != controls.rend(); ++it)
        Free(**it);
    {
        // Cleaning the editor is not an edit of the user's.
        MuteEvent quiet(mmoCategories->OnChange);
        mmoCategories->SetText(plan.editorText);
    }
    std::vector<TCategoryButton*> buttons;
    for (size_t i = 0; i < plan.categories.size(); ++i) {
        const CategoryPlan& c = plan.categories[i];
        if (!FileExists(c.path)) {
            WriteTextFile(c.path, c.newFileText, true, c.newFileWithBOM);
            madeThisRun_.insert(c.path);
        }
        auto& button =
            Create<TCategoryButton>(*grpAuto, u"btnCategory" + Decimal(i),
                                    {kCategoryButtonLeft, CategoryButtonTop(static_cast<int>(i)),
                                     160, kCategoryButtonHeight},
                                    {.caption = c.caption, .hint = c.path});
        TCategoryButton* self = &button;
        button.OnClick = [this, self] { OnSelectCategory(*self); };
        buttons.push_back(self);
    }
    LayoutCategoryButtons();
    // A list in the 8-bit code page would lose names outside it.
    WriteTextFile(CategoriesListPath(), plan.listText, true, true);
    if (!buttons.empty())
        SelectCategory(*buttons[plan.selected]);
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

void TMainForm::SavePadIfModified() {
    if (padModified_ && GetPressedButton())
        actSaveExecute();
}

void TMainForm::SelectCategory(TCategoryButton& button) {
    SavePadIfModified();
    button.SetDown(true);
    const std::u16string path = button.Hint();
    if (FileExists(path)) {
        mmoClipboard->SetText(ReadTextFile(path));
        padModified_ = false;
    }
    mmoClipboard->ScrollAtEnd();
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
    PadView pad(*mmoClipboard);
    WriteTextFile(path, pad.View(), true, true);
    padModified_ = false;
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
    btnApplyCateg->SetEnabled(true);
}

} // namespace vp
