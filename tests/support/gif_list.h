#pragma once
// The list of GIF test pictures in tests/data/images/gif/gifs.txt: each picture with its canvas
// size, its frames, loop count and delays (each frame N's reference decode is <file>.<N>.png),
// or a refusal.

#include <string>
#include <vector>

namespace vel::testing {

struct ListedGif {
  std::string file;
  bool refused = false;
  int width = 0;
  int height = 0;
  int frames = 0;
  int loopCount = -1;  ///< -1: the file has no looping block.
  std::vector<int> delays;

  /// The reference decode of the canvas after frame `n`.
  std::string Reference(int n) const { return file + "." + std::to_string(n) + ".png"; }
};

/// Reads a GIF list; empty when the file cannot be read.
std::vector<ListedGif> ReadGifList(const std::string& path);

}  // namespace vel::testing
