#include "platform/DRVersion.h"

namespace {
constexpr uint32_t kMajor = 3;
constexpr uint32_t kMinor = 0;
constexpr uint32_t kRevision = 0;
constexpr uint32_t kFinalStage = 0x80;
}

uint32_t DRGetVersion()
{
    return kMajor << 24 | kMinor << 20 | kRevision << 16 | kFinalStage << 8;
}
