#ifndef CODEC_ENCODABLE_VALUE_H_
#define CODEC_ENCODABLE_VALUE_H_

#include <any>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

namespace flutter {

class EncodableValue;

using EncodableList = std::vector<EncodableValue>;
using EncodableMap = std::map<EncodableValue, EncodableValue>;

// Holds one application-defined value of any copyable type. Moving one copies
// it: the source keeps its content.
class CustomEncodableValue {
 public:
  explicit CustomEncodableValue(const std::any& value) : value_(value) {}
  CustomEncodableValue(const CustomEncodableValue&) = default;
  CustomEncodableValue& operator=(const CustomEncodableValue&) = default;
  ~CustomEncodableValue() = default;

  operator std::any&() { return value_; }
  operator const std::any&() const { return value_; }
  const std::type_info& type() const noexcept { return value_.type(); }

 private:
  std::any value_;
};

// The value type of the channels: one of fourteen alternatives, numbered as
// below. Scalars are stored inline; strings, lists, maps and custom values are
// held out of line, so a value is 16 bytes and big lists of values stay
// compact. A moved-from value keeps its alternative and reads as its empty
// content.
//
// Access mirrors std::variant: flutter::holds_alternative<T>(v),
// flutter::get_if<T>(&v), flutter::get<T>(v) (which throws
// std::bad_variant_access on the wrong alternative) and v.index().
class EncodableValue {
 public:
  // The index of alternative T: std::monostate (null), bool, int32_t,
  // int64_t, double, std::string, std::vector<uint8_t>, std::vector<int32_t>,
  // std::vector<int64_t>, std::vector<double>, EncodableList, EncodableMap,
  // CustomEncodableValue, std::vector<float>, in this order.
  template <typename T>
  static constexpr size_t IndexOf();

  EncodableValue() noexcept : index_(0) { storage_.pointer = nullptr; }
  EncodableValue(std::monostate) noexcept : EncodableValue() {}
  // A template so that pointers and other scalars do not convert to bool.
  template <typename T,
            std::enable_if_t<std::is_same_v<T, bool>, int> = 0>
  EncodableValue(T value) noexcept : index_(1) {
    storage_.boolean = value;
  }
  EncodableValue(int32_t value) noexcept : index_(2) {
    storage_.int32 = value;
  }
  EncodableValue(int64_t value) noexcept : index_(3) {
    storage_.int64 = value;
  }
  EncodableValue(double value) noexcept : index_(4) { storage_.real = value; }
  explicit EncodableValue(const char* text) : EncodableValue(std::string(text)) {}
  EncodableValue(const std::string& value) : EncodableValue(Make(value)) {}
  EncodableValue(std::string&& value) : EncodableValue(Make(std::move(value))) {}
  EncodableValue(const std::vector<uint8_t>& value) : EncodableValue(Make(value)) {}
  EncodableValue(std::vector<uint8_t>&& value)
      : EncodableValue(Make(std::move(value))) {}
  EncodableValue(const std::vector<int32_t>& value) : EncodableValue(Make(value)) {}
  EncodableValue(std::vector<int32_t>&& value)
      : EncodableValue(Make(std::move(value))) {}
  EncodableValue(const std::vector<int64_t>& value) : EncodableValue(Make(value)) {}
  EncodableValue(std::vector<int64_t>&& value)
      : EncodableValue(Make(std::move(value))) {}
  EncodableValue(const std::vector<double>& value) : EncodableValue(Make(value)) {}
  EncodableValue(std::vector<double>&& value)
      : EncodableValue(Make(std::move(value))) {}
  EncodableValue(const EncodableList& value) : EncodableValue(Make(value)) {}
  EncodableValue(EncodableList&& value) : EncodableValue(Make(std::move(value))) {}
  EncodableValue(const EncodableMap& value) : EncodableValue(Make(value)) {}
  EncodableValue(EncodableMap&& value) : EncodableValue(Make(std::move(value))) {}
  EncodableValue(const CustomEncodableValue& value) : EncodableValue(Make(value)) {}
  EncodableValue(const std::vector<float>& value) : EncodableValue(Make(value)) {}
  EncodableValue(std::vector<float>&& value)
      : EncodableValue(Make(std::move(value))) {}

  EncodableValue(const EncodableValue& other);
  EncodableValue(EncodableValue&& other) noexcept;
  EncodableValue& operator=(const EncodableValue& other);
  EncodableValue& operator=(EncodableValue&& other) noexcept;
  ~EncodableValue() {
    // Inline for scalars, which own nothing: big lists of them die fast.
    if (index_ >= kFirstOutOfLine && index_ <= kLastOutOfLine) Destroy();
  }

  // 0 to 13, or std::variant_npos when an earlier assignment failed to
  // allocate (valueless).
  size_t index() const noexcept {
    return index_ == kValueless ? std::variant_npos : index_;
  }
  bool valueless_by_exception() const noexcept { return index_ == kValueless; }
  bool IsNull() const noexcept { return index_ == 0; }

  // The ordering of map keys: alternatives by index, then content.
  friend bool operator<(const EncodableValue& a, const EncodableValue& b);
  friend bool operator==(const EncodableValue& a, const EncodableValue& b) {
    return !(a < b) && !(b < a);
  }
  friend bool operator!=(const EncodableValue& a, const EncodableValue& b) {
    return !(a == b);
  }

  // Content access; see the free functions below.
  template <typename T>
  const T* GetIf() const noexcept;
  template <typename T>
  T* GetIf();

 private:
  static constexpr uint8_t kValueless = 0xFF;
  // Strings up to float lists (5 to 13) are held out of line.
  static constexpr uint8_t kFirstOutOfLine = 5;
  static constexpr uint8_t kLastOutOfLine = 13;

  struct OutOfLine {
    uint8_t index;
    void* pointer;
  };
  template <typename T>
  static OutOfLine Make(T&& value) {
    using U = std::decay_t<T>;
    return {static_cast<uint8_t>(IndexOf<U>()), new U(std::forward<T>(value))};
  }
  explicit EncodableValue(OutOfLine made) noexcept : index_(made.index) {
    storage_.pointer = made.pointer;
  }

  void Destroy() noexcept;
  void CopyContentFrom(const EncodableValue& other);

  template <typename T>
  static const T& Empty();

  uint8_t index_;
  union {
    bool boolean;
    int32_t int32;
    int64_t int64;
    double real;
    void* pointer;  // out-of-line content; null reads as empty content
  } storage_;
};

template <typename T>
constexpr size_t EncodableValue::IndexOf() {
  if constexpr (std::is_same_v<T, std::monostate>) return 0;
  else if constexpr (std::is_same_v<T, bool>) return 1;
  else if constexpr (std::is_same_v<T, int32_t>) return 2;
  else if constexpr (std::is_same_v<T, int64_t>) return 3;
  else if constexpr (std::is_same_v<T, double>) return 4;
  else if constexpr (std::is_same_v<T, std::string>) return 5;
  else if constexpr (std::is_same_v<T, std::vector<uint8_t>>) return 6;
  else if constexpr (std::is_same_v<T, std::vector<int32_t>>) return 7;
  else if constexpr (std::is_same_v<T, std::vector<int64_t>>) return 8;
  else if constexpr (std::is_same_v<T, std::vector<double>>) return 9;
  else if constexpr (std::is_same_v<T, EncodableList>) return 10;
  else if constexpr (std::is_same_v<T, EncodableMap>) return 11;
  else if constexpr (std::is_same_v<T, CustomEncodableValue>) return 12;
  else if constexpr (std::is_same_v<T, std::vector<float>>) return 13;
  else static_assert(sizeof(T) == 0, "not an EncodableValue alternative");
}

template <typename T>
const T& EncodableValue::Empty() {
  static const T empty{};
  return empty;
}

template <typename T>
const T* EncodableValue::GetIf() const noexcept {
  constexpr size_t kIndex = IndexOf<T>();
  if (index_ != kIndex) return nullptr;
  if constexpr (std::is_same_v<T, std::monostate>) {
    static constexpr std::monostate kNull{};
    return &kNull;
  } else if constexpr (std::is_same_v<T, bool>) {
    return &storage_.boolean;
  } else if constexpr (std::is_same_v<T, int32_t>) {
    return &storage_.int32;
  } else if constexpr (std::is_same_v<T, int64_t>) {
    return &storage_.int64;
  } else if constexpr (std::is_same_v<T, double>) {
    return &storage_.real;
  } else if constexpr (std::is_same_v<T, CustomEncodableValue>) {
    return static_cast<const T*>(storage_.pointer);  // never moved from
  } else {
    return storage_.pointer ? static_cast<const T*>(storage_.pointer)
                            : &Empty<T>();
  }
}

template <typename T>
T* EncodableValue::GetIf() {
  if constexpr (IndexOf<T>() >= kFirstOutOfLine &&
                !std::is_same_v<T, CustomEncodableValue>) {
    // A moved-from string or list gets fresh empty storage on first mutable
    // use, instead of the shared empty object that const access reads.
    if (index_ == IndexOf<T>() && !storage_.pointer) storage_.pointer = new T();
  }
  return const_cast<T*>(static_cast<const EncodableValue&>(*this).GetIf<T>());
}

template <typename T>
bool holds_alternative(const EncodableValue& value) noexcept {
  return value.index() == EncodableValue::IndexOf<T>();
}

template <typename T>
const T* get_if(const EncodableValue* value) noexcept {
  return value ? value->GetIf<T>() : nullptr;
}

template <typename T>
T* get_if(EncodableValue* value) {
  return value ? value->GetIf<T>() : nullptr;
}

template <typename T>
const T& get(const EncodableValue& value) {
  if (const T* content = value.GetIf<T>()) return *content;
  throw std::bad_variant_access();
}

template <typename T>
T& get(EncodableValue& value) {
  if (T* content = value.GetIf<T>()) return *content;
  throw std::bad_variant_access();
}

}  // namespace flutter

#endif  // CODEC_ENCODABLE_VALUE_H_
