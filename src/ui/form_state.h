#pragma once
// Control state persistence: a window's geometry and font and the value of every supported
// component on it go into the INI file when the window closes, and come back from it when
// the window is made again. A component's key is its name. Restoring goes through each
// control's normal setter, so the control's change or click handler runs for a stored value
// that differs from the current one.
//
//     LoadFormState(form);          // after the form and its controls are built
//     FitFormToWorkArea(form);
//     form.Show(FormShowCommand(form));
//     ...
//     SaveFormState(form);          // at shutdown; a failed write only reaches the debugger
#include <string>

#include "platform/ini_file.h"
#include "ui/component.h"

namespace vp::ui {

class TTabSheet;

// Control values and window geometry of every window share this section.
inline constexpr char16_t kStateSection[] = u"QRT/Soft";

class TVelmorIniFileEx : public TVelmorIniFile {
  public:
    explicit TVelmorIniFileEx(const std::u16string& SectionName,
                              const std::u16string& ForcedPath = {});

    // Restoring a window whose position mode is not "as designed" is an error while set.
    // Windows of this toolkit always keep the position and size they are given.
    bool ShowPositionWarn = true;

    bool IsSupported(const TComponent& WinCtrl) const;
    // One component; a window with its geometry and "FormFont".
    void Write(TComponent& Comp);
    void Read(TComponent& Comp);
    // A window and every supported component it owns, in creation order.
    void SaveForm(TForm* Form);
    void LoadForm(TForm* Form);
    // Each supported control placed directly on the container.
    void WriteGroup(TControl& WinCtrl);
    void ReadGroup(TControl& WinCtrl);

    using TVelmorIniFile::Read;
    using TVelmorIniFile::Write;

  private:
    void WriteGeometry(TControl& control);
    void ReadGeometry(TControl& control);
};

// Section: the window's name; file: IniFilePath() unless ForcedPath is given. A file that
// cannot be written is reported on the debugger output only.
void SaveFormState(TForm& Form, const std::u16string& ForcedPath = {});
void LoadFormState(TForm& Form, const std::u16string& ForcedPath = {});

// Keeps a window reachable inside a work area of the given size (its origin is not used).
void FitFormToWorkArea(TForm& Form, int Width, int Height);
// The same with the screen's work area.
void FitFormToWorkArea(TForm& Form);
void CenterInTabSheet(TControl& Control, TTabSheet& Sheet);

// The show command that gives a window the state restored while it was hidden.
int FormShowCommand(const TForm& Form);

} // namespace vp::ui
