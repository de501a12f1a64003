#include "core/categories.h"

#include "core/paths.h"

#include <algorithm>
#include <string>

namespace vp {

namespace {

// Windows maps these names to devices, whatever the extension and trailing blanks.
bool IsDeviceName(std::u16string_view fileName) {
    std::u16string_view base = fileName.substr(0, fileName.find(u'.'));
    while (!base.empty() && base.back() == u' ')
        base.remove_suffix(1);
    const std::u16string upper = UpperCaseAscii(base);
    static constexpr std::u16string_view kDevices[] = {u"CON", u"PRN",    u"AUX",
                                                       u"NUL", u"CONIN$", u"CONOUT$"};
    for (auto device : kDevices)
        if (upper == device)
            return true;
    if (upper.size() == 4 && (upper.starts_with(u"COM") || upper.starts_with(u"LPT"))) {
        const char16_t digit = upper[3];
        return (digit >= u'1' && digit <= u'9') || digit == u'\u00B9' || digit == u'\u00B2' ||
               digit == u'\u00B3';
    }
    return false;
}

bool IsPlainAscii(std::u16string_view text) {
    for (char16_t c : text)
        if (c > 0x7F)
            return false;
    return true;
}

} // namespace

const StringList& DefaultCategoryLines() {
    static const StringList lines{u"Main category", u"Category 2", u"Category 3", u"etc"};
    return lines;
}

std::u16string CategoryFileName(std::u16string_view name) {
    std::u16string fileName = MakeValidFileName(std::u16string(name) + u".txt", u'_');
    if (IsDeviceName(fileName))
        fileName.insert(0, 1, u'_');
    return fileName;
}

std::u16string FitCategoryFileName(std::u16string_view fileName, size_t folderLength) {
    if (folderLength + fileName.size() <= kMaxPathLength && fileName.size() <= kMaxFileNameLength)
        return std::u16string(fileName);
    constexpr std::u16string_view kExtension = u".txt";
    const size_t room =
        std::min(kMaxFileNameLength, kMaxPathLength - std::min(kMaxPathLength, folderLength));
    if (room <= kExtension.size() || fileName.size() < kExtension.size())
        return {};
    std::u16string_view stem = fileName.substr(0, fileName.size() - kExtension.size());
    stem = stem.substr(0, std::min(stem.size(), room - kExtension.size()));
    // Half a surrogate pair would be no character at all.
    if (!stem.empty() && stem.back() >= 0xD800 && stem.back() <= 0xDBFF)
        stem.remove_suffix(1);
    // Windows drops blanks and dots at the end of a name; with ".txt" after them they stay,
    // but a cut that ends in them would read badly on the button.
    while (!stem.empty() && (stem.back() == u' ' || stem.back() == u'.'))
        stem.remove_suffix(1);
    if (stem.empty())
        return {};
    return std::u16string(stem) + std::u16string(kExtension);
}

std::u16string CategoryCaption(std::u16string_view fileName) {
    return NameWithoutExtension(fileName).substr(0, kCategoryButtonCaptionLength);
}

std::u16string NewCategoryFileText(std::u16string_view name) {
    std::u16string text(1, u'[');
    text += name;
    text += u"]\r\n";
    return text;
}

StringList CleanCategoryLines(std::u16string_view editorText) {
    StringList lines;
    for (const auto& line : TextToStringList(editorText)) {
        const std::u16string_view trimmed = TrimControls(line);
        if (!trimmed.empty())
            lines.emplace_back(trimmed);
    }
    return lines;
}

std::u16string JoinLines(const StringList& lines) {
    std::u16string text;
    for (const auto& line : lines) {
        text += line;
        text += u"\r\n";
    }
    return text;
}

CategoriesPlan PlanApply(std::u16string_view editorText, std::u16string_view categoriesFolder) {
    CategoriesPlan plan;
    plan.lines = CleanCategoryLines(editorText);
    if (plan.lines.empty()) {
        plan.lines.emplace_back(kFallbackCategory);
        plan.addedFallback = true;
    }
    plan.editorText = JoinLines(plan.lines);
    plan.listText = plan.editorText;
    for (const auto& name : plan.lines) {
        CategoryPlan c;
        c.name = name;
        c.fileName = FitCategoryFileName(CategoryFileName(name), categoriesFolder.size());
        if (c.fileName.empty()) {
            c.fileName = CategoryFileName(name);
            c.problem = u"The categories folder's path is too long for any file name.";
        }
        c.path = std::u16string(categoriesFolder) + c.fileName;
        c.caption = CategoryCaption(c.fileName);
        c.newFileText = NewCategoryFileText(name);
        c.newFileWithBOM = !IsPlainAscii(name);
        plan.categories.push_back(std::move(c));
    }
    plan.selected = plan.categories.size() - 1;
    return plan;
}

std::u16string ShortenForMessage(std::u16string_view text, size_t maxLength) {
    std::u16string flat(text);
    for (char16_t& c : flat)
        if (c < 0x20)
            c = u' ';
    constexpr std::u16string_view kGap = u"...";
    if (flat.size() <= maxLength)
        return flat;
    if (maxLength <= kGap.size())
        return flat.substr(0, maxLength);
    const size_t keep = maxLength - kGap.size();
    size_t head = keep - keep / 3, tail = keep / 3;
    // Never split a surrogate pair at either cut.
    if (head > 0 && flat[head - 1] >= 0xD800 && flat[head - 1] <= 0xDBFF)
        --head;
    if (tail > 0 && flat[flat.size() - tail] >= 0xDC00 && flat[flat.size() - tail] <= 0xDFFF)
        --tail;
    return flat.substr(0, head) + std::u16string(kGap) + flat.substr(flat.size() - tail);
}

std::u16string CategoryProblemsText(const std::vector<CategoryProblem>& problems,
                                    std::u16string_view listReason) {
    constexpr size_t kShown = 10, kNameLength = 60, kReasonLength = 110;
    std::u16string text;
    if (!problems.empty()) {
        text = problems.size() == 1 ? u"This category got no file and no button:"
                                    : u"These categories got no file and no button:";
        for (size_t i = 0; i < problems.size() && i < kShown; ++i) {
            text += u"\r\n\r\n" + ShortenForMessage(problems[i].name, kNameLength);
            text += u"\r\n    " + ShortenForMessage(problems[i].reason, kReasonLength);
        }
        if (problems.size() > kShown) {
            text += u"\r\n\r\n... and ";
            for (char c : std::to_string(problems.size() - kShown))
                text += static_cast<char16_t>(c);
            text += u" more.";
        }
        text += u"\r\n\r\nTheir lines stay in the list: change them on the \"Categories\" tab "
                u"and press \"Apply\".";
    }
    if (!listReason.empty()) {
        if (!text.empty())
            text += u"\r\n\r\n";
        text += u"The list of categories could not be saved:\r\n    " +
                ShortenForMessage(listReason, kReasonLength);
    }
    return text;
}

} // namespace vp
