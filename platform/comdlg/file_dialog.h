#pragma once
// The open and save dialogs: the state of one dialog while it runs, its built-in template and
// the checks and results of a chosen name. file_dialog_procedure.cpp works the dialog.

#include <string>
#include <vector>

#include "platform/comdlg/common_dialog.h"
#include "platform/comdlg/directory_listing.h"
#include "win32.h"

namespace vel::platform {

struct FileFilter {
  std::string description;
  std::string patterns;
};

struct FileDialog {
  OPENFILENAMEA* request = nullptr;
  bool save = false;
  CommonDialogHook hook;
  /// The directory shown, as stored on disk (UTF-8).
  std::string directory;
  std::vector<FileFilter> filters;
  /// The patterns the file list shows: the chosen filter's, or a pattern typed as the name.
  std::string patterns;
  std::vector<DirectoryEntry> entries;
  /// The folder each row of the folder list opens, and how far it is indented.
  std::vector<std::string> folderPaths;
  std::vector<int> folderLevels;
  /// The places offered instead of drives.
  std::vector<Place> places;
  /// The registered messages the hook hears ("commdlg_FileNameOK", ...).
  UINT fileOkMessage = 0;
  UINT selectionChangedMessage = 0;
  bool accepted = false;
};

/// The filters of a zero-separated filter text (pairs of description and patterns, ending with
/// an empty string).
std::vector<FileFilter> ParseFilters(const char* filter);

/// The standard open / save template ("File name", the file and folder lists, the type and
/// place lists, OK, Cancel, Help and Read only).
DialogTemplate StandardFileTemplate(bool save);

/// Runs the open or save dialog for a request; what GetOpenFileNameA / GetSaveFileNameA answer.
BOOL RunFileDialog(OPENFILENAMEA* request, bool save);

/// Checks a name typed or chosen (relative to the dialog's directory) against the request's
/// flags, asking the user where the flags say so; on success fills the request's buffers.
/// False when the dialog should stay open.
bool AcceptFileName(HWND dialog, FileDialog& state, const std::string& typed);

/// Fills lpstrFile (several names for a multiple selection), lpstrFileTitle and the offsets.
/// False with FNERR_BUFFERTOOSMALL when lpstrFile cannot hold the result.
bool StoreFileNames(FileDialog& state, const std::string& directory, const std::vector<std::string>& names);

}  // namespace vel::platform
