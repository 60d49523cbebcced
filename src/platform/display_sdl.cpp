// The display on SDL2: one window, a renderer and a streaming texture in the display's own
// pixel format, the window's size, shown 1:1. The window buffer is converted straight into the
// texture's locked pixel memory.
#include "platform/display.h"

#include "platform/keymap.h"
#include "platform/pixel_convert.h"
#include "platform/sdl_formats.h"
#include "platform/window_message.h"

#include <SDL.h>

#include <cstdio>
#include <initializer_list>

struct Display {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    bool vsync = false;             // the renderer waits for the display's refresh itself
    uint32_t refreshPeriodMs = 16;  // one refresh of the display
    uint64_t lastPresentTicksMs = 0;
};

namespace {

// The texture format whose memory layout is what convertPixels writes at this depth.
uint32_t textureFormatOfDepth(int32_t pixelDepth) {
    switch (pixelDepth) {
    case 32:
        return SDL_PIXELFORMAT_RGB888;
    case 24:
        return SDL_PIXELFORMAT_BGR24;
    case 16:
        return SDL_PIXELFORMAT_RGB565;
    default:
        return SDL_PIXELFORMAT_RGB555;
    }
}

bool findDisplayMode(int32_t width, int32_t height, int32_t pixelDepth, SDL_DisplayMode& found) {
    int modes = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < modes; ++i) {
        SDL_DisplayMode mode;
        if (SDL_GetDisplayMode(0, i, &mode) == 0 && mode.w == width && mode.h == height &&
            depthOfFormat(mode.format) == pixelDepth) {
            found = mode;
            return true;
        }
    }
    return false;
}

// Exclusive fullscreen at width x height, trying 32, then 24, then 16 bits per pixel.
bool enterFullscreen(InputState& input, SDL_Window* window) {
    for (int32_t depth : {32, 24, 16}) {
        SDL_DisplayMode mode;
        if (!findDisplayMode(input.width, input.height, depth, mode) &&
            !(depth == 16 && findDisplayMode(input.width, input.height, 15, mode))) {
            continue;
        }
        if (SDL_SetWindowDisplayMode(window, &mode) == 0 &&
            SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN) == 0) {
            input.pixelDepth = depthOfFormat(mode.format);
            return true;
        }
    }
    return false;
}

void readRectangles(SDL_Window* window, Rect& windowRect, Rect& clientRect,
                    Rect& clientScreenRect) {
    int x = 0, y = 0, width = 0, height = 0;
    int top = 0, left = 0, bottom = 0, right = 0;
    SDL_GetWindowPosition(window, &x, &y);
    SDL_GetWindowSize(window, &width, &height);
    SDL_GetWindowBordersSize(window, &top, &left, &bottom, &right);
    clientRect = {0, 0, width, height};
    clientScreenRect = {x, y, x + width, y + height};
    windowRect = {x - left, y - top, x + width + right, y + height + bottom};
}

bool createPresentation(Display& display, InputState& input) {
    display.renderer = SDL_CreateRenderer(display.window, -1, SDL_RENDERER_PRESENTVSYNC);
    if (display.renderer == nullptr) {
        display.renderer = SDL_CreateRenderer(display.window, -1, SDL_RENDERER_SOFTWARE);
    }
    if (display.renderer == nullptr) {
        return false;
    }
    SDL_RendererInfo info;
    if (SDL_GetRendererInfo(display.renderer, &info) == 0) {
        display.vsync = (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0;
    }
    display.texture = SDL_CreateTexture(display.renderer, textureFormatOfDepth(input.pixelDepth),
                                        SDL_TEXTUREACCESS_STREAMING, input.width, input.height);
    return display.texture != nullptr;
}

// Without a renderer that waits for the refresh, wait here, so the loop draws one frame per
// refresh instead of spinning.
void pacePresentation(Display& display) {
    if (display.vsync) {
        return;
    }
    uint64_t now = SDL_GetTicks64();
    uint64_t due = display.lastPresentTicksMs + display.refreshPeriodMs;
    if (now < due) {
        SDL_Delay(static_cast<uint32_t>(due - now));
        now = due;
    }
    display.lastPresentTicksMs = now;
}

// One SDL event as a window message; false for the events the program does not react to.
bool translateEvent(const SDL_Event& event, SDL_Window* window, WindowMessage& message) {
    switch (event.type) {
    case SDL_QUIT:
        message.type = MessageType::Close;
        return true;
    case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_CLOSE) {
            message.type = MessageType::Close;
            return true;
        }
        if (event.window.event == SDL_WINDOWEVENT_MOVED && window != nullptr) {
            message.type = MessageType::Move;
            readRectangles(window, message.windowRect, message.clientRect,
                           message.clientScreenRect);
            return true;
        }
        return false;
    case SDL_KEYDOWN: {
        SDL_Keycode key = event.key.keysym.sym;
        uint16_t virtualKey = virtualKeyFromSdl(key);
        if (virtualKey == 0 || isSystemKey(key, event.key.keysym.mod)) {
            return false;
        }
        message.type = MessageType::KeyDown;
        message.keyCode = virtualKey;
        return true;
    }
    case SDL_MOUSEMOTION:
        message.type = MessageType::MouseMove;
        message.x = event.motion.x;
        message.y = event.motion.y;
        return true;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        if (event.button.button != SDL_BUTTON_LEFT) {
            return false;
        }
        message.type =
            event.type == SDL_MOUSEBUTTONDOWN ? MessageType::ButtonDown : MessageType::ButtonUp;
        message.x = event.button.x;
        message.y = event.button.y;
        return true;
    default:
        return false;
    }
}

} // namespace

bool createDisplay(InputState& input, int32_t width, int32_t height) {
    input.width = width;
    input.height = height;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "display: cannot open (%s)\n", SDL_GetError());
        return false;
    }
    input.display = new Display;
    Display& display = *input.display;

    // The window's outer top-left corner goes to the centring position computed from the
    // client size, as the original placement does.
    SDL_DisplayMode desktop{};
    SDL_GetDesktopDisplayMode(0, &desktop);
    int x = (desktop.w - width) / 2;
    int y = (desktop.h - height) / 2;
    display.refreshPeriodMs = desktop.refresh_rate > 0 ? 1000u / desktop.refresh_rate : 16u;
    display.window = SDL_CreateWindow("rkWindow", x, y, width, height, SDL_WINDOW_HIDDEN);
    if (display.window == nullptr) {
        std::fprintf(stderr, "display: cannot create the window (%s)\n", SDL_GetError());
        return false;
    }

    if (input.fullscreen) {
        if (!enterFullscreen(input, display.window)) {
            std::fprintf(stderr, "display: no %dx%d fullscreen mode at 32, 24 or 16 bits\n",
                         width, height);
            return false;
        }
        SDL_ShowWindow(display.window);
    } else {
        SDL_ShowWindow(display.window);
        int top = 0, left = 0, bottom = 0, right = 0;
        if (SDL_GetWindowBordersSize(display.window, &top, &left, &bottom, &right) == 0) {
            SDL_SetWindowPosition(display.window, x + left, y + top);
        }
        input.pixelDepth = depthOfFormat(SDL_GetWindowPixelFormat(display.window));
    }
    SDL_RaiseWindow(display.window);
    readRectangles(display.window, input.windowRect, input.clientRect, input.clientScreenRect);

    if (!createPresentation(display, input)) {
        std::fprintf(stderr, "display: cannot present at %d bits (%s)\n", input.pixelDepth,
                     SDL_GetError());
        return false;
    }
    SDL_ShowCursor(SDL_DISABLE);
    SDL_DisableScreenSaver();
    SDL_StopTextInput();
    return true;
}

void presentFrame(InputState& input, const uint32_t* windowBuffer) {
    Display* display = input.display;
    if (display != nullptr && display->texture != nullptr) {
        void* pixels = nullptr;
        int pitchBytes = 0;
        // A failed lock shows the previous picture again.
        if (SDL_LockTexture(display->texture, nullptr, &pixels, &pitchBytes) == 0) {
            convertPixels(windowBuffer, input.width, input.height, input.pixelDepth,
                          static_cast<uint8_t*>(pixels), pitchBytes);
            SDL_UnlockTexture(display->texture);
        }
        SDL_RenderCopy(display->renderer, display->texture, nullptr, nullptr);
        SDL_RenderPresent(display->renderer);
        pacePresentation(*display);
    }
    input.clickPending = false;
}

void pumpMessage(InputState& input) {
    SDL_Event event;
    if (SDL_PollEvent(&event) == 0) {
        return;
    }
    SDL_Window* window = input.display != nullptr ? input.display->window : nullptr;
    WindowMessage message{MessageType::Close};
    if (!translateEvent(event, window, message)) {
        return;
    }
    // Pointer motion comes as one message carrying the latest position, however many motion
    // events are queued, so the pointer never lags behind the hand.
    if (event.type == SDL_MOUSEMOTION) {
        SDL_Event next;
        while (SDL_PeepEvents(&next, 1, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1 &&
               next.type == SDL_MOUSEMOTION) {
            SDL_PollEvent(&next);
            message.x = next.motion.x;
            message.y = next.motion.y;
        }
    }
    windowProc(input, message);
}

void destroyDisplay(InputState& input) {
    Display* display = input.display;
    if (display == nullptr) {
        return;
    }
    if (display->texture != nullptr) {
        SDL_DestroyTexture(display->texture);
    }
    if (display->renderer != nullptr) {
        SDL_DestroyRenderer(display->renderer);
    }
    if (display->window != nullptr) {
        SDL_DestroyWindow(display->window);
    }
    delete display;
    input.display = nullptr;
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

uint32_t tickCountMs() {
    return SDL_GetTicks();
}

const PlatformCalls realPlatform = {showSetupDialog, createDisplay,  presentFrame,
                                    pumpMessage,     destroyDisplay, tickCountMs};
