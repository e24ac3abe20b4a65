#include "runtime/services/settings_access.h"

#include "runtime/values/string_stack.h"
#include "win32.h"

namespace vel::services {
namespace {

struct SettingsArguments {
  char section[kSettingsSectionBuffer];
  char key[kSettingsKeyBuffer];
  char value[kSettingsValueBuffer];  // The value to write, or the default that becomes the result.
  char file[kSettingsFileBuffer];
};

// Takes one argument off the string stack: clipped, cut to the buffer and terminated.
void TakeArgument(char* buffer, unsigned size) {
  values::ClipTop();
  values::PopToCString(buffer, size);
}

// The section is on top: it was pushed last.
void TakeArguments(SettingsArguments& arguments) {
  TakeArgument(arguments.section, sizeof arguments.section);
  TakeArgument(arguments.key, sizeof arguments.key);
  TakeArgument(arguments.value, sizeof arguments.value);
  TakeArgument(arguments.file, sizeof arguments.file);
}

}  // namespace

void WriteSetting(bool keyGiven, bool valueGiven) {
  SettingsArguments arguments;
  TakeArguments(arguments);
  const char* key = keyGiven ? arguments.key : nullptr;
  const char* value = valueGiven ? arguments.value : nullptr;
  if (arguments.file[0] != '\0') {
    WritePrivateProfileStringA(arguments.section, key, value, arguments.file);
  } else {
    WriteProfileStringA(arguments.section, key, value);
  }
}

void GETINI() {
  SettingsArguments arguments;
  TakeArguments(arguments);
  // The default already lies in the result buffer; the platform overwrites it with the value
  // it finds.
  char* result = arguments.value;
  if (arguments.file[0] != '\0') {
    GetPrivateProfileStringA(arguments.section, arguments.key, result, result, sizeof arguments.value, arguments.file);
  } else {
    GetProfileStringA(arguments.section, arguments.key, result, result, sizeof arguments.value);
  }
  values::PushCString(result);
}

}  // namespace vel::services
