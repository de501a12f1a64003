#include "ui/dpi.h"

#include <map>
#include <string>
#include <tuple>

#include "platform/unique_handle.h"

namespace vp::ui {

namespace {

// What a font was made from, to make it again at another DPI.
struct FontRecipe {
    LOGFONTW description;
    int points;
};

using FontKey = std::tuple<std::wstring, int, LONG, BYTE, BYTE, BYTE, BYTE, UINT>;

struct FontCache {
    std::map<FontKey, UniqueHFont> fonts;
    std::map<HFONT, FontRecipe> recipes;
};

FontCache& Fonts() {
    static FontCache cache;
    return cache;
}

UINT StartDpi() {
    static const UINT dpi = [] {
        const UniqueWindowDC screen(nullptr);
        const int d = screen ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 96;
        return static_cast<UINT>(d > 0 ? d : 96);
    }();
    return dpi;
}

UINT& CurrentDpi() {
    static UINT dpi = StartDpi();
    return dpi;
}

} // namespace

UINT ScreenDpi() {
    return CurrentDpi();
}

void SetScreenDpi(UINT dpi) {
    CurrentDpi() = dpi > 0 ? dpi : 96;
}

int Scale(int value96) {
    return MulDiv(value96, static_cast<int>(ScreenDpi()), 96);
}

int SmallIconSize() {
    using ForDpiFn = int(WINAPI*)(int, UINT);
    static const auto forDpi = reinterpret_cast<ForDpiFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetSystemMetricsForDpi")));
    if (forDpi)
        if (const int size = forDpi(SM_CXSMICON, ScreenDpi()); size > 0)
            return size;
    return MulDiv(GetSystemMetrics(SM_CXSMICON), static_cast<int>(ScreenDpi()),
                  static_cast<int>(StartDpi()));
}

HFONT PointFont(const LOGFONTW& description, int points) {
    const UINT dpi = ScreenDpi();
    FontCache& cache = Fonts();
    const FontKey key{description.lfFaceName,  points,
                      description.lfWeight,    description.lfItalic,
                      description.lfUnderline, description.lfStrikeOut,
                      description.lfCharSet,   dpi};
    UniqueHFont& font = cache.fonts[key];
    if (!font) {
        LOGFONTW lf = description;
        lf.lfHeight = -MulDiv(points, static_cast<int>(dpi), 72);
        lf.lfWidth = 0;
        font.Reset(CreateFontIndirectW(&lf));
        if (font)
            cache.recipes[font.Get()] = {description, points};
    }
    return font.Get();
}

HFONT PointFont(const wchar_t* face, int points, bool bold) {
    LOGFONTW lf{};
    lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = CLEARTYPE_QUALITY;
    lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
    return PointFont(lf, points);
}

HFONT FontForScreenDpi(HFONT font) {
    const FontCache& cache = Fonts();
    const auto it = cache.recipes.find(font);
    if (it == cache.recipes.end())
        return font;
    const FontRecipe recipe = it->second;
    return PointFont(recipe.description, recipe.points);
}

HFONT DefaultFont() {
    return PointFont(L"Arial", 9);
}

HFONT DefaultBoldFont() {
    return PointFont(L"Arial", 9, true);
}

} // namespace vp::ui
