#pragma once
// Compiling picture texts such as "@N10.2", "@D2" or "s40" into the fixed record.

#include "runtime/values/picture_record.h"

namespace vel::values {

/// Compiles `text` (zero-terminated; nullptr compiles to a string picture of width 255) into
/// `picture`. An invalid picture compiles to width 0; compiling never fails otherwise.
void CompilePicture(const char* text, CompiledPicture& picture);

/// 0 for an invalid picture, 2 for a string picture, otherwise twice the width plus 2.
int PictureBufferSize(const char* text);

namespace detail {

/// A view of the picture text being compiled, with the cursor helpers the compilers share.
struct PictureCursor {
  const char* at;
  const char* end;

  bool AtEnd() const { return at >= end; }
  char Peek(int ahead = 0) const { return at + ahead < end ? at[ahead] : '\0'; }
  bool IsDigit(int ahead = 0) const { return Peek(ahead) >= '0' && Peek(ahead) <= '9'; }
  /// Reads a decimal number of at most 3 digits (more digits make it invalid: -1); -2 when
  /// no digit stands at the cursor.
  int ReadNumber();
  /// True when only blanks and tabs remain.
  bool OnlyBlanksRemain() const;
};

/// Compiles the text after the letter "N".
bool CompileNumericPicture(PictureCursor cursor, CompiledPicture& picture);

/// Compiles the text after the letter "E".
bool CompileScientificPicture(PictureCursor cursor, CompiledPicture& picture);

/// Maps the separator letters of the picture language: "_" is a blank and the grave accent a
/// comma; any other character stands for itself.
inline char MapSeparator(char c) { return c == '_' ? ' ' : c == '`' ? ',' : c; }

}  // namespace detail
}  // namespace vel::values
