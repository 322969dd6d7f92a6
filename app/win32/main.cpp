#include <windows.h>

#include <exception>

#include "app/win32/program.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  try {
    Program program(instance);
    return program.run();
  } catch (const std::exception&) {
    MessageBoxW(nullptr, L"quorvel cannot create its window.", L"quorvel", MB_OK | MB_ICONERROR);
    return 1;
  }
}
