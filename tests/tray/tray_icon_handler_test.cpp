#include "tray/tray_icon_handler.h"

#include "tray/notify_icon.h"

#include <gtest/gtest.h>

#include <vector>

using qh::TTrayIconHandler;

namespace {

struct RecordingTarget : qh::TTrayCallbackTarget {
    std::vector<UINT> Messages;
    void TrayCallback(UINT mouseMessage) override { Messages.push_back(mouseMessage); }
};

} // namespace

TEST(TrayIconHandler, RoutesCallbacksByIdentifier) {
    RecordingTarget first, second;
    UINT firstId = TTrayIconHandler::Register(first);
    UINT secondId = TTrayIconHandler::Register(second);
    ASSERT_NE(firstId, secondId);
    HWND window = TTrayIconHandler::Instance()->Window();
    EXPECT_EQ(TTrayIconHandler::Instance()->RefCount(), 2);

    SendMessageW(window, qh::kTrayCallbackMessage, secondId, WM_LBUTTONDOWN);
    SendMessageW(window, qh::kTrayCallbackMessage, firstId, WM_RBUTTONUP);
    // An identifier nobody owns is dropped.
    SendMessageW(window, qh::kTrayCallbackMessage, firstId + secondId + 100, WM_LBUTTONUP);
    EXPECT_EQ(first.Messages, std::vector<UINT>{WM_RBUTTONUP});
    EXPECT_EQ(second.Messages, std::vector<UINT>{WM_LBUTTONDOWN});

    TTrayIconHandler::Unregister(firstId);
    SendMessageW(window, qh::kTrayCallbackMessage, firstId, WM_LBUTTONUP);
    EXPECT_EQ(first.Messages.size(), 1u);
    TTrayIconHandler::Unregister(secondId);
    EXPECT_EQ(TTrayIconHandler::Instance(), nullptr);
    EXPECT_FALSE(IsWindow(window));
}

TEST(TrayIconHandler, WindowSurvivesCloseAndSessionEnd) {
    RecordingTarget target;
    UINT id = TTrayIconHandler::Register(target);
    HWND window = TTrayIconHandler::Instance()->Window();
    for (UINT message : {WM_CLOSE, WM_QUERYENDSESSION, WM_ENDSESSION, WM_QUIT})
        EXPECT_EQ(SendMessageW(window, message, 0, 0), 1) << message;
    EXPECT_TRUE(IsWindow(window));
    EXPECT_TRUE(target.Messages.empty());
    TTrayIconHandler::Unregister(id);
    // Unregistering twice does not release someone else's share.
    TTrayIconHandler::Unregister(id);
    EXPECT_EQ(TTrayIconHandler::Instance(), nullptr);
}
