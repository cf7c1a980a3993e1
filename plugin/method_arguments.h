#ifndef PLUGIN_METHOD_ARGUMENTS_H_
#define PLUGIN_METHOD_ARGUMENTS_H_

#include <string>

#include "codec/encodable_value.h"

namespace clipboard {

// The value under the string key `key`, or null when there is none.
inline const flutter::EncodableValue* FindArgument(
    const flutter::EncodableMap& arguments, const char* key) {
  auto it = arguments.find(flutter::EncodableValue(key));
  return it == arguments.end() ? nullptr : &it->second;
}

// The value under `key` when it is of kind T; null when absent or of another
// kind.
template <typename T>
const T* FindArgumentOf(const flutter::EncodableMap& arguments,
                        const char* key) {
  return flutter::get_if<T>(FindArgument(arguments, key));
}

// The string under `key` when it is a non-empty string, else null.
inline const std::string* NonEmptyStringArgument(
    const flutter::EncodableMap& arguments, const char* key) {
  const std::string* value = FindArgumentOf<std::string>(arguments, key);
  return value && !value->empty() ? value : nullptr;
}

}  // namespace clipboard

#endif  // PLUGIN_METHOD_ARGUMENTS_H_
