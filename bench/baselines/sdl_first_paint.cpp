// The floor for a program's first paint: a minimal SDL2 program that creates a window of the
// search window's size, fills it, presents it and ends. Run with SDL_VIDEODRIVER=dummy for the
// headless comparison, or on an X server for the desktop one.
//   sdl_first_paint WIDTH HEIGHT

#include <SDL.h>

#include <cstdlib>

int main(int argc, char** argv) {
  const int width = argc > 2 ? std::atoi(argv[1]) : 660;
  const int height = argc > 2 ? std::atoi(argv[2]) : 12;
  if (SDL_Init(SDL_INIT_VIDEO) != 0) return 1;
  SDL_Window* window = SDL_CreateWindow("", 0, 0, width, height, SDL_WINDOW_BORDERLESS);
  if (window == nullptr) return 1;
  SDL_Surface* surface = SDL_GetWindowSurface(window);
  if (surface == nullptr) return 1;
  SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0xC0, 0xC0, 0xC0));
  SDL_UpdateWindowSurface(window);
  SDL_DestroyWindow(window);
  SDL_Quit();
  return 0;
}
