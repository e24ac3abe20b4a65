#include "tests/support/gif_list.h"

#include <fstream>
#include <sstream>

namespace vel::testing {

std::vector<ListedGif> ReadGifList(const std::string& path) {
  std::vector<ListedGif> gifs;
  std::ifstream list(path);
  std::string line;
  while (std::getline(list, line)) {
    std::istringstream fields(line.substr(0, line.find('#')));
    ListedGif gif;
    std::string second;
    if (!(fields >> gif.file >> second)) continue;
    if (second == "refused") {
      gif.refused = true;
    } else {
      gif.width = std::stoi(second);
      std::string delays;
      fields >> gif.height >> gif.frames >> gif.loopCount >> delays;
      std::istringstream each(delays);
      std::string delay;
      while (std::getline(each, delay, ',')) gif.delays.push_back(std::stoi(delay));
    }
    gifs.push_back(gif);
  }
  return gifs;
}

}  // namespace vel::testing
