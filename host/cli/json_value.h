// Conversion between channel values and JSON, in a notation that keeps every
// kind of value apart, so that what the host prints can be fed back to it.
//
//   JSON                          value
//   null, true, false             null, bool
//   an integer                    int32 when it fits, otherwise int64
//   a number with "." or "e"      double
//   "text"                        string (UTF-8)
//   [ ... ]                       list
//   {"key": ..., ...}             map with string keys
//
// A JSON object with exactly one key that starts with "$" is a tagged value:
//
//   {"$int32": 5}  {"$int64": 5}  {"$double": 1 | "NaN" | "Infinity" | ...}
//   {"$bytes": [0..255, ...]}     byte list (a typed list, not a list)
//   {"$int32s": [...]} {"$int64s": [...]} {"$float32s": [...]}
//   {"$float64s": [...]}          typed lists; floats may be "NaN" etc.
//   {"$string": [0..255, ...]}    a string given by its bytes (not UTF-8)
//   {"$map": [[key, value], ...]} a map with keys of any kind
//   {"$file": "path"}             list of int32, one per byte of the file
//   {"$fileBytes": "path"}        byte list with the bytes of the file
//
// The printed form uses the same tags: int64 as {"$int64": n}, doubles always
// with a "." or an exponent, strings that are not UTF-8 as {"$string": ...},
// maps with a non-string key (or a single key starting with "$") as $map.
// Long byte lists (the byte list kind, and lists whose elements are all int32
// in 0..255, which is how images cross the channel) are printed as
// {"$summary": {"of": "bytes" | "list", "length": n, "first": [...]}}
// unless printing in full is asked for. A summary cannot be read back.
#ifndef HOST_CLI_JSON_VALUE_H_
#define HOST_CLI_JSON_VALUE_H_

#include <cstddef>
#include <cstdint>
#include <functional>
#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>
#include <vector>

#include "codec/encodable_value.h"

namespace clipboard_host {

// A JSON text or tagged value that does not describe a value.
class JsonValueError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Reads a whole file named by a UTF-8 path for the $file tags. It reports a
// failure by throwing; its exception passes through the conversion unchanged.
using FileLoader =
    std::function<std::vector<uint8_t>(const std::string& utf8_path)>;

// Parses JSON text into a value. Throws JsonValueError with a message that
// names the offending part.
flutter::EncodableValue ValueFromJsonText(const std::string& text,
                                          const FileLoader& load_file);
flutter::EncodableValue ValueFromJson(const nlohmann::json& json,
                                      const FileLoader& load_file);

struct PrintOptions {
  // Byte lists longer than this are summarised; SIZE_MAX prints everything.
  size_t summarise_above = 64;
  // How many leading elements a summary shows.
  size_t summary_head = 16;
};

nlohmann::json ValueToJson(const flutter::EncodableValue& value,
                           const PrintOptions& options = {});

// Compact JSON text with non-ASCII characters as UTF-8, not escaped.
std::string JsonText(const nlohmann::json& json);

// True when `text` is well-formed UTF-8 (no overlong forms, no surrogates).
bool IsValidUtf8(const std::string& text);

}  // namespace clipboard_host

#endif  // HOST_CLI_JSON_VALUE_H_
