#include "skin/data/skin_data.h"

#include <algorithm>

#include "core/text.h"
#include "skin/data/quick_ini.h"
#include "skin/data/skin_manager_link.h"
#include "skin/data/skin_platform.h"
#include "skin/data/skin_reader.h"
#include "skin/data/skin_store.h"

namespace qh {

namespace {

// How long after a request the manager carries it out.
constexpr int kActionDelayMs = 250;

TSkinAction ActivationAction(bool active) {
    return active ? TSkinAction::Activate : TSkinAction::Deactivate;
}

} // namespace

const TEnumInfo SkinFormTypeEnum{"TSkinFormType", {"sfMainform", "sfOnlyThisForm", "sfDialog"}};

QH_DEFINE_CLASS(TSkinData, TComponent,
                BoolProp("Active", &TSkinData::Active, &TSkinData::SetActive),
                IntProp("DisableTag", &TSkinData::DisableTag, &TSkinData::SetDisableTag),
                IntProp("SkinControls", &TSkinData::SkinControls, &TSkinData::SetSkinControls),
                StrProp("SkinFile", &TSkinData::SkinFile, &TSkinData::SetSkinFile),
                StrProp("SkinStore", &TSkinData::SkinStore, &TSkinData::SetSkinStore),
                EnumProp("SkinFormtype", SkinFormTypeEnum, &TSkinData::SkinFormtype,
                         &TSkinData::SetSkinFormtype),
                StrProp("Version", &TSkinData::Version, &TSkinData::SetVersion),
                BoolProp("MenuUpdate", &TSkinData::MenuUpdate, &TSkinData::SetMenuUpdate))

namespace {

// The menu glyphs: a 64 x 16 one-bit strip in the program's resources.
constexpr const char* kMenuGlyphResource = "LACQUERMENU";

// Rejected outright: no skin is anywhere near this, and a damaged count
// must not make the component allocate gigabytes.
constexpr int64_t kMaxStoredSkin = TSkinReader::kMaxUnpackedSize;

} // namespace

TSkinData::TSkinData(TComponent* owner) : TComponent(owner) {
    for (const std::string& line : DefaultSkin3rd())
        FSkin3rd.Add(line);
    const std::string glyphs = LoadBitmapResource(kMenuGlyphResource);
    if (!glyphs.empty()) {
        TMemoryStream stream(glyphs);
        TBitmap strip;
        try {
            strip.LoadFromStream(stream);
        } catch (const EInvalidGraphic&) {
            strip.Clear(); // a damaged resource leaves the menu without glyphs
        }
        MenuImages.AddMasked(strip, MakeColour(255, 255, 255));
    }
}

TSkinData::~TSkinData() {
    Destroying();
    if (ISkinManager* manager = SkinManager()) manager->RemoveSkinData(this);
    // The parts, streams and pictures are members and go with the object.
}

std::string TSkinData::SkinStore() const {
    return Designing() && const_cast<TMemoryStream&>(FSkinStream).Size() > 0 ? "(Good)" : "(none)";
}

void TSkinData::ReadSkinStream(TStream& stored) {
    int32_t count = 0;
    stored.ReadBuffer(&count, 4);
    if (count <= 0) return;
    // The count is trusted only as far as the stored bytes go.
    const int64_t present = stored.Size() - stored.Position();
    const int64_t take = std::min<int64_t>({count, present, kMaxStoredSkin});
    FSkinStream.Clear();
    FSkinStream.SetSize(take);
    FSkinStream.SetPosition(0);
    if (take > 0) stored.ReadBuffer(FSkinStream.Memory(), take);
    FSkinStream.SetPosition(0);
    if (!Designing()) LoadSkin();
}

void TSkinData::WriteSkinStream(TStream& target) {
    const int32_t count = static_cast<int32_t>(FSkinStream.Size());
    target.WriteBuffer(&count, 4);
    if (count > 0) target.WriteBuffer(FSkinStream.Memory(), count);
}

bool TSkinData::LoadSkin() {
    SkinEmpty = true;
    if (Designing()) return false;
    TSkinReader reader;
    FSkinStream.SetPosition(0);
    if (!reader.Open(FSkinStream)) {
        if (reader.WrongVersion()) ShowSkinMessage(reader.ErrorMessage());
        return false;
    }
    TMemoryStream iniText;
    std::string iniName;
    reader.FindMember(".ini", iniText, iniName);
    iniText.SetPosition(0);
    TQuickIni ini;
    ini.LoadFromStream(iniText);
    ParseSkin(ini, reader);
    return true;
}

void TSkinData::LoadFromStore(TSkinStore* store, int index) {
    // Negative indexes are no item either.
    if (store == nullptr || index < 0 || index >= store->Store()->Count()) return;
    SkinEmpty = true;
    FSkinStream.Clear();
    const TMemoryStream& data = store->Store()->Items(index).Data();
    const std::string bytes = data.ToString();
    if (!bytes.empty()) FSkinStream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    FSkinStream.SetPosition(0);
    LoadSkin();
    if (FSkinFormtype == sfMainform) ApplySkin();
}

void TSkinData::SetSkinFile(const std::string& path) {
    SkinEmpty = true;
    FSkinFile = path;
    if (Designing()) {
        if (!path.empty() && FSkinStream.Size() > 0) FSkinStream.Clear();
        return;
    }
    if (path.empty() || !FileExists(path)) return;
    FSkinStream.Clear();
    FSkinStream.LoadFromFile(path);
    FSkinStream.SetPosition(0);
    LoadSkin();
    if (FSkinFormtype == sfMainform) ApplySkin();
}

void TSkinData::ApplySkin() {
    if (Designing() || Reading()) return;
    if (SkinManager() == nullptr) Loaded();
    ISkinManager& manager = CreateSkinManager();
    manager.SetPendingSkinData(this);
    manager.ResetCaptionButtons();
    manager.RequestAction(TSkinAction::Refresh, kActionDelayMs);
}

void TSkinData::Loaded() {
    TComponent::Loaded();
    if (Designing()) return;
    ISkinManager& manager = CreateSkinManager();
    manager.AddSkinData(this);
    if (FSkinFormtype != sfMainform) {
        manager.SetActive(true);
        manager.SetActivationCount(manager.ActivationCount() + 1);
        if (Owner() && Owner()->InheritsFrom("TCustomForm")) manager.SkinWindow(Owner());
        return;
    }
    manager.InstallHook();
    if (FActive) {
        if (SkinEmpty)
            FActive = false;
        else
            manager.RequestAction(TSkinAction::Activate, kActionDelayMs);
    }
}

void TSkinData::SetActive(bool value) {
    if (value == FActive) return;
    FActive = value;
    if (Designing() || Reading()) return;
    const bool nothingToShow = value && SkinEmpty;
    switch (FSkinFormtype) {
    case sfMainform: {
        ISkinManager& manager = CreateSkinManager();
        if (!nothingToShow) manager.RequestAction(ActivationAction(value), kActionDelayMs);
        manager.SetPendingSkinData(this);
        break;
    }
    case sfOnlyThisForm: {
        ISkinManager& manager = CreateSkinManager();
        manager.SetPendingSkinData(this);
        if (!nothingToShow) manager.RequestAction(ActivationAction(value), kActionDelayMs);
        break;
    }
    case sfDialog:
        break;
    }
}

void TSkinData::AllowFormSkin(const std::string& className, bool& doSkin) {
    if (OnFormSkin) {
        OnFormSkin(this, className, doSkin);
        return;
    }
    if (className == "SysMonthCal32" ||
        (className.rfind("Tfr", 0) == 0 && HasSkinControl(xcFastReport)))
        doSkin = false;
}

void TSkinData::DoSkinChanged() {
    if (OnSkinChanged) OnSkinChanged(this);
}

} // namespace qh
