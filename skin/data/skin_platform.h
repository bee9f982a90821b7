// What the skin data needs from the platform: the program's bitmap
// resources and a message box for a skin it cannot read.
#pragma once

#include <functional>
#include <string>

namespace qh {

// The bitmap resource of that name as a complete bitmap file, or the empty
// text. On Windows it comes from the executable; everywhere, bytes given to
// RegisterBitmapResource are found too (tests and tools fill them).
std::string LoadBitmapResource(const std::string& name);
void RegisterBitmapResource(const std::string& name, std::string fileBytes);
// A raw-data resource of the program (the packed skins), or the empty text;
// registered bytes are found too.
std::string LoadDataResource(const std::string& name);
void RegisterDataResource(const std::string& name, std::string bytes);

// A modal message box with text (code page 936). Tests replace it.
using TSkinMessageHandler = std::function<void(const std::string& text)>;
void ShowSkinMessage(const std::string& text);
// Replaces the box (tests); an empty handler restores the platform's own.
void SetSkinMessageOverride(TSkinMessageHandler handler);

namespace platform {
// The platform's own lookup and message box (the _win and _posix files).
std::string FindProgramBitmap(const std::string& name);
std::string FindProgramData(const std::string& name);
void ShowMessageBox(const std::string& text);
} // namespace platform

} // namespace qh
