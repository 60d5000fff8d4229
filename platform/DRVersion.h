#pragma once

#include <cstdint>

// The disc-recording layer's own version, packed into 32 bits one byte each:
// major version, minor version and revision (a nibble each), release stage
// (0x80 = final) and pre-release number. Callers that need a feature of this
// layer compare the packed value.
uint32_t DRGetVersion();
