// The memory that opening a category of 50 M units needs: the program's switch to the
// category (read, decode, show), beside a bare edit control given the same text, its floor.
// Each figure is the growth of the peak working set, each part in a process of its own.
#include <windows.h>

#include <psapi.h>

#include <cstdio>
#include <string>

#include "bench_clock.h"
#include "bench_form.h"
#include "platform/files.h"
#include "platform/wstr.h"
#include "ui/dpi.h"

using namespace vp;

namespace {

std::u16string PadText() {
    const std::u16string line = u"a caf\u00E9 line of the pad, as copied from a web page\r\n";
    std::u16string text;
    text.reserve(50u << 20);
    while (text.size() + line.size() <= (50u << 20))
        text += line;
    return text;
}

} // namespace

// Each part in a process of its own: a peak once reached stays.
int RunPart(const char* part) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring command =
        L"\"" + std::wstring(self) + L"\" " + (part[0] == 'f' ? L"floor" : L"program");
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(self, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si,
                        &pi))
        return 1;
    WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return static_cast<int>(code);
}

int Floor() {
    // The control's own buffer, from a text the caller already holds.
    const std::u16string text = PadText();
    HWND edit = CreateWindowExW(
        0, L"EDIT", L"", WS_OVERLAPPED | ES_MULTILINE | ES_AUTOHSCROLL | WS_HSCROLL | WS_VSCROLL, 0,
        0, 300, 300, nullptr, nullptr, nullptr, nullptr);
    SendMessageW(edit, EM_SETLIMITTEXT, 0, 0);
    // The pad's font: the control measures every line in it.
    SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(ui::PointFont(L"MS Sans Serif", 8)),
                 FALSE);
    const double before = PeakMB();
    const double t0 = Now();
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    const double took = Now() - t0;
    std::printf("bare edit control, text given:  peak grows by %6.1f MB, %5.0f ms\n",
                PeakMB() - before, took);
    DestroyWindow(edit);
    return 0;
}

int Program() {
    const std::u16string dir = BenchFolder(u"vp_load_memory_bench");
    const auto owner = OpenCollectingForm(dir, u"Category 2.txt");
    TMainForm& form = *owner;
    WriteTextFile(dir + u"Category 2.txt", PadText(), true, true);
    TCategoryButton* second = nullptr;
    for (ui::TControl* c : form.grpAuto->Controls())
        if (auto* b = dynamic_cast<TCategoryButton*>(c); b && b->Caption() == u"Category 2")
            second = b;
    if (!second) {
        std::printf("no button for Category 2\n");
        return 1;
    }
    // The file read, decoded and shown.
    const double before = PeakMB();
    const double t0 = Now();
    form.SelectCategory(*second);
    const double took = Now() - t0;
    std::printf("the program opens the category: peak grows by %6.1f MB, %5.0f ms\n",
                PeakMB() - before, took);
    std::printf("(pad %zu units)\n", form.mmoClipboard->TextLength());
    form.SaveBeforeExit();
    DeleteFileW(W(dir + u"Category 2.txt"));
    return 0;
}

int main(int argc, char** argv) {
    if (argc > 1)
        return argv[1][0] == 'f' ? Floor() : Program();
    std::printf("a category of %zu units (%.0f MB as UTF-16), UTF-8 on disk\n", PadText().size(),
                static_cast<double>(PadText().size() * 2) / 1048576.0);
    std::fflush(stdout);
    const int floor = RunPart("floor");
    const int program = RunPart("program");
    return floor != 0 ? floor : program;
}
