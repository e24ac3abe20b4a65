#pragma once
// Standard actions: what a button or menu item does instead of raising its own event when its
// definition names one (the number of its text block): window arrangement, help, the edit
// commands for the control that last had the focus, closing, and print setup.

#include <cstdint>

#include "win32.h"

namespace vel::windows {

struct WindowObject;

inline constexpr std::int32_t kActionTile = 0x02;
inline constexpr std::int32_t kActionCascade = 0x03;
inline constexpr std::int32_t kActionArrangeIcons = 0x04;
inline constexpr std::int32_t kActionHelpIndex = 0x05;
inline constexpr std::int32_t kActionHelpOnHelp = 0x06;
inline constexpr std::int32_t kActionHelpSearch = 0x07;
inline constexpr std::int32_t kActionContextHelp = 0x08;
inline constexpr std::int32_t kActionCut = 0x0A;
inline constexpr std::int32_t kActionCopy = 0x0B;
inline constexpr std::int32_t kActionPaste = 0x0C;
inline constexpr std::int32_t kActionClear = 0x0D;
inline constexpr std::int32_t kActionUndo = 0x0E;
inline constexpr std::int32_t kActionClose = 0x0F;
inline constexpr std::int32_t kActionPrintSetup = 0x10;
inline constexpr std::int32_t kActionTileHorizontal = 0x11;
inline constexpr std::int32_t kActionTileVertical = 0x12;

/// True for the numbers above.
bool IsStandardAction(std::int32_t number);

/// Carries out a standard action for `window`. The window arrangements need an application
/// frame, which this runtime never has, so they do nothing; so does a number that names no
/// action.
void CarryOutStandardAction(WindowObject& window, std::int32_t action);

/// Print setup is the printing subsystem's dialog, owned by the window it was asked for; the
/// program installs it when it starts, and without it the action does nothing.
using PrintSetupHook = void (*)(HWND owner);
void SetPrintSetupHook(PrintSetupHook hook);
PrintSetupHook InstalledPrintSetupHook();

/// The control window that last had the focus (runtime controls report it when they gain the
/// focus), for the edit actions that act on it.
void RememberLastFocusWindow(HWND control);
HWND LastFocusWindow();

}  // namespace vel::windows
