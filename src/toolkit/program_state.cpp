#include "toolkit/program_state.h"

#include "toolkit/portable_only.h"

namespace dovra {
int32_t ApiResult = 0;
int32_t CursorShowCount = 0;
}  // namespace dovra
