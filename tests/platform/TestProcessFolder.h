#pragma once
// The folder a test program keeps to: made unique to the process (like
// mkdtemp, under TMPDIR or /tmp) when the program starts, and removed with
// everything in it when the program ends. Every folder the tests and the
// programs they start may write to points into it through the environment:
// the temporary folder (TMPDIR, and GoogleTest's TEST_TMPDIR), the data and
// settings folders (LUMO_DATA_DIR, LUMO_CONFIG_DIR), and, as a backstop,
// HOME and the XDG folders. Tests run headless (LUMO_HEADLESS=1).
#include <string>

namespace Lumo::Platform::Testing {

class TestProcessFolder
{
public:
    TestProcessFolder();
    ~TestProcessFolder();
    TestProcessFolder(const TestProcessFolder&) = delete;
    TestProcessFolder& operator=(const TestProcessFolder&) = delete;

    // The folder, ending with '/'; empty when it could not be made.
    const std::string& Path() const { return mPath; }

private:
    std::string mPath;
};

// Removes a folder and everything below it, giving the owner back access to
// every folder first (tests take access away). Links are not followed.
void RemoveTestFolder(const std::string& folder);

} // namespace Lumo::Platform::Testing
