// The events as the control raises them, through the sink's IDispatch, and
// the document seam; the test bed's control renders no page, so the
// DocumentComplete road and the document are driven from here.
#include "fake_dispatch.h"
#include "browser_test_support.h"
#include "tests/support/scoped_override.h"
#include "toolkit/browser/ole_automation.h"
#include "toolkit/browser/ole_session.h"
#include "toolkit/browser/web_browser_host.h"

#include <gtest/gtest.h>

#include <exdispid.h>
#include <oleauto.h>

#include <memory>
#include <stdexcept>

using qh::ComPtr;
using qh::TOleVariant;
using qh::TWebBrowserHost;

namespace {

// Raises one event with arguments given in declaration order; DISPPARAMS
// holds them last first, as the control passes them.
HRESULT Raise(TWebBrowserHost& host, DISPID event, std::vector<VARIANT> arguments,
              UINT* badArgument = nullptr) {
    std::reverse(arguments.begin(), arguments.end());
    DISPPARAMS params = {arguments.empty() ? nullptr : arguments.data(), nullptr,
                         static_cast<UINT>(arguments.size()), 0};
    return host.EventSink()->Invoke(event, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params,
                                    nullptr, nullptr, badArgument);
}

VARIANT Long(long value) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = value;
    return v;
}

VARIANT Bool(bool value) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BOOL;
    v.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
}

VARIANT Dispatch(IDispatch* object) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_DISPATCH;
    v.pdispVal = object;
    return v;
}

VARIANT ByRef(VARIANT* target) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_VARIANT | VT_BYREF;
    v.pvarVal = target;
    return v;
}

class BrowserSeam : public ::testing::Test {
protected:
    ParentWindow Parent{300, 200};
    std::unique_ptr<TWebBrowserHost> Host = std::make_unique<TWebBrowserHost>(Parent.Handle());
};

TEST_F(BrowserSeam, CommandStateChangeKeepsCommandAndFlagApart) {
    std::vector<std::pair<long, bool>> seen;
    Host->OnCommandStateChange = [&](long command, bool enable) {
        seen.emplace_back(command, enable);
    };

    EXPECT_EQ(Raise(*Host, DISPID_COMMANDSTATECHANGE, {Long(CSC_NAVIGATEBACK), Bool(true)}), S_OK);
    EXPECT_EQ(Raise(*Host, DISPID_COMMANDSTATECHANGE, {Long(CSC_NAVIGATEFORWARD), Bool(false)}),
              S_OK);
    EXPECT_EQ(Raise(*Host, DISPID_COMMANDSTATECHANGE, {Long(CSC_UPDATECOMMANDS), Bool(true)}),
              S_OK);
    // A by-reference flag and a command as another integer type are read too.
    VARIANT flag = Bool(true);
    VARIANT command = Long(0);
    command.vt = VT_I2;
    command.iVal = CSC_NAVIGATEFORWARD;
    EXPECT_EQ(Raise(*Host, DISPID_COMMANDSTATECHANGE, {command, ByRef(&flag)}), S_OK);

    std::vector<std::pair<long, bool>> expected = {{2, true}, {1, false}, {-1, true}, {1, true}};
    EXPECT_EQ(seen, expected);
}

TEST_F(BrowserSeam, MalformedEventsAreRefusedWithoutReachingTheHandler) {
    int calls = 0;
    Host->OnCommandStateChange = [&](long, bool) { ++calls; };
    Host->OnDocumentComplete = [&](IDispatch*, const std::wstring&) { ++calls; };

    EXPECT_EQ(Raise(*Host, DISPID_COMMANDSTATECHANGE, {}), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(Raise(*Host, DISPID_COMMANDSTATECHANGE, {Long(1)}), DISP_E_BADPARAMCOUNT);
    TOleVariant word(std::wstring_view(L"back"));
    UINT bad = 99;
    EXPECT_EQ(Raise(*Host, DISPID_COMMANDSTATECHANGE, {*word.Get(), Bool(true)}, &bad),
              DISP_E_TYPEMISMATCH);
    EXPECT_EQ(bad, 1u); // the command, counted from the last argument
    VARIANT null;
    VariantInit(&null);
    EXPECT_EQ(Raise(*Host, DISPID_DOCUMENTCOMPLETE, {Long(5), ByRef(&null)}), DISP_E_TYPEMISMATCH);
    VARIANT broken = ByRef(nullptr);
    EXPECT_EQ(Raise(*Host, DISPID_DOCUMENTCOMPLETE, {Dispatch(nullptr), broken}),
              DISP_E_TYPEMISMATCH);
    DISPPARAMS none = {nullptr, nullptr, 2, 0}; // a count without the arguments
    EXPECT_EQ(Host->EventSink()->Invoke(DISPID_COMMANDSTATECHANGE, IID_NULL, 0, DISPATCH_METHOD,
                                        &none, nullptr, nullptr, nullptr),
              DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(calls, 0);
}

TEST_F(BrowserSeam, DocumentCompleteHandsOverFrameAndAddress) {
    auto frame = FakeDispatch::Create();
    IDispatch* seenFrame = nullptr;
    std::wstring seenAddress;
    Host->OnDocumentComplete = [&](IDispatch* dispatch, const std::wstring& address) {
        seenFrame = dispatch;
        seenAddress = address;
    };
    TOleVariant address(std::wstring_view(L"http://127.0.0.1/广告/1.htm"));
    EXPECT_EQ(Raise(*Host, DISPID_DOCUMENTCOMPLETE, {Dispatch(frame.Get()), ByRef(address.Get())}),
              S_OK);
    EXPECT_EQ(seenFrame, frame.Get());
    EXPECT_EQ(seenAddress, L"http://127.0.0.1/广告/1.htm");

    // A frame-less event (an empty dispatch) still arrives.
    EXPECT_EQ(Raise(*Host, DISPID_DOCUMENTCOMPLETE, {Dispatch(nullptr), *address.Get()}), S_OK);
    EXPECT_EQ(seenFrame, nullptr);
}

TEST_F(BrowserSeam, EventsWithoutHandlersAndUnusedEventsAreHarmless) {
    EXPECT_EQ(Raise(*Host, DISPID_DOWNLOADBEGIN, {}), S_OK);
    EXPECT_EQ(Raise(*Host, DISPID_DOWNLOADCOMPLETE, {}), S_OK);
    EXPECT_EQ(Raise(*Host, DISPID_COMMANDSTATECHANGE, {Long(2), Bool(true)}), S_OK);
    EXPECT_EQ(Raise(*Host, DISPID_STATUSTEXTCHANGE, {Long(0)}), S_OK);
    EXPECT_NO_THROW(Host->RethrowPendingError());
}

TEST_F(BrowserSeam, HandlerExceptionStaysOutOfTheControlAndIsKept) {
    int begins = 0;
    Host->OnDownloadBegin = [&] {
        ++begins;
        throw qh::Exception("first");
    };
    Host->OnDownloadComplete = [] { throw std::runtime_error("second"); };
    EXPECT_EQ(Raise(*Host, DISPID_DOWNLOADBEGIN, {}), S_OK);
    EXPECT_EQ(Raise(*Host, DISPID_DOWNLOADCOMPLETE, {}), S_OK);
    EXPECT_EQ(begins, 1);
    try {
        Host->RethrowPendingError();
        FAIL() << "the kept exception was lost";
    } catch (const qh::Exception& error) {
        EXPECT_EQ(error.Message, "first");
    }
    EXPECT_NO_THROW(Host->RethrowPendingError()); // reported once
}

TEST_F(BrowserSeam, HandlerExceptionGoesToTheErrorReportWhenThereIsOne) {
    std::vector<std::string> reported;
    Host->OnHandlerError = [&](std::exception_ptr error) {
        try {
            std::rethrow_exception(error);
        } catch (const std::exception& e) {
            reported.push_back(e.what());
        }
    };
    Host->OnCommandStateChange = [](long, bool) { throw qh::Exception("bad state"); };
    EXPECT_EQ(Raise(*Host, DISPID_COMMANDSTATECHANGE, {Long(1), Bool(false)}), S_OK);
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(reported[0], "bad state");
    EXPECT_NO_THROW(Host->RethrowPendingError());

    // A report that fails itself does not lose the error either.
    Host->OnHandlerError = [](std::exception_ptr) { throw qh::Exception("report failed"); };
    EXPECT_EQ(Raise(*Host, DISPID_COMMANDSTATECHANGE, {Long(1), Bool(false)}), S_OK);
    EXPECT_THROW(Host->RethrowPendingError(), qh::Exception);
}

TEST_F(BrowserSeam, HandlerMayDestroyTheHost) {
    ComPtr<IDispatch> sink = ComPtr<IDispatch>::Share(Host->EventSink());
    bool replaced = false;
    Host->OnDownloadComplete = [&] {
        Host.reset(); // a popup released from its own event
        replaced = true;
    };
    DISPPARAMS none = {};
    EXPECT_EQ(sink->Invoke(DISPID_DOWNLOADCOMPLETE, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr,
                           nullptr, nullptr),
              S_OK);
    EXPECT_TRUE(replaced);
    EXPECT_EQ(Host, nullptr);
    // The control may still hold the sink: later events fall on the floor.
    EXPECT_EQ(sink->Invoke(DISPID_DOWNLOADBEGIN, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr,
                           nullptr, nullptr),
              S_OK);
}

// The popup's page look: body.style.borderStyle, then Document.body.Scroll late-bound.
TEST_F(BrowserSeam, SuppliedDocumentIsReachedByNameLikeAPage) {
    auto style = FakeDispatch::Create();
    auto body = FakeDispatch::Create();
    auto document = FakeDispatch::Create();
    auto automation = FakeDispatch::Create();
    body->SetObject(L"style", style.Get());
    document->SetObject(L"body", body.Get());
    automation->SetObject(L"Document", document.Get());
    IWebBrowser2* askedFor = nullptr;
    qh::test::TScopedOverride<qh::TBrowserDocumentFunc> documentOverride(
        qh::SetBrowserDocumentOverride, [&](IWebBrowser2* browser) {
            askedFor = browser;
            return ComPtr<IDispatch>(document);
        });
    qh::test::TScopedOverride<qh::TBrowserAutomationFunc> automationOverride(
        qh::SetBrowserAutomationOverride,
        [automation](IWebBrowser2*) { return ComPtr<IDispatch>(automation); });

    ComPtr<IDispatch> seen = Host->Document();
    ASSERT_EQ(seen.Get(), static_cast<IDispatch*>(document.Get()));
    EXPECT_EQ(askedFor, Host->Browser());
    ComPtr<IDispatch> pageBody = qh::GetObjectProperty(seen.Get(), L"body");
    ASSERT_TRUE(pageBody);
    qh::PutProperty(qh::GetObjectProperty(pageBody.Get(), L"style").Get(), L"borderStyle",
                    TOleVariant(std::wstring_view(L"none")));
    ComPtr<IDispatch> lateBody = qh::GetObjectProperty(
        qh::GetObjectProperty(Host->Automation().Get(), L"Document").Get(), L"BODY");
    qh::PutProperty(lateBody.Get(), L"Scroll", TOleVariant(std::wstring_view(L"no")));

    EXPECT_EQ(style->Puts, std::vector<std::wstring>{L"borderstyle=none"});
    EXPECT_EQ(body->Puts, std::vector<std::wstring>{L"scroll=no"});
}

TEST_F(BrowserSeam, MissingOrFailingMembersRaiseOleErrors) {
    auto document = FakeDispatch::Create();
    document->SetObject(L"body", nullptr); // a document without a body yet
    document->SetFailing(L"title", E_ACCESSDENIED);
    qh::test::TScopedOverride<qh::TBrowserDocumentFunc> documentOverride(
        qh::SetBrowserDocumentOverride,
        [document](IWebBrowser2*) { return ComPtr<IDispatch>(document); });

    EXPECT_FALSE(qh::GetObjectProperty(Host->Document().Get(), L"body"));
    try {
        qh::GetObjectProperty(Host->Document().Get(), L"title");
        FAIL() << "a failing get was taken as success";
    } catch (const qh::EOleError& error) {
        EXPECT_NE(error.Message.find("0x80070005"), std::string::npos) << error.Message;
        EXPECT_NE(error.Message.find("title"), std::string::npos) << error.Message;
    }
    EXPECT_THROW(qh::GetObjectProperty(document.Get(), L"nothing"), qh::EOleError);
    EXPECT_THROW(qh::GetObjectProperty(nullptr, L"body"), qh::EOleError);
    EXPECT_THROW(qh::PutProperty(nullptr, L"Scroll", TOleVariant(std::wstring_view(L"no"))),
                 qh::EOleError);
}

TEST_F(BrowserSeam, AutomationObjectIsTheControlUnlessReplaced) {
    ComPtr<IDispatch> automation = Host->Automation();
    ASSERT_TRUE(automation);
    auto browser = automation.As<IWebBrowser2>();
    EXPECT_EQ(browser.Get(), Host->Browser());
    // Late-bound reading of the control's own properties works on it.
    TOleVariant visible;
    LPOLESTR name = const_cast<LPOLESTR>(L"Busy");
    DISPID id = DISPID_UNKNOWN;
    EXPECT_EQ(automation->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id), S_OK);
}

} // namespace
