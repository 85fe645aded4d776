#pragma once
// The span tables of each instruction set (internal to PixelSpans*.cpp):
// null when the build or the processor lacks the instruction set.
#include "graphics/PixelSpans.h"

namespace Lumo::PixelOps {

const SpanTable* Sse2SpanTable();
const SpanTable* Avx2SpanTable();

} // namespace Lumo::PixelOps
