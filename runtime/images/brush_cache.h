#pragma once
// The runtime's brushes, one per colour value, made on first use and shared through reference
// counts. The cache starts with the colours most windows paint with; brushes of system colours
// are made again after the system colours change, so they keep following them.

#include <cstddef>
#include <map>
#include <mutex>

#include "runtime/images/color_value.h"
#include "win32.h"

namespace vel::images {

class BrushCache {
 public:
  BrushCache() = default;
  ~BrushCache();
  BrushCache(const BrushCache&) = delete;
  BrushCache& operator=(const BrushCache&) = delete;

  /// The brush of a colour value, taking one reference to it (the null stock brush for no
  /// colour).
  HBRUSH Acquire(ColorValue value);
  /// Gives back a reference taken by Acquire; a brush nobody refers to any more is deleted.
  void Release(ColorValue value);
  /// The brush of a value the cache holds, without taking a reference (made again if a system
  /// colour change deleted it); null for a value it does not hold.
  HBRUSH Current(ColorValue value);

  /// Fills the cache with the start colours: window frame, window text, button face, button
  /// highlight, button shadow, window, highlight text and highlight, then white. The cache
  /// holds a reference to each, so they live until Clear.
  void FillStartColors();
  /// Deletes every brush of a system colour; each is made again on its next use.
  void SystemColorsChanged();
  /// Deletes every brush and forgets every value.
  void Clear();

  std::size_t Size() const;
  /// References a value has (0 when the cache does not hold it).
  int References(ColorValue value) const;

 private:
  struct Entry {
    HBRUSH brush = nullptr;
    int references = 0;
  };

  static HBRUSH MakeBrush(ColorValue value);
  static void DeleteBrush(ColorValue value, HBRUSH brush);

  mutable std::mutex m_mutex;
  std::map<ColorValue, Entry> m_entries;
};

/// The runtime's brush cache, which the image support service fills and clears.
BrushCache& RuntimeBrushes();

}  // namespace vel::images
