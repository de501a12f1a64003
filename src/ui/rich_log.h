#pragma once
// A read-mostly rich text log: messages line by line, each in the colour of its level,
// and messages less important than the verbosity dropped. Lines can carry the date, the
// time and an indent; the view follows the newest line.
//
//     log.SetVerbosity(lvVerbose);
//     log.AddInfo(u"first line\r\nsecond line");
#include <cstdint>
#include <functional>
#include <string>

#include "core/text.h"
#include "ui/component.h"

namespace vp::ui {

enum TLogVerb { lvVerbose, lvHints, lvInfos, lvImportant, lvWarnings, lvErrors };

// "Verbose" ... "Errors"; "Invalid verbosity" for any other value.
std::u16string VerbosityName(int level);
// The colour of each level's messages.
COLORREF VerbosityColor(TLogVerb level);

class TRichLog : public TControl {
  public:
    struct CreateArgs {
        TAlign align = TAlign::alNone;
        std::u16string hint;
        TLogVerb verbosity = lvInfos;
        bool tabStop = true;
        bool readOnly = false;
        // The text's font; empty: the controls' usual one.
        std::u16string fontName;
        int fontHeight = 12; // pixels at 96 DPI
    };
    TRichLog(const Placement& place, const CreateArgs& args);
    std::u16string ClassName() const override { return u"TRichLog"; }

    TLogVerb Verbosity() const { return FVerbosity; }
    void SetVerbosity(TLogVerb level) { FVerbosity = level; }
    bool AutoScroll() const { return FAutoScroll; }
    void SetAutoScroll(bool on) { FAutoScroll = on; }
    bool InsertDate() const { return FInsertDate; }
    void SetInsertDate(bool on) { FInsertDate = on; }
    bool InsertTime() const { return FInsertTime; }
    void SetInsertTime(bool on) { FInsertTime = on; }
    // Raised by every AddError and AddWarn, shown or not.
    std::function<void()> OnError, OnWarn;
    // Blanks before every line.
    int32_t Indent = 0;

    void AddVerb(const std::u16string& Mesaj);
    void AddHint(const std::u16string& Mesaj);
    void AddInfo(const std::u16string& Mesaj);
    void AddImpo(const std::u16string& Mesaj);
    void AddWarn(const std::u16string& Mesaj);
    void AddError(const std::u16string& Mesaj);
    void AddMsgLvl(const std::u16string& Mesaj, TLogVerb MsgType);
    // Whatever the verbosity.
    void AddMsg(const std::u16string& Mesaj);
    void AddColorMsg(const std::u16string& Mesaj, COLORREF Culoare);
    void AddBold(const std::u16string& Mesaj);
    void AddInteger(int64_t value);
    void AddMsgInt(const std::u16string& Mesaj, int64_t value);
    // A line of one blank (plus the indent), without date or time.
    void AddEmptyRow();
    // The date alone.
    void AddDateStamp();

    // Every line of a text file at the given level; empty lines are dropped.
    void AddFromFile(const std::u16string& FileName, TLogVerb MsgType);
    // The whole content, with its colours, as rich text, replacing the file.
    void SaveAsRtf(const std::u16string& FullPath);
    // The content as plain UTF-8 text, every paragraph followed by CR LF.
    void AppendToFile(const std::u16string& FullPath);
    // Rich text, or plain text for any other file; false (nothing changed) when missing.
    bool LoadFromFile(const std::u16string& FullPath);

    std::u16string VerbosityAsString() const { return VerbosityName(FVerbosity); }
    // 1 for lvVerbose to 6 for lvErrors.
    int VerbosityAsInt() const { return static_cast<int>(FVerbosity) + 1; }
    void SetVerbosityAsInt(int value) { FVerbosity = static_cast<TLogVerb>(value - 1); }

    // Deletes the empty paragraphs at the end; a blank is not empty.
    void RemoveLastEmptyRows();
    void CopyAll();
    void Clear();

    // The paragraphs' texts.
    StringList Lines() const;

  private:
    void AddLines(const std::u16string& Mesaj, COLORREF color, bool bold);
    void AddLine(const std::u16string& text);
    void ScrollToEnd();
    std::u16string LinePrefix() const;
    std::u16string RawText() const;
    LONG EndPosition() const;

    TLogVerb FVerbosity = lvInfos;
    bool FAutoScroll = true;
    bool FInsertDate = false;
    bool FInsertTime = false;
    // An empty control holds no line until one is added, even an empty one.
    bool hasParagraphs_ = false;
};

} // namespace vp::ui
