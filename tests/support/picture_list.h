#pragma once
// The list of test pictures in tests/data/images/pictures.txt: each picture with what the
// runtime must make of it (its kind, size and depth and its reference decode, or a refusal).

#include <string>
#include <vector>

namespace vel::testing {

struct ListedPicture {
  std::string file;
  bool refused = false;
  std::string kind;
  int width = 0;
  int height = 0;
  int bits = 0;
  std::string reference;
};

/// Reads a picture list; empty when the file cannot be read.
std::vector<ListedPicture> ReadPictureList(const std::string& path);

}  // namespace vel::testing
