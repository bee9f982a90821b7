// What the updater does, step by step, and what it tells the user when a
// step fails: fetch the published version and the installer's signature,
// check the signature, download the installer, check it is the signed one,
// run it silently, start the new program. Every failure leaves the
// installed program as it was and the temporary file removed; nothing is
// run that the vendor's key has not signed.
#pragma once

#include <string>

namespace qh {

class TUpdaterHost {
public:
    virtual ~TUpdaterHost() = default;
    // The body of address, or false with a reason.
    virtual bool FetchText(const std::string& address, std::string& body, std::string& error) = 0;
    // Writes the body of address to the temporary file, reporting progress;
    // false with a reason on any failure (the file may be left partial).
    virtual bool Download(const std::string& address, const std::string& path,
                          std::string& error) = 0;
    // Lower-case hex SHA-256 of the file, or empty when it cannot be read.
    virtual std::string FileDigest(const std::string& path) = 0;
    // True when signature (r then s, 32 bytes each) is the one the vendor's
    // key makes over message (ECDSA P-256 with SHA-256).
    virtual bool VerifySignature(const std::string& message, const std::string& signature) = 0;
    // The installed program's version text ("0.0.0.0" when it has none).
    virtual std::string InstalledVersion() = 0;
    // Runs the installer silently into the program's folder and waits;
    // false when it could not be started, else its exit code in code.
    virtual bool RunInstaller(const std::string& path, int& code) = 0;
    virtual void RemoveFile(const std::string& path) = 0;
    virtual bool StartProgram() = 0;
    // What the window shows: the version being fetched.
    virtual void Announce(const std::string& version) = 0;
};

struct TUpdateOutcome {
    bool Ok = false;
    // For the one message box of a failure; the user's own language.
    std::string Message;
};

// updateHost is the root address of the update host (no trailing slash).
TUpdateOutcome RunUpdate(TUpdaterHost& host, const std::string& updateHost,
                         const std::string& tempPath);

} // namespace qh
