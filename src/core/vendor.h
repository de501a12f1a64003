#pragma once
// Every address of the vendor's web site that the program knows, in one place.

namespace vp::vendor {

// Shown in the welcome text and at first in the status bar.
inline constexpr char16_t kWebAddress[] = u"https://www.velmorpasquill.com";

// Help menu.
inline constexpr char16_t kHomePage[] = u"https://www.velmorpasquill.com/pasquill/";
inline constexpr char16_t kProductListPage[] = u"https://www.velmorpasquill.com/software/";
inline constexpr char16_t kUserManualPage[] = u"https://www.velmorpasquill.com/pasquill/manual/";

// First-run page and About tab links.
inline constexpr char16_t kLicenseAgreement[] =
    u"https://www.velmorpasquill.com/pasquill/license-agreement.txt";
inline constexpr char16_t kDownloadPage[] = u"https://www.velmorpasquill.com/pasquill/download/";

// The page a capture opens once in a long while.
inline constexpr char16_t kCapturePage[] = u"https://www.velmorpasquill.com/pasquill/thank-you/";

// The news file; the announcer fetches it with a plain request, hence http.
inline constexpr char16_t kNewsFile[] =
    u"http://www.velmorpasquill.com/downloads/pasquill/updater.bin";

} // namespace vp::vendor
