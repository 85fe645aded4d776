// The SDL2 video back end.
#include "platform/VideoSdl.h"

#include "platform/DebugOutput.h"
#include "platform/DisplayLoss.h"
#include "platform/StopSignal.h"

#define SDL_MAIN_HANDLED
#include <SDL.h>
#include <SDL_syswm.h>

#include <cstdio>
#include <cstring>

namespace Lumo::Platform {

namespace {

// The code points of a UTF-8 string; malformed bytes are skipped.
std::vector<uint32_t> DecodeUtf8(const char* text)
{
    std::vector<uint32_t> points;
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    while (*p)
    {
        int extra = *p >= 0xF0 ? 3 : *p >= 0xE0 ? 2 : *p >= 0xC0 ? 1 : 0;
        uint32_t point = extra == 0 ? *p : (*p & (0x3Fu >> extra));
        if (*p >= 0x80 && *p < 0xC0)
        {
            ++p;
            continue;
        }
        ++p;
        bool valid = true;
        for (int i = 0; i < extra; ++i, ++p)
        {
            if ((*p & 0xC0) != 0x80)
            {
                valid = false;
                break;
            }
            point = (point << 6) | (*p & 0x3Fu);
        }
        if (valid)
            points.push_back(point);
    }
    return points;
}

void SetModifiers(InputEvent& event, uint16_t mod)
{
    event.shift = (mod & KMOD_SHIFT) != 0;
    event.ctrl = (mod & KMOD_CTRL) != 0;
    event.alt = (mod & KMOD_ALT) != 0;
}

int TranslateButton(uint8_t button)
{
    switch (button)
    {
    case SDL_BUTTON_LEFT: return MOUSE_LEFT;
    case SDL_BUTTON_RIGHT: return MOUSE_RIGHT;
    case SDL_BUTTON_MIDDLE: return MOUSE_MIDDLE;
    default: return -1;
    }
}

// Keys that also type a control character on Windows (WM_CHAR).
bool TypesControlChar(int vk)
{
    return vk == VirtualKey::Back || vk == VirtualKey::Tab || vk == VirtualKey::Return || vk == VirtualKey::Escape;
}

} // namespace

void SdlVideo::SdlDeleter::operator()(SDL_Window* window) const { SDL_DestroyWindow(window); }
void SdlVideo::SdlDeleter::operator()(SDL_Renderer* renderer) const { SDL_DestroyRenderer(renderer); }
void SdlVideo::SdlDeleter::operator()(SDL_Texture* texture) const { SDL_DestroyTexture(texture); }

std::unique_ptr<SdlVideo> SdlVideo::Create(std::string* error)
{
    SDL_SetMainReady();
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
    {
        if (error)
            *error = SDL_GetError();
        return nullptr;
    }
    // On X11 a lost server or a window destroyed from outside would end the
    // process inside Xlib before anything is saved.
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver != nullptr && std::strcmp(driver, "x11") == 0)
        InstallX11DisplayLossHandlers();
    return std::unique_ptr<SdlVideo>(new SdlVideo());
}

SdlVideo::SdlVideo() : mMainThread(std::this_thread::get_id())
{
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
}

SdlVideo::~SdlVideo()
{
    DestroyWindow();
    if (!DisplayLost())
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

bool SdlVideo::CreateWindow(const std::string& title, int width, int height, bool fullscreen)
{
    DestroyWindow();
    // Made hidden and shown once its renderer exists: a GL renderer makes
    // SDL replace the window with one fit for GL, and a window shown before
    // that would be mapped twice (a flash, placed twice by a window manager).
    Uint32 flags = SDL_WINDOW_HIDDEN;
    if (fullscreen)
        flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    mWindow.reset(SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height, flags));
    if (!mWindow)
    {
        Log("VIDEO", std::string("cannot create window: ") + SDL_GetError());
        return false;
    }
    mRenderer.reset(SDL_CreateRenderer(mWindow.get(), -1, 0));
    if (!mRenderer)
        mRenderer.reset(SDL_CreateRenderer(mWindow.get(), -1, SDL_RENDERER_SOFTWARE));
    if (!mRenderer)
    {
        Log("VIDEO", std::string("cannot create renderer: ") + SDL_GetError());
        mWindow.reset();
        return false;
    }
    // A lost X server on the window's connection ends the run in order, even
    // should a library have put its own I/O-error handler in place of ours.
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(mWindow.get(), &info) && info.subsystem == SDL_SYSWM_X11)
        WatchX11Display(info.info.x11.display);
    // Full screen scales the game area to the desktop, keeping its aspect.
    SDL_RenderSetLogicalSize(mRenderer.get(), width, height);
    SDL_ShowWindow(mWindow.get());
    SDL_SetRenderDrawColor(mRenderer.get(), 0, 0, 0, 255);
    SDL_RenderClear(mRenderer.get());
    SDL_RenderPresent(mRenderer.get());
    SDL_StartTextInput();
    return true;
}

void SdlVideo::DestroyWindow()
{
    if (DisplayLost())
    {
        // Freeing them would talk to a display that is gone; the process is
        // ending.
        (void)mTexture.release();
        (void)mRenderer.release();
        (void)mWindow.release();
    }
    mTexture.reset();
    mRenderer.reset();
    mWindow.reset();
    mTextureWidth = mTextureHeight = 0;
}

void SdlVideo::SetTitle(const std::string& title)
{
    if (mWindow && !DisplayLost())
        SDL_SetWindowTitle(mWindow.get(), title.c_str());
}

void SdlVideo::ShowWindow(bool show)
{
    if (mWindow && !DisplayLost())
        show ? SDL_ShowWindow(mWindow.get()) : SDL_HideWindow(mWindow.get());
}

void SdlVideo::PollEvents(std::vector<InputEvent>& out)
{
    SDL_Event event;
    while (!DisplayLost() && SDL_PollEvent(&event))
        Translate(event, out);
}

void SdlVideo::Translate(const SDL_Event& event, std::vector<InputEvent>& out) const
{
    InputEvent e;
    SetModifiers(e, static_cast<uint16_t>(SDL_GetModState()));
    switch (event.type)
    {
    case SDL_QUIT:
        e.type = EventType::Quit;
        break;
    case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) e.type = EventType::FocusGained;
        else if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) e.type = EventType::FocusLost;
        else if (event.window.event == SDL_WINDOWEVENT_LEAVE) e.type = EventType::MouseLeave;
        else return;
        break;
    case SDL_MOUSEMOTION:
        e.type = EventType::MouseMove;
        e.x = event.motion.x;
        e.y = event.motion.y;
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        e.button = TranslateButton(event.button.button);
        if (e.button < 0)
            return;
        e.type = event.type == SDL_MOUSEBUTTONDOWN ? EventType::MouseDown : EventType::MouseUp;
        e.x = event.button.x;
        e.y = event.button.y;
        // As on Windows, every second click of a series is the double click.
        e.clickCount = event.type == SDL_MOUSEBUTTONDOWN && event.button.clicks % 2 == 0 ? 2 : 1;
        break;
    case SDL_MOUSEWHEEL:
        e.type = EventType::MouseWheel;
        e.wheel = event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -event.wheel.y : event.wheel.y;
        if (e.wheel == 0)
            return;
        GetMousePosition(e.x, e.y);
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        e.keyCode = SdlKeyToVirtualKey(event.key.keysym.sym);
        if (e.keyCode == 0)
            return;
        e.type = event.type == SDL_KEYDOWN ? EventType::KeyDown : EventType::KeyUp;
        SetModifiers(e, event.key.keysym.mod);
        out.push_back(e);
        if (event.type == SDL_KEYDOWN && TypesControlChar(e.keyCode))
        {
            e.type = EventType::KeyChar;
            e.ch = static_cast<uint32_t>(e.keyCode);
            out.push_back(e);
        }
        return;
    case SDL_TEXTINPUT:
        e.type = EventType::KeyChar;
        for (uint32_t point : DecodeUtf8(event.text.text))
        {
            e.ch = point;
            out.push_back(e);
        }
        return;
    default:
        return;
    }
    out.push_back(e);
}

bool SdlVideo::EnsureTexture(int width, int height)
{
    if (mTexture && width == mTextureWidth && height == mTextureHeight)
        return true;
    mTexture.reset(SDL_CreateTexture(mRenderer.get(), SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                                     width, height));
    if (!mTexture)
    {
        Log("VIDEO", std::string("cannot create frame texture: ") + SDL_GetError());
        mTextureWidth = mTextureHeight = 0;
        return false;
    }
    // The frame's top byte is not alpha: draw it opaque.
    SDL_SetTextureBlendMode(mTexture.get(), SDL_BLENDMODE_NONE);
    mTextureWidth = width;
    mTextureHeight = height;
    return true;
}

void SdlVideo::Present(const uint32_t* pixels, int width, int height, int pitchBytes)
{
    if (!mRenderer || !pixels || width <= 0 || height <= 0 || pitchBytes < width * 4 || DisplayLost())
        return;
    if (!EnsureTexture(width, height))
        return;
    SDL_UpdateTexture(mTexture.get(), nullptr, pixels, pitchBytes);
    SDL_RenderClear(mRenderer.get());
    SDL_RenderCopy(mRenderer.get(), mTexture.get(), nullptr, nullptr);
    SDL_RenderPresent(mRenderer.get());
}

void SdlVideo::ShowSystemCursor(bool show)
{
    if (!DisplayLost())
        SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
}

bool SdlVideo::GetMousePosition(int& x, int& y) const
{
    if (!mWindow || !mRenderer || DisplayLost())
        return false;
    int windowX = 0;
    int windowY = 0;
    if (SDL_GetMouseFocus() == mWindow.get())
    {
        SDL_GetMouseState(&windowX, &windowY);
    }
    else
    {
        int globalX = 0, globalY = 0, left = 0, top = 0;
        SDL_GetGlobalMouseState(&globalX, &globalY);
        SDL_GetWindowPosition(mWindow.get(), &left, &top);
        windowX = globalX - left;
        windowY = globalY - top;
    }
    float logicalX = 0;
    float logicalY = 0;
    SDL_RenderWindowToLogical(mRenderer.get(), windowX, windowY, &logicalX, &logicalY);
    x = static_cast<int>(logicalX);
    y = static_cast<int>(logicalY);
    return true;
}

int SdlVideo::ShowMessageBox(const std::string& caption, const std::string& text, MessageBoxKind kind)
{
    const auto enter = SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT;
    const auto escape = SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
    const SDL_MessageBoxButtonData okOnly[] = {{enter | escape, MESSAGEBOX_OK, "OK"}};
    const SDL_MessageBoxButtonData yesNo[] = {{enter, MESSAGEBOX_YES, "Yes"}, {escape, MESSAGEBOX_NO, "No"}};
    const SDL_MessageBoxButtonData okCancel[] = {{enter, MESSAGEBOX_OK, "OK"}, {escape, MESSAGEBOX_CANCEL, "Cancel"}};
    const SDL_MessageBoxButtonData* buttons = kind == MessageBoxKind::YesNo ? yesNo
                                            : kind == MessageBoxKind::OkCancel ? okCancel : okOnly;
    const int count = kind == MessageBoxKind::Ok ? 1 : 2;

    // SDL wants a parent window only on the thread that made it.
    SDL_Window* parent = std::this_thread::get_id() == mMainThread ? mWindow.get() : nullptr;
    SDL_MessageBoxData data{SDL_MESSAGEBOX_INFORMATION | SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT,
                            parent, caption.c_str(), text.c_str(), count, buttons, nullptr};
    // The same words go to stderr, so a player who started the game from a
    // terminal still reads them once the window is gone.
    std::fprintf(stderr, "[message box] %s: %s\n", caption.c_str(), text.c_str());
    std::fflush(stderr);
    if (DisplayLost())
        return buttons[0].buttonid; // no display to show it on
    // A stop signal ends the box (its copy of the program) as it ends the
    // run: nobody answered it, so nothing is done on its behalf.
    if (StopSignalReceived())
    {
        std::fprintf(stderr, "(the box was not shown: the program was asked to end)\n");
        return MESSAGEBOX_NONE;
    }
    int pressed = -1;
    const int shown = SDL_ShowMessageBox(&data, &pressed);
    if (StopSignalReceived())
    {
        std::fprintf(stderr, "(the box was closed unanswered: the program was asked to end)\n");
        return MESSAGEBOX_NONE;
    }
    if (shown != 0)
    {
        std::fprintf(stderr, "(the box could not be shown: %s)\n", SDL_GetError());
        return buttons[0].buttonid;
    }
    // Closed without a button: the escape answer.
    return pressed >= 0 ? pressed : buttons[count - 1].buttonid;
}

} // namespace Lumo::Platform
