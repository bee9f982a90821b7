#include "updater/update_steps.h"

#include "core/text.h"
#include "updater/update_signature.h"

namespace qh {

namespace {

std::string Failure(const std::string& what, const std::string& reason) {
    std::string text = what;
    if (!reason.empty()) text += "\r\n\r\n" + reason;
    return text + "\r\n\r\n已安装的青禾网络电视没有改变，仍可照常使用。";
}

// Why a signature that checks out still does not let this update in; empty
// when it does.
std::string Refusal(const TUpdateStatement& statement, const std::string& published,
                    const std::string& installed) {
    if (statement.Version != published)
        return "安装程序的签名是给另一个版本的：签名的版本是 " + statement.Version +
               "，更新服务器公布的是 " + published + "。";
    const auto installedVersion = ParseVersion(installed);
    if (installedVersion && *ParseVersion(statement.Version) < *installedVersion)
        return "签名的版本 " + statement.Version + " 比已安装的版本 " + installed + " 旧。";
    return std::string();
}

} // namespace

TUpdateOutcome RunUpdate(TUpdaterHost& host, const std::string& updateHost,
                         const std::string& tempPath) {
    const std::string base = updateHost + "/update/";
    std::string versionText, signatureText, error;
    if (!host.FetchText(base + "Version.txt", versionText, error))
        return {false, Failure("无法连接更新服务器，没有取得新版本的信息。", error)};
    const std::string published = Trim(versionText);
    host.Announce(published);

    // Everything the signature decides is decided before the download.
    if (!host.FetchText(base + "QingheTV-setup.exe.sig", signatureText, error))
        return {false, Failure("无法取得安装程序的签名，不能确认它是青禾网络电视的发行者发布的。",
                               error)};
    const auto statement = ParseSignatureFile(signatureText);
    if (!statement) return {false, Failure("安装程序的签名无法识别。", "")};
    if (!host.VerifySignature(statement->Signed, statement->Signature))
        return {false, Failure("安装程序的签名不对：它不是青禾网络电视的发行者签署的。", "")};
    const std::string refusal = Refusal(*statement, published, host.InstalledVersion());
    if (!refusal.empty()) return {false, Failure(refusal, "")};

    if (!host.Download(base + "QingheTV-setup.exe", tempPath, error)) {
        host.RemoveFile(tempPath);
        return {false, Failure("下载安装程序失败。", error)};
    }
    if (host.FileDigest(tempPath) != statement->Digest) {
        host.RemoveFile(tempPath);
        return {false, Failure("下载的安装程序与签名不符：它已损坏，或者被人换过。", "")};
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
