#pragma once
// The SDL2 video back end: one window with a streaming texture that each frame
// is copied into, SDL events translated to InputEvent. Made through
// CreateVideoBackend; SDL video starts only when this back end is created.
#include "platform/Video.h"

#include <thread>

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
union SDL_Event;

namespace Lumo::Platform {

class SdlVideo final : public VideoBackend
{
public:
    // Starts the SDL video subsystem; null when it cannot, with SDL's reason in
    // *error when error is given.
    static std::unique_ptr<SdlVideo> Create(std::string* error = nullptr);
    ~SdlVideo() override;
    SdlVideo(const SdlVideo&) = delete;
    SdlVideo& operator=(const SdlVideo&) = delete;

    bool CreateWindow(const std::string& title, int width, int height, bool fullscreen) override;
    void DestroyWindow() override;
    bool HasWindow() const override { return mWindow != nullptr; }
    void SetTitle(const std::string& title) override;
    void ShowWindow(bool show) override;
    void PollEvents(std::vector<InputEvent>& out) override;
    void Present(const uint32_t* pixels, int width, int height, int pitchBytes) override;
    void ShowSystemCursor(bool show) override;
    bool GetMousePosition(int& x, int& y) const override;
    int ShowMessageBox(const std::string& caption, const std::string& text, MessageBoxKind kind) override;
    bool IsHeadless() const override { return false; }

private:
    SdlVideo();
    bool EnsureTexture(int width, int height);
    void Translate(const SDL_Event& event, std::vector<InputEvent>& out) const;

    struct SdlDeleter
    {
        void operator()(SDL_Window* window) const;
        void operator()(SDL_Renderer* renderer) const;
        void operator()(SDL_Texture* texture) const;
    };
    // Declared in this order so the texture goes before its renderer, and the
    // renderer before its window.
    std::unique_ptr<SDL_Window, SdlDeleter> mWindow;
    std::unique_ptr<SDL_Renderer, SdlDeleter> mRenderer;
    std::unique_ptr<SDL_Texture, SdlDeleter> mTexture;
    int mTextureWidth = 0;
    int mTextureHeight = 0;
    std::thread::id mMainThread;
};

// The Windows virtual-key code for an SDL key code; 0 when there is none.
int SdlKeyToVirtualKey(int sdlKey);

} // namespace Lumo::Platform
