#include "updater/updater_form_win.h"

#include "core/gbk.h"
#include "core/exception.h"
#include "net/net_exceptions.h"
#include "net/net_http.h"
#include "toolkit/application.h"
#include "updater/crypto_win.h"

#include "qh_config.h"
#include "update_public_key.h"

#include <windows.h>
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

// The installed program's version text, "0.0.0.0" without a record.
std::string FileVersionText(const std::wstring& path) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    std::vector<char> record(size);
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (size == 0 || !GetFileVersionInfoW(path.c_str(), 0, size, record.data()) ||
        !VerQueryValueW(record.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) ||
        length < sizeof(VS_FIXEDFILEINFO))
        return "0.0.0.0";
    return std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." +
           std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
           std::to_string(HIWORD(fixed->dwFileVersionLS)) + "." +
           std::to_string(LOWORD(fixed->dwFileVersionLS));
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
            // The version and the signature are a few lines; a host that
            // sends more is refused before it can fill the memory.
            http.MaxBodySize = 64 * 1024;
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

    bool VerifySignature(const std::string& message, const std::string& signature) override {
        return VerifyEcdsaP256(std::string_view(reinterpret_cast<const char*>(kUpdatePublicKey),
                                                sizeof kUpdatePublicKey),
                               message, signature);
    }

    std::string InstalledVersion() override {
        return FileVersionText(GbkToWide(FInstallFolder) + L"\\QingheTV.exe");
    }

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
