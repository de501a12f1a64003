#include "ui/dpi.h"

#include <map>
#include <string>
#include <tuple>

namespace vp::ui {

namespace {

struct FontHolder {
    HFONT font = nullptr;
    FontHolder() = default;
    FontHolder(const FontHolder&) = delete;
    FontHolder& operator=(const FontHolder&) = delete;
    ~FontHolder() {
        if (font)
            DeleteObject(font);
    }
};

// What a font was made from, to make it again at another DPI.
struct FontRecipe {
    LOGFONTW description;
    int points;
};

using FontKey = std::tuple<std::wstring, int, LONG, BYTE, BYTE, BYTE, BYTE, UINT>;

struct FontCache {
    std::map<FontKey, FontHolder> fonts;
    std::map<HFONT, FontRecipe> recipes;
};

FontCache& Fonts() {
    static FontCache cache;
    return cache;
}

UINT StartDpi() {
    static const UINT dpi = [] {
        HDC dc = GetDC(nullptr);
        const int d = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
        if (dc)
            ReleaseDC(nullptr, dc);
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
    FontHolder& holder = cache.fonts[key];
    if (!holder.font) {
        LOGFONTW lf = description;
        lf.lfHeight = -MulDiv(points, static_cast<int>(dpi), 72);
        lf.lfWidth = 0;
        holder.font = CreateFontIndirectW(&lf);
        if (holder.font)
            cache.recipes[holder.font] = {description, points};
    }
    return holder.font;
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
