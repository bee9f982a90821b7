#include "updater/update_steps.h"

#include "core/text.h"

namespace qh {

namespace {

bool IsHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

std::string Failure(const char* what, const std::string& reason) {
    std::string text = what;
    if (!reason.empty()) text += "\r\n\r\n" + reason;
    return text + "\r\n\r\n已安装的青禾网络电视没有改变，仍可照常使用。";
}

} // namespace

std::string ParseDigestLine(std::string_view text) {
    if (text.size() < 64) return std::string();
    std::string digest;
    for (size_t i = 0; i < 64; ++i) {
        if (!IsHex(text[i])) return std::string();
        const char c = text[i];
        digest += c >= 'A' && c <= 'F' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    // The digest alone, or followed by the separator and a name.
    const std::string_view rest = text.substr(64);
    if (!rest.empty() && rest.find_first_not_of("\r\n") != std::string_view::npos &&
        rest.substr(0, 2) != "  " && rest.substr(0, 2) != " *")
        return std::string();
    return digest;
}

TUpdateOutcome RunUpdate(TUpdaterHost& host, const std::string& updateHost,
                         const std::string& tempPath) {
    const std::string base = updateHost + "/update/";
    std::string version, digestText, error;
    if (!host.FetchText(base + "Version.txt", version, error))
        return {false, Failure("无法连接更新服务器，没有取得新版本的信息。", error)};
    host.Announce(Trim(version));
    if (!host.FetchText(base + "QingheTV-setup.exe.sha256", digestText, error))
        return {false, Failure("无法取得安装程序的校验值。", error)};
    const std::string digest = ParseDigestLine(Trim(digestText));
    if (digest.empty()) return {false, Failure("更新服务器给出的校验值无法识别。", "")};

    if (!host.Download(base + "QingheTV-setup.exe", tempPath, error)) {
        host.RemoveFile(tempPath);
        return {false, Failure("下载安装程序失败。", error)};
    }
    if (host.FileDigest(tempPath) != digest) {
        host.RemoveFile(tempPath);
        return {false, Failure("下载的安装程序已损坏（校验值不符）。", "")};
    }
    int code = 0;
    const bool started = host.RunInstaller(tempPath, code);
    host.RemoveFile(tempPath);
    if (!started) return {false, Failure("无法启动安装程序。", "")};
    if (code != 0)
        return {false, Failure("安装程序没有完成安装。", "退出代码：" + std::to_string(code))};
    if (!host.StartProgram())
        return {false, std::string("新版本已经安装，但无法启动青禾网络电视，请从开始菜单启动。")};
    return {true, std::string()};
}

} // namespace qh
