#include "updater/updater_form_win.h"

#include "core/gbk.h"
#include "core/exception.h"
#include "net/net_exceptions.h"
#include "net/net_http.h"
#include "toolkit/application.h"

#include "qh_config.h"

#include <windows.h>
#include <bcrypt.h>
#include <shellapi.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace qh {

QH_DEFINE_CLASS(TUpdaterForm, TForm)

namespace {

// From the worker: wParam the bytes so far (KB), lParam the total (KB, 0 unknown).
constexpr UINT UM_PROGRESS = WM_APP + 1;
constexpr UINT UM_VERSION = WM_APP + 2;
// lParam: a heap copy of the outcome, taken over by the window.
constexpr UINT UM_DONE = WM_APP + 3;

// Every wait on the update host gives up in bounded time.
constexpr int kWaitLimitMs = 20000;

struct TBCryptHash {
    BCRYPT_ALG_HANDLE Algorithm = nullptr;
    BCRYPT_HASH_HANDLE Hash = nullptr;
    ~TBCryptHash() {
        if (Hash) BCryptDestroyHash(Hash);
        if (Algorithm) BCryptCloseAlgorithmProvider(Algorithm, 0);
    }
};

std::string Sha256OfFile(const std::string& path) try {
    TFileStream file(path, TFileMode::fmOpenRead);
    TBCryptHash h;
    if (BCryptOpenAlgorithmProvider(&h.Algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0) != 0 ||
        BCryptCreateHash(h.Algorithm, &h.Hash, nullptr, 0, nullptr, 0, 0) != 0)
        return std::string();
    std::vector<char> buffer(1 << 16);
    for (;;) {
        const int64_t got = file.Read(buffer.data(), static_cast<int64_t>(buffer.size()));
        if (got <= 0) break;
        if (BCryptHashData(h.Hash, reinterpret_cast<PUCHAR>(buffer.data()),
                           static_cast<ULONG>(got), 0) != 0)
            return std::string();
    }
    UCHAR digest[32];
    if (BCryptFinishHash(h.Hash, digest, sizeof digest, 0) != 0) return std::string();
    std::string hex;
    char part[3];
    for (UCHAR b : digest) {
        std::snprintf(part, sizeof part, "%02x", b);
        hex += part;
    }
    return hex;
} catch (const Exception&) {
    return std::string(); // cannot be read
}

// The failure's reason as the client words it.
std::string ReasonOf(std::exception_ptr failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const ENetProtocolReplyError& e) {
        return "服务器回答：" + e.Message;
    } catch (const Exception& e) {
        return e.Message;
    } catch (...) {
        return std::string();
    }
}

class TWinUpdaterHost : public TUpdaterHost {
public:
    TWinUpdaterHost(HWND window, std::string installFolder)
        : FWindow(window), FInstallFolder(std::move(installFolder)) {}

    bool FetchText(const std::string& address, std::string& body, std::string& error) override {
        try {
            TNetHTTP http;
            http.SetTimeLimit(kWaitLimitMs);
            body = http.GetText(address);
            return true;
        } catch (...) {
            error = ReasonOf(std::current_exception());
            return false;
        }
    }

    bool Download(const std::string& address, const std::string& path,
                  std::string& error) override {
        try {
            TFileStream file(path, TFileMode::fmCreate);
            TNetHTTP http;
            // Each wait is bounded; a large download may take longer in all.
            http.ReadTimeout = kWaitLimitMs;
            http.ConnectTimeout = kWaitLimitMs;
            http.RecvBufferSize = 1 << 16;
            http.OnWork = [&](TNetComponent&, TWorkMode mode, int64_t position) {
                if (mode != TWorkMode::wmRead) return;
                PostMessageW(FWindow, UM_PROGRESS, static_cast<WPARAM>(position / 1024),
                             static_cast<LPARAM>(http.Reply.ContentLength / 1024));
            };
            http.GetToStream(address, file);
            return true;
        } catch (...) {
            error = ReasonOf(std::current_exception());
            return false;
        }
    }

    std::string FileDigest(const std::string& path) override { return Sha256OfFile(path); }

    bool RunInstaller(const std::string& path, int& code) override {
        std::wstring command = L"\"" + GbkToWide(path) + L"\" /S /D=" + GbkToWide(FInstallFolder);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &process))
            return false;
        WaitForSingleObject(process.hProcess, INFINITE);
        DWORD exitCode = 1;
        GetExitCodeProcess(process.hProcess, &exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        code = static_cast<int>(exitCode);
        return true;
    }

    void RemoveFile(const std::string& path) override { DeleteFileW(GbkToWide(path).c_str()); }

    bool StartProgram() override {
        const std::wstring exe = GbkToWide(FInstallFolder) + L"\\QingheTV.exe";
        return reinterpret_cast<INT_PTR>(
                   ShellExecuteW(nullptr, L"open", exe.c_str(), nullptr,
                                 GbkToWide(FInstallFolder).c_str(), SW_SHOWNORMAL)) > 32;
    }

    void Announce(const std::string& version) override {
        PostMessageW(FWindow, UM_VERSION, 0,
                     reinterpret_cast<LPARAM>(new std::string(version)));
    }

private:
    HWND FWindow;
    std::string FInstallFolder;
};

std::string TempInstallerPath() {
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    return WideToGbk(folder) + "QingheTV-setup-" + std::to_string(GetCurrentProcessId()) + ".exe";
}

} // namespace

std::string SizeText(int64_t bytes) {
    char text[32];
    if (bytes < 1024 * 1024)
        std::snprintf(text, sizeof text, "%lld KB", static_cast<long long>(bytes / 1024));
    else
        std::snprintf(text, sizeof text, "%.1f MB", static_cast<double>(bytes) / (1024 * 1024));
    return text;
}

TUpdaterForm::TUpdaterForm(TComponent* owner, std::string installFolder)
    : TForm(owner), FInstallFolder(std::move(installFolder)) {
    BeginLoading();
    SetName("UpdaterForm");
    SetCaption("青禾网络电视 更新");
    SetBorderStyle(bsDialog);
    SetBorderIcons(0);
    SetPosition(poScreenCenter);
    SetClientSize(360, 96);
    Font()->SetName("宋体");
    Font()->SetCharset(GB2312_CHARSET);
    Font()->SetHeight(-12);

    Label1 = new TLabel(this);
    Label1->SetName("Label1");
    Label1->SetParent(this);
    Label1->SetBounds(16, 14, 328, 14);
    Label1->SetCaption("正在连接更新服务器……");

    ProgressBar1 = new TProgressBar(this);
    ProgressBar1->SetName("ProgressBar1");
    ProgressBar1->SetParent(this);
    ProgressBar1->SetBounds(16, 38, 328, 18);
    ProgressBar1->SetRange(0, 1000);

    Label2 = new TLabel(this);
    Label2->SetName("Label2");
    Label2->SetParent(this);
    Label2->SetBounds(16, 66, 328, 14);
    Label2->SetCaption("");

    OnShow = [this](TObject* sender) { FormShow(sender); };
    EndLoading();
}

TUpdaterForm::~TUpdaterForm() {
    Destroying();
    // The steps end on their own, each wait bounded; the window waits for
    // them rather than pull their state away.
    if (FWorker.joinable()) FWorker.join();
}

void TUpdaterForm::FormShow(TObject*) {
    if (FWorker.joinable()) return;
    HWND window = Handle();
    std::string folder = FInstallFolder;
    FWorker = std::thread([window, folder] {
        TWinUpdaterHost host(window, folder);
        auto outcome = std::make_unique<TUpdateOutcome>(
            RunUpdate(host, QH_UPDATE_HOST, TempInstallerPath()));
        if (PostMessageW(window, UM_DONE, 0, reinterpret_cast<LPARAM>(outcome.get())))
            (void)outcome.release();
    });
}

void TUpdaterForm::WndProc(TMessage& message) {
    switch (message.Msg) {
    case UM_PROGRESS: {
        const int64_t done = static_cast<int64_t>(message.WParam) * 1024;
        const int64_t total = static_cast<int64_t>(message.LParam) * 1024;
        if (total > 0) ProgressBar1->SetPosition(static_cast<int>(done * 1000 / total));
        Label2->SetCaption("已下载 " + SizeText(done) + (total > 0 ? " / " + SizeText(total) : ""));
        return;
    }
    case UM_VERSION: {
        std::unique_ptr<std::string> version(reinterpret_cast<std::string*>(message.LParam));
        Label1->SetCaption("正在下载青禾网络电视 " + *version + " ……");
        return;
    }
    case UM_DONE: {
        std::unique_ptr<TUpdateOutcome> outcome(reinterpret_cast<TUpdateOutcome*>(message.LParam));
        FSucceeded = outcome->Ok;
        if (!outcome->Ok)
            MessageBoxW(Handle(), GbkToWide(outcome->Message).c_str(),
                        GbkToWide(Caption()).c_str(), MB_OK | MB_ICONERROR);
        Close();
        return;
    }
    default:
        TForm::WndProc(message);
    }
}

} // namespace qh
