#include "skin/render/skin_selection.h"

#include "core/text.h"
#include "skin/render/frame_metrics.h"
#include "skin/render/frame_styles.h"

namespace qh {

namespace {

TSkinData* LastOfType(const std::vector<TSkinDataEntry>& datas, TSkinFormType type) {
    TSkinData* chosen = nullptr;
    for (const TSkinDataEntry& entry : datas)
        if (entry.Data && entry.Data->SkinFormtype() == type) chosen = entry.Data;
    return chosen;
}

} // namespace

TSkinData* SelectSkinData(const std::vector<TSkinDataEntry>& datas, uintptr_t window,
                          const std::string& className) {
    TSkinData* chosen = nullptr;
    for (const TSkinDataEntry& entry : datas)
        if (entry.Data && entry.Data->SkinFormtype() == sfOnlyThisForm &&
            entry.OwnerWindow != 0 && entry.OwnerWindow == window)
            chosen = entry.Data;
    if (!chosen && IsMessageBoxClass(className)) chosen = LastOfType(datas, sfDialog);
    if (!chosen) chosen = LastOfType(datas, sfMainform);
    if (!chosen && !datas.empty()) chosen = datas.front().Data;
    return chosen;
}

bool AllowFormSkin(const std::vector<TSkinDataEntry>& datas, const std::string& className) {
    for (const TSkinDataEntry& entry : datas)
        if (entry.Data && entry.Data->SkinFormtype() == sfMainform) {
            bool doSkin = true;
            entry.Data->AllowFormSkin(className, doSkin);
            return doSkin;
        }
    return true;
}

bool IsMdiChildWindow(uint32_t style, const std::string& parentClassName) {
    return (style & kWsChild) != 0 && LowerCase(parentClassName) == "mdiclient";
}

bool SkinFormAllowed(bool visible, uint32_t style, bool mdiChild) {
    return visible && ((style & kWsChild) == 0 || mdiChild);
}

TSkinWindowDecision DecideSkinWindow(const TSkinWindowFacts& f,
                                     const std::vector<TSkinDataEntry>& datas) {
    auto refuse = [](TSkinRefusal why) { return TSkinWindowDecision{why, nullptr}; };
    if (!f.ManagerActive) return refuse(TSkinRefusal::Inactive);
    if (f.AnswersSkinQuery) return refuse(TSkinRefusal::AnswersQuery);
    if (f.AlreadyAttached) return refuse(TSkinRefusal::AlreadyAttached);
    if (f.MdiChild && !f.ForceAttach) return refuse(TSkinRefusal::MdiChild);
    if (f.Width <= 0 || f.Height <= 0) return refuse(TSkinRefusal::NoArea);
    if (f.HasForm && f.FormTag == 99) return refuse(TSkinRefusal::FormTag);
    if (f.ClassName == "TApplication") return refuse(TSkinRefusal::Application);
    if (!AllowFormSkin(datas, f.ClassName)) return refuse(TSkinRefusal::ClassRefused);
    TSkinData* data = SelectSkinData(datas, f.Window, f.ClassName);
    if (!data || data->SkinEmpty) return refuse(TSkinRefusal::NoSkin);
    return {TSkinRefusal::None, data};
}

} // namespace qh
