#pragma once
// The runtime's use of the platform's common dialogs: the print dialog and its print-setup form
// (standard action 0x10), the open and save dialogs, and the directory chooser built on the
// open dialog with the program's "CHOOSEDIR" template. The runtime lock is released while a
// dialog is open, so that other threads' windows stay responsive.

#include <cstdint>
#include <string>

#include "win32.h"

namespace vel::printing {

/// Options of the file dialog (bits the callers pass; others are ignored).
inline constexpr std::uint32_t kFileNoChangeDirectory = 0x2;
inline constexpr std::uint32_t kFileOverwritePrompt = 0x4;  ///< save only
inline constexpr std::uint32_t kFileMultipleSelection = 0x8;
inline constexpr std::uint32_t kFileExplorer = 0x10;

/// The print dialog, or its print-setup form, for the printer object; true when the user chose
/// OK. Choosing print to file asks for the output file ("Print To File..."); cancelling that
/// switches print to file off.
bool RunPrintDialog(HWND owner, bool setup);

/// The open or save dialog. `filter` pairs descriptions and patterns with "|" ("Text
/// (*.txt)|*.txt|All files (*.*)|*.*"); `file` gives the starting name and receives the chosen
/// one. True when the user chose a file.
bool RunFileDialog(HWND owner, const std::string& title, const std::string& filter, std::uint32_t options, bool save,
                   std::string& file);

/// The OPENFILENAME flags of a file dialog with these options.
DWORD FileDialogFlags(std::uint32_t options, bool save);

/// The directory chooser: true with the directory in `directory` when the user chose one.
bool ChooseDirectory(HWND owner, const std::string& title, std::string& directory);

/// The hook the runtime's dialogs share: centres the dialog over its owner when it opens.
UINT_PTR CALLBACK RuntimeDialogHook(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

/// Carries out standard action 0x10 (print setup) for a window.
void PrintSetupAction(HWND owner);

}  // namespace vel::printing
