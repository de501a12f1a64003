#include "core/shell_errors.h"

#include <string>

namespace vp {

std::u16string ShellErrorText(std::intptr_t code) {
    switch (code) {
    case 0:
        return u"The operating system is out of memory or resources.";
    case 2:
        return u"The specified file was not found.";
    case 3:
        return u"The specified path was not found.";
    case 5:
        return u"The operating system denied access. Do you have admin rights?";
    case 8:
        return u"There was not enough memory to complete the operation.";
    case 11:
        return u"The .exe file is invalid (non-Win32 .EXE or error in .EXE image).";
    case 12:
        return u"Application was designed for a different operating system.";
    case 13:
        return u"Application was designed for MS-DOS 4.0";
    case 15:
        return u"Attempt to load a real-mode program.";
    case 16:
        return u"Attempt to load a second instance of an application with non-readonly data "
               u"segments.";
    case 19:
        return u"Attempt to load a compressed application file.";
    case 20:
        return u"Dynamic-link library (DLL) file failure.";
    case 26:
        return u"A sharing violation occurred.";
    case 27:
        return u"The file name association is incomplete or invalid.";
    case 28:
        return u"The DDE transaction could not be completed because the request timed out.";
    case 29:
        return u"The DDE transaction failed.";
    case 30:
        return u"The DDE transaction could not be completed because other DDE transactions were "
               u"being processed.";
    case 31:
        return u"There is no application associated with the given file name extension.";
    case 32:
        return u"The specified DLL was not found.";
    default:
        break;
    }
    const std::string digits = std::to_string(code);
    return u"ShellExecute error " + std::u16string(digits.begin(), digits.end());
}

} // namespace vp
