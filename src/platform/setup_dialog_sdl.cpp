// The setup dialog's window on SDL2: the primary display's modes, a small window drawn in
// software, and the events that drive it until Run or Cancel.
#include "platform/setup_dialog.h"

#include "platform/sdl_formats.h"

#include <SDL.h>

#include <vector>

namespace {

// The primary display's modes. Some systems (X11) report modes only at the desktop's own
// depth; when that is below 32 bits, its modes are offered in place of the 32-bit ones, since
// presentation converts to any depth and the program would otherwise have nothing to run in.
void reportedModes(std::vector<ReportedMode>& reported) {
    SDL_DisplayOrientation orientation = SDL_GetDisplayOrientation(0);
    bool rotated = orientation == SDL_ORIENTATION_PORTRAIT ||
                   orientation == SDL_ORIENTATION_PORTRAIT_FLIPPED ||
                   orientation == SDL_ORIENTATION_LANDSCAPE_FLIPPED;
    bool anyThirtyTwoBit = false;
    int count = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode mode;
        if (SDL_GetDisplayMode(0, i, &mode) != 0) {
            break;
        }
        int32_t depth = depthOfFormat(mode.format);
        anyThirtyTwoBit = anyThirtyTwoBit || depth == 32;
        reported.push_back({mode.w, mode.h, depth, rotated ? 1 : 0});
    }
    if (!anyThirtyTwoBit) {
        for (ReportedMode& mode : reported) {
            mode.bitsPerPixel = 32;
        }
    }
}

struct DialogWindow {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;

    ~DialogWindow() {
        if (texture != nullptr) {
            SDL_DestroyTexture(texture);
        }
        if (renderer != nullptr) {
            SDL_DestroyRenderer(renderer);
        }
        if (window != nullptr) {
            SDL_DestroyWindow(window);
        }
    }

    bool create() {
        window = SDL_CreateWindow("zap 'em good", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                  dialogWidth, dialogHeight, SDL_WINDOW_SHOWN);
        if (window == nullptr) {
            return false;
        }
        renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_PRESENTVSYNC);
        if (renderer == nullptr) {
            renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
        }
        if (renderer == nullptr) {
            return false;
        }
        texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888,
                                    SDL_TEXTUREACCESS_STREAMING, dialogWidth, dialogHeight);
        return texture != nullptr;
    }

    void show(const SetupDialog& dialog) {
        static uint32_t pixels[dialogWidth * dialogHeight];
        DialogPixels target{pixels, dialogWidth, dialogHeight};
        drawDialog(dialog, target);
        SDL_UpdateTexture(texture, nullptr, pixels, dialogWidth * 4);
        SDL_RenderCopy(renderer, texture, nullptr, nullptr);
        SDL_RenderPresent(renderer);
    }
};

// Hands one event to the dialog; false when the event changes nothing that is shown.
bool handleEvent(SetupDialog& dialog, const SDL_Event& event) {
    switch (event.type) {
    case SDL_QUIT:
        dialogClose(dialog);
        return true;
    case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_CLOSE) {
            dialogClose(dialog);
        }
        return true;
    case SDL_KEYDOWN:
        switch (event.key.keysym.sym) {
        case SDLK_UP:
            dialogKey(dialog, DialogKey::Up);
            return true;
        case SDLK_DOWN:
            dialogKey(dialog, DialogKey::Down);
            return true;
        case SDLK_SPACE:
            dialogKey(dialog, DialogKey::Space);
            return true;
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            dialogKey(dialog, DialogKey::Enter);
            return true;
        case SDLK_ESCAPE:
            dialogKey(dialog, DialogKey::Escape);
            return true;
        default:
            return false;
        }
    case SDL_MOUSEBUTTONUP:
        if (event.button.button == SDL_BUTTON_LEFT) {
            dialogClick(dialog, event.button.x, event.button.y);
            return true;
        }
        return false;
    case SDL_MOUSEWHEEL:
        dialogWheel(dialog, event.wheel.y);
        return true;
    default:
        return false;
    }
}

} // namespace

SetupResult showSetupDialog(DisplaySettings& settings) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        return SetupResult::NoDisplay;
    }
    SetupResult result = SetupResult::NoDisplay;
    {
        std::vector<ReportedMode> reported;
        reportedModes(reported);
        buildModeList(reported.data(), static_cast<int32_t>(reported.size()), settings.modes);
        SDL_DisplayMode desktop{};
        SDL_GetDesktopDisplayMode(0, &desktop);

        SetupDialog dialog;
        openDialog(dialog, settings, desktop.w, desktop.h);
        DialogWindow window;
        if (window.create()) {
            window.show(dialog);
            SDL_RaiseWindow(window.window);
            while (dialog.outcome == DialogOutcome::Open) {
                SDL_Event event;
                if (SDL_WaitEventTimeout(&event, 100) != 0 && handleEvent(dialog, event)) {
                    window.show(dialog);
                }
            }
            result = dialog.outcome == DialogOutcome::Run ? SetupResult::Run : SetupResult::Cancel;
            // Nothing the dialog saw (a close request, a key) reaches the main window.
            SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        }
    }
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return result;
}
