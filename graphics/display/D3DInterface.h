#pragma once
// 3D drawing of the display. There is no 3D acceleration here: no scene is
// ever open, so EndScene has nothing to end, and every image draws through the
// software path.

namespace Lumo {

class DDImage;

class D3DInterface
{
public:
    // Ends the current 3D scene when one is open (never here).
    void EndScene() { mSceneOpen = false; }
    bool IsSceneOpen() const { return mSceneOpen; }
    // Whether 3D drawing is available: always false.
    static bool IsAvailable() { return false; }

    DDImage* mScreenImage = nullptr; // the image the display draws to

private:
    bool mSceneOpen = false;
};

} // namespace Lumo
