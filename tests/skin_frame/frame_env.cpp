#include "frame_env.h"

#include <string>

namespace qh::test {

std::unique_ptr<TSkinData> MakeSkinData(TComponent* owner, const char* file, bool active) {
    auto data = std::make_unique<TSkinData>(owner);
    data->BeginLoading();
    data->SkinStream().LoadFromFile(std::string(QH_PACKED_SKIN_DIR) + "/" + file);
    data->SkinStream().SetPosition(0);
    data->LoadSkin();
    data->SetActive(active);
    data->EndLoading();
    return data;
}

} // namespace qh::test
