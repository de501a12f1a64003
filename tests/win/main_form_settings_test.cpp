#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <shellapi.h>
#include <shlobj.h>

#include <fstream>

#include "app/main_form.h"
#include "core/app_name.h"
#include "core/date_time.h"
#include "core/encoding.h"
#include "core/hotkey.h"
#include "core/temp_files.h"
#include "core/text.h"
#include "main_form_fixture.h"
#include "platform/clipboard.h"
#include "platform/files.h"
#include "platform/folders.h"
#include "platform/hooks.h"
#include "platform/locale.h"
#include "platform/shell.h"
#include "platform/wstr.h"
#include "test_support.h"
#include "ui/application.h"
#include "ui/dpi.h"

using namespace vp;
using namespace vp::ui;
using test::ClearClipboardNow;
using test::MainForm;
using test::ReadBytes;
using test::RemoveTree;

TEST_F(MainForm, AutoStartFollowsTheCheckBox) {
    Open();
    auto runValue = [] {
        wchar_t data[1024] = {};
        DWORD size = sizeof(data);
        const LSTATUS status =
            RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                         L"vp_win_tests", RRF_RT_REG_SZ, nullptr, data, &size);
        return status == ERROR_SUCCESS ? U(data) : u"<none>";
    };
    form->chkAutoStartUp->SetChecked(true);
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    EXPECT_EQ(runValue(), u"\"" + U(exe) + u"\"");
    form->chkAutoStartUp->SetChecked(false);
    EXPECT_EQ(runValue(), u"<none>");
}
