#pragma once
// A scratch data folder and settings file for the announcer and the updates panel, with
// message boxes captured and the clock stopped at a known moment.
#include <gtest/gtest.h>

#include <string>

#include "core/app_name.h"
#include "core/date_time.h"
#include "core/encoding.h"
#include "platform/files.h"
#include "platform/hooks.h"
#include "platform/internet.h"
#include "test_support.h"

namespace vp::test {

class NewsFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        AppName = kProgramName;
        dir = NewTempFolder(u"vp_news_");
        EnsureFolder(dir);
        hooks::Now = [this] { return now; };
        savedLimits = CurrentInetLimits();
    }
    void TearDown() override {
        CurrentInetLimits() = savedLimits;
        hooks::Now = nullptr;
        RemoveTree(dir);
    }
    std::u16string IniPath() const { return dir + u"Velmor Pasquill.ini"; }
    std::u16string LocalCopy() const { return dir + u"OnlineNews"; }
    void WriteIni(const std::u16string& text) { WriteTextFile(IniPath(), text, true, false); }
    // The value of a key in the settings file, "" when missing.
    std::u16string IniValue(const std::u16string& section, const std::u16string& key) const {
        wchar_t buffer[256];
        GetPrivateProfileStringW(W(section), W(key), L"", buffer, 256, W(IniPath()));
        return U(buffer);
    }

    CaptureEffects effects;
    std::u16string dir;
    double now = EncodeDateTime(2026, 12, 10, 11, 30, 0, 0);
    InetLimits savedLimits;
};

inline const std::string kTaggedNews =
    "!TAnnouncer\r\nfor tests\r\n9.1.0.0\r\n5\r\nHello\r\n\r\nWorld";

} // namespace vp::test
