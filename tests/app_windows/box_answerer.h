// Answers the message boxes that the code under test opens on this thread:
// a thread timer runs inside the box's own modal loop, reads the box and
// presses one of its buttons.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace qh::test {

struct SeenBox {
    std::wstring Caption;
    std::wstring Text;
    std::vector<int> Buttons; // IDOK, IDYES, IDNO, ... present in the box
    HICON Icon = nullptr;     // the picture beside the text, if any
};

class BoxAnswerer {
public:
    // Presses `answer` (IDOK, IDYES, IDNO) in every box that comes up.
    explicit BoxAnswerer(int answer);
    ~BoxAnswerer();
    BoxAnswerer(const BoxAnswerer&) = delete;
    BoxAnswerer& operator=(const BoxAnswerer&) = delete;

    const std::vector<SeenBox>& Seen() const { return FSeen; }

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
    void Poll();

    int FAnswer;
    UINT_PTR FTimer = 0;
    std::vector<SeenBox> FSeen;
};

} // namespace qh::test
