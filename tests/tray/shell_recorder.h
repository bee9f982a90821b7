// Stands in for the shell: records every notify-icon call the component
// makes, exactly as it would reach the shell.
#pragma once

#include "tests/support/scoped_override.h"
#include "tray/notify_icon.h"

#include <vector>

namespace tray_test {

struct ShellCall {
    DWORD Message;
    qh::TNotifyIconRecord Record;
};

class ShellRecorder {
public:
    ShellRecorder()
        : FOverride(qh::SetShellNotifyIconOverride,
                    [this](DWORD message, const qh::TNotifyIconRecord& record) {
                        Calls.push_back({message, record});
                        return Accept;
                    }) {}

    std::vector<ShellCall> Calls;
    bool Accept = true;

    const ShellCall& Last() const { return Calls.back(); }
    int Count(DWORD message) const {
        int count = 0;
        for (const ShellCall& call : Calls)
            count += call.Message == message;
        return count;
    }

private:
    qh::test::TScopedOverride<qh::TShellNotifyIconFunc> FOverride;
};

} // namespace tray_test
