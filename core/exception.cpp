#include "core/exception.h"

#include "core/text.h"

namespace qh {

void RaiseConvertError(const std::string& text) {
    throw EConvertError(Format("'%s' 不是一个有效的整形值", text.c_str()));
}

void RaiseListIndexError(int index) {
    throw EListError(Format("列表索引越界 (%d)", index));
}

} // namespace qh
