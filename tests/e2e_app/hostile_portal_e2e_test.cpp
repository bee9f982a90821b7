// The real program against a portal that misbehaves: a schedule answered by
// a body without end leaves the program's memory and window alone, and a
// schedule that names local files and scripts pops up its web page only.
#include "portal_e2e.h"

#include <windows.h>
#include <psapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

namespace {

using namespace e2e_app;
using namespace qh::test;

constexpr DWORD kPatience = 60000;

// The whole of a small file, read to its end (procfs files tell no size).
std::string ReadWhole(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::string();
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

std::string Narrow(const std::wstring& text) {
    std::string narrow;
    for (wchar_t c : text)
        narrow += static_cast<char>(c);
    return narrow;
}

// Resident memory in KiB as the host sees it: VmRSS of the host process
// whose command line names the executable (Wine shows its Windows path
// there). Where there is no such host, the working set the system reports.
class ResidentMemory {
public:
    ResidentMemory(HANDLE process, const std::wstring& exe) : FProcess(process) {
        WIN32_FIND_DATAW found{};
        HANDLE search = FindFirstFileW(L"Z:\\proc\\*", &found);
        if (search == INVALID_HANDLE_VALUE) return;
        const std::string name = Narrow(exe);
        do {
            const std::wstring entry = found.cFileName;
            if (entry.find_first_not_of(L"0123456789") != std::wstring::npos) continue;
            if (ReadWhole(L"Z:\\proc\\" + entry + L"\\cmdline").find(name) != std::string::npos) {
                FStatus = L"Z:\\proc\\" + entry + L"\\status";
                break;
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    bool FromHost() const { return !FStatus.empty(); }
    long Kb() const {
        if (FromHost()) {
            const std::string status = ReadWhole(FStatus);
            const size_t at = status.find("VmRSS:");
            return at == std::string::npos ? -1 : std::stol(status.substr(at + 6));
        }
        PROCESS_MEMORY_COUNTERS counters{};
        if (!K32GetProcessMemoryInfo(FProcess, &counters, sizeof counters)) return -1;
        return static_cast<long>(counters.WorkingSetSize / 1024);
    }

private:
    HANDLE FProcess;
    std::wstring FStatus;
};

// The portal's standard answers; a case makes the schedule hostile.
class HostilePortalE2e : public PortalE2e {
protected:
    size_t Popups() const { return ShownPopups(*FProgram).size(); }
};

TEST_F(HostilePortalE2e, AnEndlessScheduleBodyLeavesMemoryAndWindowAloneAndTheNextScheduleShows) {
    Answer endless;
    endless.Endless = true;
    FServer->Set("/ad/Config.txt", endless);
    StartProgram();
    HANDLE process =
        OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, FProgram->Id());
    ASSERT_NE(process, nullptr);
    const ResidentMemory memory(process, ProgramExe());
    const long before = memory.Kb();
    ASSERT_GT(before, 0);
    ASSERT_TRUE(PumpUntil([&] { return FServer->CountOf("/ad/Config.txt") > 0; }, kPatience));

    // 25 seconds of zeros as fast as the program reads, pinged every 500 ms.
    long peak = before;
    DWORD slowest = 0;
    int unanswered = 0;
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 25000) {
        const DWORD asked = GetTickCount();
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutW(FMain, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 500, &result))
            ++unanswered;
        slowest = std::max(slowest, GetTickCount() - asked);
        peak = std::max(peak, memory.Kb());
        PumpFor(500);
    }
    const int requests = FServer->CountOf("/ad/Config.txt");
    std::printf("resident memory (%s): %ld KiB before, %ld KiB at the peak, %+ld KiB; "
                "slowest ping %lu ms, %d unanswered; %d schedule requests\n",
                memory.FromHost() ? "VmRSS" : "working set", before, peak, peak - before, slowest,
                unanswered, requests);
    EXPECT_LT(peak - before, 64 * 1024) << "KiB";
    EXPECT_EQ(unanswered, 0);

    FServer->Set("/ad/Config.txt", Answer{200, ScheduleLine(ServerAddress("/ad/p1.htm")), 0});
    EXPECT_TRUE(PumpUntil([&] { return Popups() == 1; }, kPatience)) << "the schedule's popup";
    CloseHandle(process);
}

TEST_F(HostilePortalE2e, OnlyTheScheduleLineThatNamesAWebPagePopsUp) {
    FServer->Set("/ad/Config.txt", Answer{200,
                                          ScheduleLine("file:///C:/windows/win.ini") +
                                              ScheduleLine("javascript:alert(document.cookie)") +
                                              ScheduleLine("res://shell32.dll/1") +
                                              ScheduleLine(ServerAddress("/ad/p1.htm")),
                                          0});
    StartProgram();
    ASSERT_TRUE(PumpUntil([&] { return Popups() > 0; }, kPatience));
    // Every page taken: later ticks fetch the schedule again. Two fetches
    // more are two ticks in which any other line would have shown.
    ASSERT_TRUE(PumpUntil([&] { return FServer->CountOf("/ad/Config.txt") >= 3; }, kPatience));
    EXPECT_EQ(Popups(), 1u);
    EXPECT_GE(FServer->CountOf("/ad/p1.htm"), 1);
}

} // namespace
