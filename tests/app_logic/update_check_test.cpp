#include "app/update_check.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Records every outside effect of the check in order.
class RecordingHost : public qh::TUpdateCheckHost {
public:
    bool HasRecord = true;
    uint32_t VersionMS = (2u << 16) | 0u;
    uint32_t VersionLS = (0u << 16) | 7020u;
    std::string Published;
    bool Updater = true;
    bool Answer = false;
    std::vector<std::string> Events;

    void ReadOwnFileVersion(qh::TFixedFileVersion& record) override {
        if (!HasRecord) return;
        record.Signature = 0xFEEF04BD;
        record.FileVersionMS = VersionMS;
        record.FileVersionLS = VersionLS;
        record.ProductVersionMS = 0x00090009; // never used
    }
    std::string FetchText(const std::string& address) override {
        Events.push_back("fetch " + address);
        return Published;
    }
    bool UpdaterExists() override { return Updater; }
    void InfoBox(const std::string& text) override { Events.push_back("info " + text); }
    bool ConfirmBox(const std::string& text) override {
        Events.push_back("confirm " + text);
        return Answer;
    }
    void StartUpdater() override { Events.push_back("start"); }
    void Terminate() override { Events.push_back("terminate"); }

    std::vector<std::string> Run() {
        qh::CheckForUpdate(*this, "http://update.example:81/update/Version.txt");
        return Events;
    }
};

const std::string kFetch = "fetch http://update.example:81/update/Version.txt";
const std::string kOffer = std::string("confirm ") + qh::kUpdateOfferText;

} // namespace

TEST(VersionText, FourFieldsFromTheFileVersionOnly) {
    qh::TFixedFileVersion record;
    EXPECT_EQ(qh::VersionText(record), "0.0.0.0");
    record.FileVersionMS = 0x00020000;
    record.FileVersionLS = 0x00001B6C;
    record.ProductVersionMS = 0x00050006;
    EXPECT_EQ(qh::VersionText(record), "2.0.0.7020");
    record.FileVersionMS = 0xFFFF0010;
    record.FileVersionLS = 0x0100FFFF;
    EXPECT_EQ(qh::VersionText(record), "65535.16.256.65535");
}

TEST(UpdaterPath, SitsInTheExecutablesFolder) {
    EXPECT_EQ(qh::UpdaterPath(L"C:\\Program Files\\青禾\\QingheTV.exe"),
              L"C:\\Program Files\\青禾\\Update.exe");
    EXPECT_EQ(qh::UpdaterPath(L"/opt/tv/QingheTV.exe"), L"/opt/tv/Update.exe");
    EXPECT_EQ(qh::UpdaterPath(L"QingheTV.exe"), L"Update.exe");
}

TEST(CheckForUpdate, EqualVersionShowsNothing) {
    RecordingHost host;
    host.Published = "2.0.0.7020";
    EXPECT_EQ(host.Run(), (std::vector<std::string>{kFetch}));
}

TEST(CheckForUpdate, EmptyFetchShowsNothing) {
    RecordingHost host;
    host.Published = "";
    host.Updater = false;
    EXPECT_EQ(host.Run(), (std::vector<std::string>{kFetch}));
}

TEST(CheckForUpdate, AnyDifferenceIsAnOffer) {
    for (const char* published :
         {"2.0.0.7020\r\n", "2.0.0.7019", "2.0.0.70200", " 2.0.0.7020", "2.0.0.702", "x"}) {
        SCOPED_TRACE(published);
        RecordingHost host;
        host.Published = published;
        EXPECT_EQ(host.Run(), (std::vector<std::string>{kFetch, kOffer, "terminate"}));
    }
}

TEST(CheckForUpdate, YesStartsTheUpdaterThenEnds) {
    RecordingHost host;
    host.Published = "2.0.0.7021";
    host.Answer = true;
    EXPECT_EQ(host.Run(), (std::vector<std::string>{kFetch, kOffer, "start", "terminate"}));
}

TEST(CheckForUpdate, MissingUpdaterOnlyInforms) {
    RecordingHost host;
    host.Published = "2.0.0.7021";
    host.Updater = false;
    EXPECT_EQ(host.Run(),
              (std::vector<std::string>{kFetch, std::string("info ") + qh::kUpdaterMissingText}));
}

TEST(CheckForUpdate, NoVersionRecordComparesAsZeros) {
    RecordingHost host;
    host.HasRecord = false;
    host.Published = "0.0.0.0";
    EXPECT_EQ(host.Run(), (std::vector<std::string>{kFetch}));
    RecordingHost other;
    other.HasRecord = false;
    other.Published = "2.0.0.7020";
    EXPECT_EQ(other.Run(), (std::vector<std::string>{kFetch, kOffer, "terminate"}));
}
