// Counts of this process's GDI and USER objects and private memory, for the
// tests that prove nothing piles up. GetGuiResources and the private-usage
// counter are stubs that answer 0 under Wine, so there the counts come from
// Wine's own tables: a GDI handle whose upper word is 0 names a table slot, and
// the slot scan finds every live object; windows are counted by enumeration;
// memory is the sum of the committed private regions.
#pragma once
#include <windows.h>

#include <cstdint>

namespace dovra::test {

DWORD GdiObjects();
DWORD UserObjects();
uint64_t PrivateBytes();

}  // namespace dovra::test
