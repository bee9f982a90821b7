// The skin data component: holds the skin in use as a packed skin, turns
// it into skin parts and asks the skin manager to dress, undress or
// re-dress the windows.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/component.h"
#include "core/stream.h"
#include "core/string_list.h"
#include "images/bitmap.h"
#include "skin/data/skin_image_list.h"
#include "skin/data/skin_parts.h"

namespace qh {

class TSkinStore;

enum TSkinControlType {
    xcMainMenu,
    xcPopupMenu,
    xcToolbar,
    xcControlbar,
    xcCombo,
    xcCheckBox,
    xcRadioButton,
    xcProgress,
    xcScrollbar,
    xcEdit,
    xcButton,
    xcBitBtn,
    xcSpeedButton,
    xcPanel,
    xcGroupBox,
    xcStatusBar,
    xcTab,
    xcSystemMenu,
    xcFastReport,
};

// A set of TSkinControlType: bit n stands for the type of ordinal n.
using TSkinControlTypes = uint32_t;
inline constexpr TSkinControlTypes SkinControlBit(TSkinControlType type) {
    return 1u << type;
}
inline constexpr TSkinControlTypes kAllSkinControls = (1u << (xcFastReport + 1)) - 1;

enum TSkinFormType { sfMainform, sfOnlyThisForm, sfDialog };

extern const TEnumInfo SkinFormTypeEnum;

// The 85 class-name lines a skin data starts with.
const std::vector<std::string>& DefaultSkin3rd();

// The fixed version text of the component.
inline constexpr const char* kSkinDataVersion = "2.68.9.07";

class TSkinData : public TComponent, public TSkinParts {
    QH_CLASS(TSkinData, TComponent)
    using TOnFormSkin =
        std::function<void(TObject* sender, const std::string& aName, bool& doSkin)>;
    using TOnSkinControl = std::function<void(
        TComponent* sender, TSkinData* skinData, TComponent* form, TComponent* control,
        const std::string& controlClass, TComponent*& skinnedControl)>;

    explicit TSkinData(TComponent* owner);
    ~TSkinData() override;

    bool Active() const { return FActive; }
    void SetActive(bool value);
    int32_t DisableTag() const { return FDisableTag; }
    void SetDisableTag(int32_t tag) { FDisableTag = tag; }
    TSkinControlTypes SkinControls() const { return FSkinControls; }
    void SetSkinControls(TSkinControlTypes controls) { FSkinControls = controls; }
    bool HasSkinControl(TSkinControlType type) const {
        return (FSkinControls & SkinControlBit(type)) != 0;
    }
    const TStringList& Skin3rd() const { return FSkin3rd; }
    void SetSkin3rd(const TStringList& lines) { FSkin3rd = lines; }
    const std::string& SkinFile() const { return FSkinFile; }
    // Loads the ".skn" file at once when it exists (run time).
    void SetSkinFile(const std::string& path);
    // "(Good)" only in a designer while a skin is held.
    std::string SkinStore() const;
    void SetSkinStore(const std::string&) {}
    TSkinFormType SkinFormtype() const { return FSkinFormtype; }
    void SetSkinFormtype(TSkinFormType type) { FSkinFormtype = type; }
    std::string Version() const { return kSkinDataVersion; }
    void SetVersion(const std::string&) {}
    bool MenuUpdate() const { return FMenuUpdate; }
    void SetMenuUpdate(bool update) { FMenuUpdate = update; }

    TOnFormSkin OnFormSkin;
    TNotifyEvent OnSkinChanged;
    TOnSkinControl OnSkinControl;

    // The current packed skin.
    TMemoryStream& SkinStream() { return FSkinStream; }
    // The stored SkinStream property: a signed 32-bit little-endian count,
    // then that many bytes.
    void ReadSkinStream(TStream& stored);
    void WriteSkinStream(TStream& target);

    // Unpacks and parses SkinStream; false when the package cannot be
    // opened (a wrong version also shows its message). A damaged member
    // raises; the skin then stays empty.
    bool LoadSkin();
    // Loads the item at index of store; an index outside the items does
    // nothing.
    void LoadFromStore(TSkinStore* store, int index);
    // Has the manager re-dress every window with the current skin.
    void ApplySkin();
    // The per-class decision of whether a window class is dressed.
    void AllowFormSkin(const std::string& className, bool& doSkin);
    // On the manager's request once it carried out an action.
    void DoSkinChanged();

    // 16 x 16 glyphs: restore, maximise, minimise, close.
    TSkinImageList MenuImages{16, 16};
    // Scratch picture of the form frame.
    TBitmap ScratchBitmap;
    // The form frame switches it off while a menu-changed notice passes.
    bool FramePainting = true;

    void Loaded() override;

private:
    bool Designing() const { return HasState(csDesigning); }
    bool Reading() const { return HasState(csReading); }

    bool FActive = false;
    int32_t FDisableTag = 99;
    TSkinControlTypes FSkinControls = kAllSkinControls & ~SkinControlBit(xcFastReport);
    TStringList FSkin3rd;
    std::string FSkinFile;
    TSkinFormType FSkinFormtype = sfMainform;
    bool FMenuUpdate = true;
    TMemoryStream FSkinStream;
};

} // namespace qh
