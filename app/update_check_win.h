// The Windows side of the update check: the version record, the two
// fixed-title boxes and the updater start.
#pragma once

#include "app/update_check.h"

#include <windows.h>

#include <functional>
#include <string>

namespace qh {

// Copies the eleven fields of the file's fixed version block into record;
// false, with record untouched, when the file has no readable record.
bool ReadFileVersion(const std::wstring& fileName, TFixedFileVersion& record);

// The running executable's full file name.
std::wstring ExecutableFileName();

// Title "中国澄川网络影视频道", OK and the information icon.
void InfoBox(const std::string& text, HWND owner = nullptr);
// Title "中国澄川网络影视频道", Yes and No and the question icon; true for Yes.
bool ConfirmBox(const std::string& text, HWND owner = nullptr);

// The whole check against the build's update host. fetchText is the
// tolerant GET; terminate asks the application to end.
void RunUpdateCheck(const std::function<std::string(const std::string&)>& fetchText,
                    const std::function<void()>& terminate);

} // namespace qh
