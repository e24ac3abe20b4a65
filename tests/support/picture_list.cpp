#include "tests/support/picture_list.h"

#include <fstream>
#include <sstream>

namespace vel::testing {

std::vector<ListedPicture> ReadPictureList(const std::string& path) {
  std::vector<ListedPicture> pictures;
  std::ifstream list(path);
  std::string line;
  while (std::getline(list, line)) {
    std::istringstream fields(line.substr(0, line.find('#')));
    ListedPicture picture;
    std::string second;
    if (!(fields >> picture.file >> second)) continue;
    if (second == "refused") {
      picture.refused = true;
    } else {
      picture.kind = second;
      fields >> picture.width >> picture.height >> picture.bits >> picture.reference;
    }
    pictures.push_back(picture);
  }
  return pictures;
}

}  // namespace vel::testing
