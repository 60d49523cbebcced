// Translation of the platform's key events into Windows virtual-key codes, the codes the
// screens speak (Space 32, Enter 13, Escape 27, 'A'-'Z' 65-90, '0'-'9' 48-57, ...).
#pragma once

#include <SDL.h>

#include <cstdint>

// The virtual-key code of a key, or 0 for keys the program does not know.
uint16_t virtualKeyFromSdl(SDL_Keycode key);

// Keys that arrive as system keys on the original platform (Alt combinations, F10) and so
// never reach the key queue.
bool isSystemKey(SDL_Keycode key, uint16_t modifiers);
