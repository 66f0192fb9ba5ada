// Program-wide values that several windows share for the life of the process.
#pragma once
#include <cstdint>

namespace dovra {

// Raw result of the system call that was made last where the program keeps one;
// read back only where a caller says so.
extern int32_t ApiResult;
// Display count returned by the last cursor show or hide.
extern int32_t CursorShowCount;

}  // namespace dovra
