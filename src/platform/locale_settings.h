#pragma once
// Locale settings that the program reads once and keeps for the whole run.

namespace vp {

// The user's decimal separator, read from the user default locale on first use.
char16_t LocaleDecimalSeparator();
// Replaces the separator for the rest of the run (tests, and a locale change the program
// chooses to follow).
void SetLocaleDecimalSeparator(char16_t separator);

} // namespace vp
