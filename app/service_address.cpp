#include "app/service_address.h"

#include "app/search_settings.h"
#include "runtime/services/settings_access.h"
#include "runtime/values/string_stack.h"

namespace vel::app {

std::string ServiceAddress() {
  values::PushCString(kSettingsFile);
  values::PushCString(kDefaultServiceAddress);
  values::PushCString(kServiceAddressKey);
  values::PushCString(kServiceSection);
  services::GETINI();
  values::StringView found = values::TopView();
  std::string address(found.data != nullptr ? found.data : "", found.length);
  values::DropTop();
  // A key present but blank reads as blank, not as the default.
  return address.empty() ? kDefaultServiceAddress : address;
}

}  // namespace vel::app
