#include "app/search_fields.h"

#include <cstring>

namespace vel::app {

void ClearSearchFields(SearchFields& fields) {
  std::memset(fields.searchText, ' ', sizeof fields.searchText);
  std::memset(fields.authorText, ' ', sizeof fields.authorText);
  std::memset(fields.viewFormat, ' ', sizeof fields.viewFormat);
  std::memset(fields.andOr, ' ', sizeof fields.andOr);
  fields.maximumHits = 0;
}

}  // namespace vel::app
