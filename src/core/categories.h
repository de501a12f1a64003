#pragma once
// Categories: one text file per line of the categories editor, each with its button.
// What Apply does is planned here; the window writes the files and builds the buttons.
#include <string>
#include <string_view>
#include <vector>

#include "core/text.h"

namespace vp {

inline constexpr std::u16string_view kCategoriesListName = u"Categories.list";
inline constexpr std::u16string_view kFallbackCategory = u"My clipboard";
// The editor's lines before any list was saved.
const StringList& DefaultCategoryLines();

// Button geometry in the group "Save to category:", at 96 DPI.
inline constexpr int kCategoryButtonLeft = 3;
inline constexpr int kCategoryButtonFirstTop = 25;
inline constexpr int kCategoryButtonHeight = 22;
inline constexpr int kCategoryButtonCaptionLength = 19;
constexpr int CategoryButtonTop(int index) {
    return kCategoryButtonFirstTop + index * kCategoryButtonHeight;
}
constexpr int CategoryButtonWidth(int groupWidth) {
    return groupWidth - 2 * kCategoryButtonLeft;
}

// The name with ".txt", forbidden characters made "_" and the ends trimmed. A name that
// Windows would take for a device (CON, NUL, COM1...) gets a leading "_", so the pad is
// never written into a device.
std::u16string CategoryFileName(std::u16string_view name);
// The longest path the file calls take, and the longest name one folder level may have.
inline constexpr size_t kMaxPathLength = 259;
inline constexpr size_t kMaxFileNameLength = 255;
// The category file name cut so that folder + name stays within both limits; its ".txt"
// stays. "" when even one character of the name does not fit.
std::u16string FitCategoryFileName(std::u16string_view fileName, size_t folderLength);
// The button's caption: the file name without its last extension, cut to 19 units.
std::u16string CategoryCaption(std::u16string_view fileName);
// What a new category file holds: "[" + name + "]" + CR LF.
std::u16string NewCategoryFileText(std::u16string_view name);
// RemoveEmptyLinesEx: lines trimmed of units up to U+0020, empty ones dropped.
StringList CleanCategoryLines(std::u16string_view editorText);
// Lines each followed by CR LF: the cleaned editor's text and "Categories.list".
std::u16string JoinLines(const StringList& lines);

struct CategoryPlan {
    std::u16string name;     // the editor's line
    std::u16string fileName; // CategoryFileName
    std::u16string path;     // CategoriesFolder + fileName; also the button's hint
    std::u16string caption;  // CategoryCaption
    std::u16string newFileText;
    bool newFileWithBOM;    // the header only survives a read-back with a mark when the
                            // name is not plain ASCII
    std::u16string problem; // why the name can have no file; empty when it can
};

struct CategoriesPlan {
    StringList lines;                     // the editor's lines once cleaned
    std::u16string editorText;            // what the editor holds once cleaned
    bool addedFallback = false;           // the editor held no name, so "My clipboard" was added
    std::vector<CategoryPlan> categories; // one button each, top to bottom
    std::u16string listText;              // the content of "Categories.list"
    size_t selected = 0;                  // the button Apply presses and selects: the last
};

// Apply's decisions for the editor's text; categoriesFolder ends in "\".
CategoriesPlan PlanApply(std::u16string_view editorText, std::u16string_view categoriesFolder);

// A name that got no file, and why.
struct CategoryProblem {
    std::u16string name, reason;
};
// The one message for the names that got no file (and for a list that could not be
// saved, when listReason is not empty): a few short lines, whatever the names hold.
std::u16string CategoryProblemsText(const std::vector<CategoryProblem>& problems,
                                    std::u16string_view listReason);
// Text cut in the middle to at most maxLength units, "..." standing for what was left
// out; line breaks and tabs become blanks.
std::u16string ShortenForMessage(std::u16string_view text, size_t maxLength);

// OnSelectCategory: with a single button a click only presses it again; otherwise the
// clicked category is selected and its file (re)loaded.
constexpr bool SelectReloadsPad(size_t controlsInGroup) {
    return controlsInGroup != 1;
}

} // namespace vp
