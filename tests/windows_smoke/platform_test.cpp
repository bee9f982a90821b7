// The Windows test bed itself: real windows with Chinese captions through
// the wide calls, Winsock on loopback, and the version record of the
// program that the build produced.
#include "core/gbk.h"

#include <winsock2.h>
#include <windows.h>

#include "tests/support/windows_walk.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "qh_config.h"

namespace {

struct WindowDeleter {
    void operator()(HWND window) const { DestroyWindow(window); }
};
using WindowHandle = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDeleter>;

struct SocketHolder {
    SOCKET s = INVALID_SOCKET;
    ~SocketHolder() {
        if (s != INVALID_SOCKET) closesocket(s);
    }
};

} // namespace

TEST(Platform, TopLevelWindowKeepsChineseCaptionAndClass) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"TQhSmokeWindow";
    ASSERT_NE(RegisterClassExW(&windowClass), 0);

    // The caption starts as a GBK byte string, as every text of the program does.
    std::wstring caption = qh::GbkToWide("青禾网络电视 V2.0");
    WindowHandle window(CreateWindowExW(0, L"TQhSmokeWindow", caption.c_str(), WS_OVERLAPPEDWINDOW,
                                        10, 10, 300, 200, nullptr, nullptr,
                                        GetModuleHandleW(nullptr), nullptr));
    ASSERT_TRUE(window);

    wchar_t className[64] = {};
    GetClassNameW(window.get(), className, 64);
    EXPECT_STREQ(className, L"TQhSmokeWindow");
    wchar_t text[64] = {};
    int length = GetWindowTextW(window.get(), text, 64);
    EXPECT_EQ(length, 11);
    EXPECT_STREQ(text, L"青禾网络电视 V2.0");
    EXPECT_EQ(FindWindowW(L"TQhSmokeWindow", L"青禾网络电视 V2.0"), window.get());
    UnregisterClassW(L"TQhSmokeWindow", GetModuleHandleW(nullptr));
}

TEST(Platform, CodePage936ConversionMatchesTheSystem) {
    EXPECT_EQ(qh::GbkToWide("\xC7\xE0\xBA\xCC"), L"青禾");
    EXPECT_EQ(qh::WideToGbk(L"提示"), "提示");
}

TEST(Platform, WinsockConnectsToOwnLoopbackListener) {
    WSADATA data;
    ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
    {
        SocketHolder listener, client, accepted;
        listener.s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        ASSERT_NE(listener.s, INVALID_SOCKET);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = 0;
        ASSERT_EQ(bind(listener.s, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
        ASSERT_EQ(listen(listener.s, 1), 0);
        int size = sizeof(address);
        ASSERT_EQ(getsockname(listener.s, reinterpret_cast<sockaddr*>(&address), &size), 0);
        ASSERT_NE(address.sin_port, 0);

        client.s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        ASSERT_EQ(connect(client.s, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
        accepted.s = accept(listener.s, nullptr, nullptr);
        ASSERT_NE(accepted.s, INVALID_SOCKET);
        ASSERT_EQ(send(client.s, "GET / HTTP/1.1\r\n", 16, 0), 16);
        char buffer[32] = {};
        int received = 0;
        while (received < 16) {
            int n = recv(accepted.s, buffer + received, sizeof(buffer) - 1 - received, 0);
            ASSERT_GT(n, 0);
            received += n;
        }
        EXPECT_STREQ(buffer, "GET / HTTP/1.1\r\n");
    }
    WSACleanup();
}

TEST(Platform, ProgramCarriesTheBuildVersion) {
    std::wstring exe = qh::test::ExecutableFolder() + L"QingheTV.exe";
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &ignored);
    ASSERT_GT(size, 0u) << "no version record in QingheTV.exe";
    std::vector<char> record(size);
    ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, size, record.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    ASSERT_TRUE(VerQueryValueW(record.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedSize));
    std::string version = std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." +
                          std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
                          std::to_string(HIWORD(fixed->dwFileVersionLS)) + "." +
                          std::to_string(LOWORD(fixed->dwFileVersionLS));
    EXPECT_EQ(version, QH_VERSION_TEXT);
    EXPECT_EQ(version, "2.0.0.1");

    wchar_t* text = nullptr;
    UINT textSize = 0;
    ASSERT_TRUE(VerQueryValueW(record.data(), L"\\StringFileInfo\\080403A8\\FileVersion",
                               reinterpret_cast<void**>(&text), &textSize));
    EXPECT_STREQ(text, L"2.0.0.1");

    // The icon and the manifest went in with the version record.
    HMODULE module = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(module);
    EXPECT_TRUE(FindResourceW(module, L"MAINICON", reinterpret_cast<LPCWSTR>(RT_GROUP_ICON)));
    EXPECT_TRUE(FindResourceW(module, MAKEINTRESOURCEW(1), reinterpret_cast<LPCWSTR>(RT_MANIFEST)));
    FreeLibrary(module);
}
