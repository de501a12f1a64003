#include "core/categories.h"

#include "core/paths.h"

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
        c.fileName = CategoryFileName(name);
        c.path = std::u16string(categoriesFolder) + c.fileName;
        c.caption = CategoryCaption(c.fileName);
        c.newFileText = NewCategoryFileText(name);
        c.newFileWithBOM = !IsPlainAscii(name);
        plan.categories.push_back(std::move(c));
    }
    plan.selected = plan.categories.size() - 1;
    return plan;
}

} // namespace vp
