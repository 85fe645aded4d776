#pragma once
// The start-up test of 3D acceleration. There is no 3D device here, so the
// test always fails with the reason "no acceleration" and the display runs in
// software.
#include <string>

namespace Lumo {

class D3DTester
{
public:
    // Runs the test; false (no acceleration), with the reason in GetFailureReason.
    bool RunTest();
    bool Passed() const { return mPassed; }
    const std::string& GetFailureReason() const { return mFailureReason; }

private:
    bool mPassed = false;
    std::string mFailureReason;
};

} // namespace Lumo
