#include "graphics/display/D3DTester.h"

namespace Lumo {

bool D3DTester::RunTest()
{
    mPassed = false;
    mFailureReason = "no acceleration";
    return false;
}

} // namespace Lumo
