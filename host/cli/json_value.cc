#include "host/cli/json_value.h"

#include <cfloat>
#include <cmath>
#include <limits>
#include <utility>

namespace clipboard_host {
namespace {

using flutter::CustomEncodableValue;
using flutter::EncodableList;
using flutter::EncodableMap;
using flutter::EncodableValue;
using Json = nlohmann::json;

[[noreturn]] void Fail(const std::string& where, const std::string& what) {
  throw JsonValueError((where.empty() ? std::string("value") : where) + ": " +
                       what);
}

std::string Child(const std::string& where, size_t index) {
  return where + "[" + std::to_string(index) + "]";
}

std::string Child(const std::string& where, const std::string& key) {
  return where.empty() ? key : where + "." + key;
}

int64_t IntegerOf(const Json& json, const std::string& where) {
  if (json.is_number_unsigned()) {
    uint64_t value = json.get<uint64_t>();
    if (value > static_cast<uint64_t>(std::numeric_limits<int64_t>::max())) {
      Fail(where, "integer out of the int64 range");
    }
    return static_cast<int64_t>(value);
  }
  if (json.is_number_integer()) return json.get<int64_t>();
  Fail(where, "expected an integer");
}

int32_t Int32Of(const Json& json, const std::string& where) {
  int64_t value = IntegerOf(json, where);
  if (value < std::numeric_limits<int32_t>::min() ||
      value > std::numeric_limits<int32_t>::max()) {
    Fail(where, "integer out of the int32 range");
  }
  return static_cast<int32_t>(value);
}

uint8_t ByteOf(const Json& json, const std::string& where) {
  int64_t value = IntegerOf(json, where);
  if (value < 0 || value > 255) Fail(where, "expected a byte (0 to 255)");
  return static_cast<uint8_t>(value);
}

// JSON has no NaN or infinities, so they travel as these strings.
double DoubleOf(const Json& json, const std::string& where) {
  if (json.is_number()) return json.get<double>();
  if (json.is_string()) {
    const std::string& text = json.get_ref<const std::string&>();
    if (text == "NaN") return std::numeric_limits<double>::quiet_NaN();
    if (text == "Infinity") return std::numeric_limits<double>::infinity();
    if (text == "-Infinity") return -std::numeric_limits<double>::infinity();
  }
  Fail(where, "expected a number, \"NaN\", \"Infinity\" or \"-Infinity\"");
}

float FloatOf(const Json& json, const std::string& where) {
  double value = DoubleOf(json, where);
  // Converting a finite double beyond the float range is undefined.
  if (std::isfinite(value) && std::fabs(value) > FLT_MAX) {
    Fail(where, "number out of the float32 range");
  }
  return static_cast<float>(value);
}

const Json& ArrayOf(const Json& json, const std::string& where) {
  if (!json.is_array()) Fail(where, "expected an array");
  return json;
}

template <typename T, typename Element>
std::vector<T> VectorOf(const Json& json, const std::string& where,
                        Element element) {
  std::vector<T> values;
  const Json& array = ArrayOf(json, where);
  values.reserve(array.size());
  for (size_t i = 0; i < array.size(); ++i) {
    values.push_back(element(array[i], Child(where, i)));
  }
  return values;
}

std::vector<uint8_t> LoadFile(const Json& json, const std::string& where,
                              const FileLoader& load_file) {
  if (!json.is_string()) Fail(where, "expected a file name");
  if (!load_file) Fail(where, "files cannot be read here");
  return load_file(json.get<std::string>());
}

EncodableValue FromTagged(const std::string& tag, const Json& body,
                          const std::string& where,
                          const FileLoader& load_file) {
  const std::string at = Child(where, tag);
  if (tag == "$int32") return EncodableValue(Int32Of(body, at));
  if (tag == "$int64") return EncodableValue(IntegerOf(body, at));
  if (tag == "$double") return EncodableValue(DoubleOf(body, at));
  if (tag == "$bytes")
    return EncodableValue(VectorOf<uint8_t>(body, at, ByteOf));
  if (tag == "$int32s") {
    return EncodableValue(VectorOf<int32_t>(body, at, Int32Of));
  }
  if (tag == "$int64s") {
    return EncodableValue(VectorOf<int64_t>(body, at, IntegerOf));
  }
  if (tag == "$float32s") {
    return EncodableValue(VectorOf<float>(body, at, FloatOf));
  }
  if (tag == "$float64s") {
    return EncodableValue(VectorOf<double>(body, at, DoubleOf));
  }
  if (tag == "$string") {
    std::vector<uint8_t> bytes = VectorOf<uint8_t>(body, at, ByteOf);
    return EncodableValue(std::string(bytes.begin(), bytes.end()));
  }
  if (tag == "$map") {
    EncodableMap map;
    const Json& pairs = ArrayOf(body, at);
    for (size_t i = 0; i < pairs.size(); ++i) {
      const std::string pair_at = Child(at, i);
      if (!pairs[i].is_array() || pairs[i].size() != 2) {
        Fail(pair_at, "expected a [key, value] pair");
      }
      map[ValueFromJson(pairs[i][0], load_file)] =
          ValueFromJson(pairs[i][1], load_file);
    }
    return EncodableValue(std::move(map));
  }
  if (tag == "$file") {
    std::vector<uint8_t> bytes = LoadFile(body, at, load_file);
    EncodableList list;
    list.reserve(bytes.size());
    for (uint8_t byte : bytes) list.emplace_back(static_cast<int32_t>(byte));
    return EncodableValue(std::move(list));
  }
  if (tag == "$fileBytes") return EncodableValue(LoadFile(body, at, load_file));
  if (tag == "$summary") {
    Fail(at,
         "a summary stands for a list that was not printed in full and "
         "cannot be sent");
  }
  Fail(at,
       "unknown tag (a map with one key starting with \"$\" is written "
       "{\"$map\": [[key, value]]})");
}

EncodableValue FromJson(const Json& json, const std::string& where,
                        const FileLoader& load_file) {
  switch (json.type()) {
    case Json::value_t::null:
      return EncodableValue();
    case Json::value_t::boolean:
      return EncodableValue(json.get<bool>());
    case Json::value_t::number_integer:
    case Json::value_t::number_unsigned: {
      int64_t value = IntegerOf(json, where);
      if (value >= std::numeric_limits<int32_t>::min() &&
          value <= std::numeric_limits<int32_t>::max()) {
        return EncodableValue(static_cast<int32_t>(value));
      }
      return EncodableValue(value);
    }
    case Json::value_t::number_float:
      return EncodableValue(json.get<double>());
    case Json::value_t::string:
      return EncodableValue(json.get<std::string>());
    case Json::value_t::array: {
      EncodableList list;
      list.reserve(json.size());
      for (size_t i = 0; i < json.size(); ++i) {
        list.push_back(FromJson(json[i], Child(where, i), load_file));
      }
      return EncodableValue(std::move(list));
    }
    case Json::value_t::object: {
      if (json.size() == 1 && json.begin().key().rfind('$', 0) == 0) {
        return FromTagged(json.begin().key(), json.begin().value(), where,
                          load_file);
      }
      EncodableMap map;
      for (auto it = json.begin(); it != json.end(); ++it) {
        map[EncodableValue(it.key())] =
            FromJson(it.value(), Child(where, it.key()), load_file);
      }
      return EncodableValue(std::move(map));
    }
    default:
      Fail(where, "not a JSON value");
  }
}

Json Tagged(const char* tag, Json body) {
  Json json = Json::object();
  json[tag] = std::move(body);
  return json;
}

Json FloatElement(double value) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value > 0 ? "Infinity" : "-Infinity";
  return value;
}

Json DoubleToJson(double value) {
  if (std::isfinite(value)) return value;
  return Tagged("$double", FloatElement(value));
}

Json StringToJson(const std::string& text) {
  if (IsValidUtf8(text)) return text;
  Json bytes = Json::array();
  for (char c : text) bytes.push_back(static_cast<uint8_t>(c));
  return Tagged("$string", std::move(bytes));
}

template <typename Container, typename Element>
Json ArrayOfElements(const Container& values, Element element) {
  Json array = Json::array();
  for (const auto& value : values) array.push_back(element(value));
  return array;
}

Json Summary(const char* of, size_t length, Json first) {
  Json body = Json::object();
  body["of"] = of;
  body["length"] = length;
  body["first"] = std::move(first);
  return Tagged("$summary", std::move(body));
}

// Images cross the channel as lists of int32 bytes; those are what need
// summarising when printed.
bool IsByteLikeList(const EncodableList& list) {
  for (const EncodableValue& element : list) {
    const int32_t* value = flutter::get_if<int32_t>(&element);
    if (value == nullptr || *value < 0 || *value > 255) return false;
  }
  return true;
}

Json BytesToJson(const std::vector<uint8_t>& bytes,
                 const PrintOptions& options) {
  auto as_int = [](uint8_t byte) { return Json(byte); };
  if (bytes.size() > options.summarise_above) {
    std::vector<uint8_t> head(
        bytes.begin(),
        bytes.begin() + std::min(options.summary_head, bytes.size()));
    return Summary("bytes", bytes.size(), ArrayOfElements(head, as_int));
  }
  return Tagged("$bytes", ArrayOfElements(bytes, as_int));
}

Json ListToJson(const EncodableList& list, const PrintOptions& options) {
  if (list.size() > options.summarise_above && IsByteLikeList(list)) {
    Json head = Json::array();
    for (size_t i = 0; i < options.summary_head && i < list.size(); ++i) {
      head.push_back(flutter::get<int32_t>(list[i]));
    }
    return Summary("list", list.size(), std::move(head));
  }
  Json array = Json::array();
  for (const EncodableValue& element : list) {
    array.push_back(ValueToJson(element, options));
  }
  return array;
}

bool HasPlainKeys(const EncodableMap& map) {
  for (const auto& entry : map) {
    const std::string* key = flutter::get_if<std::string>(&entry.first);
    if (key == nullptr || !IsValidUtf8(*key)) return false;
    // One "$" key alone would read back as a tag.
    if (map.size() == 1 && key->rfind('$', 0) == 0) return false;
  }
  return true;
}

Json MapToJson(const EncodableMap& map, const PrintOptions& options) {
  if (HasPlainKeys(map)) {
    Json object = Json::object();
    for (const auto& [key, value] : map) {
      object[flutter::get<std::string>(key)] = ValueToJson(value, options);
    }
    return object;
  }
  Json pairs = Json::array();
  for (const auto& [key, value] : map) {
    pairs.push_back(
        Json::array({ValueToJson(key, options), ValueToJson(value, options)}));
  }
  return Tagged("$map", std::move(pairs));
}

}  // namespace

EncodableValue ValueFromJsonText(const std::string& text,
                                 const FileLoader& load_file) {
  Json json;
  try {
    json = Json::parse(text);
  } catch (const Json::parse_error& error) {
    throw JsonValueError(std::string("invalid JSON: ") + error.what());
  }
  return ValueFromJson(json, load_file);
}

EncodableValue ValueFromJson(const Json& json, const FileLoader& load_file) {
  return FromJson(json, "", load_file);
}

Json ValueToJson(const EncodableValue& value, const PrintOptions& options) {
  auto as_int = [](auto element) { return Json(element); };
  switch (value.index()) {
    case 0:
      return nullptr;
    case 1:
      return flutter::get<bool>(value);
    case 2:
      return flutter::get<int32_t>(value);
    case 3:
      return Tagged("$int64", flutter::get<int64_t>(value));
    case 4:
      return DoubleToJson(flutter::get<double>(value));
    case 5:
      return StringToJson(flutter::get<std::string>(value));
    case 6:
      return BytesToJson(flutter::get<std::vector<uint8_t>>(value), options);
    case 7:
      return Tagged(
          "$int32s",
          ArrayOfElements(flutter::get<std::vector<int32_t>>(value), as_int));
    case 8:
      return Tagged(
          "$int64s",
          ArrayOfElements(flutter::get<std::vector<int64_t>>(value), as_int));
    case 9:
      return Tagged("$float64s",
                    ArrayOfElements(flutter::get<std::vector<double>>(value),
                                    FloatElement));
    case 10:
      return ListToJson(flutter::get<EncodableList>(value), options);
    case 11:
      return MapToJson(flutter::get<EncodableMap>(value), options);
    case 12:
      return Tagged("$custom", nullptr);
    case 13:
      return Tagged("$float32s",
                    ArrayOfElements(flutter::get<std::vector<float>>(value),
                                    [](float f) { return FloatElement(f); }));
    default:
      return Tagged("$valueless", nullptr);
  }
}

std::string JsonText(const Json& json) {
  return json.dump(-1, ' ', /*ensure_ascii=*/false);
}

bool IsValidUtf8(const std::string& text) {
  size_t i = 0;
  const size_t size = text.size();
  while (i < size) {
    const uint8_t lead = static_cast<uint8_t>(text[i]);
    size_t extra;
    uint32_t code_point;
    if (lead < 0x80) {
      ++i;
      continue;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      extra = 1;
      code_point = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      extra = 2;
      code_point = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      extra = 3;
      code_point = lead & 0x07;
    } else {
      return false;
    }
    if (size - i <= extra) return false;
    for (size_t k = 1; k <= extra; ++k) {
      const uint8_t next = static_cast<uint8_t>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code_point = (code_point << 6) | (next & 0x3F);
    }
    // Overlong three- and four-byte forms, surrogates, beyond U+10FFFF.
    if ((extra == 2 && code_point < 0x800) ||
        (extra == 3 && (code_point < 0x10000 || code_point > 0x10FFFF)) ||
        (code_point >= 0xD800 && code_point <= 0xDFFF)) {
      return false;
    }
    i += extra + 1;
  }
  return true;
}

}  // namespace clipboard_host
