#include "codec/encodable_value.h"

#include <algorithm>
#include <cstring>

namespace flutter {
namespace {

// Calls f with a typed pointer to the out-of-line content of alternative
// `index` (5 to 13), for the operations that treat all of them alike.
template <typename F>
void WithOutOfLine(uint8_t index, void* pointer, F&& f) {
  switch (index) {
    case 5: f(static_cast<std::string*>(pointer)); break;
    case 6: f(static_cast<std::vector<uint8_t>*>(pointer)); break;
    case 7: f(static_cast<std::vector<int32_t>*>(pointer)); break;
    case 8: f(static_cast<std::vector<int64_t>*>(pointer)); break;
    case 9: f(static_cast<std::vector<double>*>(pointer)); break;
    case 10: f(static_cast<EncodableList*>(pointer)); break;
    case 11: f(static_cast<EncodableMap*>(pointer)); break;
    case 12: f(static_cast<CustomEncodableValue*>(pointer)); break;
    case 13: f(static_cast<std::vector<float>*>(pointer)); break;
    default: break;
  }
}

bool IsOutOfLine(uint8_t index) { return index >= 5 && index <= 13; }

// Element by element; an unordered pair (NaN) decides nothing.
template <typename T>
bool FloatListLess(const std::vector<T>& a, const std::vector<T>& b) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    if (a[i] < b[i]) return true;
    if (b[i] < a[i]) return false;
  }
  return a.size() < b.size();
}

bool MapLess(const EncodableMap& a, const EncodableMap& b) {
  return std::lexicographical_compare(
      a.begin(), a.end(), b.begin(), b.end(),
      [](const auto& x, const auto& y) {
        if (x.first < y.first) return true;
        if (y.first < x.first) return false;
        return x.second < y.second;
      });
}

}  // namespace

EncodableValue::EncodableValue(const EncodableValue& other)
    : index_(other.index_) {
  storage_ = other.storage_;
  if (IsOutOfLine(index_)) {
    storage_.pointer = nullptr;
    index_ = kValueless;  // until the copy exists, for the destructor
    CopyContentFrom(other);
  }
}

EncodableValue::EncodableValue(EncodableValue&& other) noexcept
    : index_(other.index_) {
  storage_ = other.storage_;
  if (index_ == 12) {
    // Custom values have no move of their own; the source keeps its content.
    storage_.pointer =
        new CustomEncodableValue(*static_cast<CustomEncodableValue*>(
            other.storage_.pointer));
  } else if (IsOutOfLine(index_)) {
    other.storage_.pointer = nullptr;  // reads as empty content
  }
}

EncodableValue& EncodableValue::operator=(const EncodableValue& other) {
  if (this == &other) return *this;
  if (index_ == other.index_ && IsOutOfLine(index_) && storage_.pointer &&
      other.storage_.pointer) {
    // Same alternative: replace the content in place.
    WithOutOfLine(index_, storage_.pointer, [&](auto* mine) {
      using T = std::remove_pointer_t<decltype(mine)>;
      *mine = *static_cast<const T*>(other.storage_.pointer);
    });
    return *this;
  }
  Destroy();
  index_ = kValueless;
  if (IsOutOfLine(other.index_)) {
    CopyContentFrom(other);
  } else {
    storage_ = other.storage_;
  }
  index_ = other.index_;
  return *this;
}

EncodableValue& EncodableValue::operator=(EncodableValue&& other) noexcept {
  if (this == &other) return *this;
  if (other.index_ == 12) {
    const EncodableValue& source = other;
    return *this = source;  // custom values are copied
  }
  // Take the content before destroying ours: `other` may live inside it.
  const uint8_t index = other.index_;
  const auto storage = other.storage_;
  if (IsOutOfLine(index)) other.storage_.pointer = nullptr;
  Destroy();
  index_ = index;
  storage_ = storage;
  return *this;
}

void EncodableValue::CopyContentFrom(const EncodableValue& other) {
  const uint8_t index = other.index_;
  void* copy = nullptr;
  if (other.storage_.pointer) {
    WithOutOfLine(index, other.storage_.pointer, [&](auto* theirs) {
      using T = std::remove_pointer_t<decltype(theirs)>;
      copy = new T(*theirs);
    });
  }
  storage_.pointer = copy;
  index_ = index;
}

void EncodableValue::Destroy() noexcept {
  if (IsOutOfLine(index_) && storage_.pointer) {
    WithOutOfLine(index_, storage_.pointer, [](auto* content) { delete content; });
  }
  storage_.pointer = nullptr;
}

bool operator<(const EncodableValue& a, const EncodableValue& b) {
  if (a.index_ != b.index_) {
    // Valueless (0xFF) sorts before every alternative.
    if (a.valueless_by_exception()) return true;
    if (b.valueless_by_exception()) return false;
    return a.index_ < b.index_;
  }
  switch (a.index_) {
    case 1: return a.storage_.boolean < b.storage_.boolean;
    case 2: return a.storage_.int32 < b.storage_.int32;
    case 3: return a.storage_.int64 < b.storage_.int64;
    case 4: return a.storage_.real < b.storage_.real;
    case 5: return get<std::string>(a) < get<std::string>(b);
    case 6: return get<std::vector<uint8_t>>(a) < get<std::vector<uint8_t>>(b);
    case 7: return get<std::vector<int32_t>>(a) < get<std::vector<int32_t>>(b);
    case 8: return get<std::vector<int64_t>>(a) < get<std::vector<int64_t>>(b);
    case 9:
      return FloatListLess(get<std::vector<double>>(a),
                           get<std::vector<double>>(b));
    case 10: return get<EncodableList>(a) < get<EncodableList>(b);
    case 11: return MapLess(get<EncodableMap>(a), get<EncodableMap>(b));
    case 12:
      // By the address of the held value: a custom value equals only itself.
      return std::less<const void*>()(a.storage_.pointer, b.storage_.pointer);
    case 13:
      return FloatListLess(get<std::vector<float>>(a),
                           get<std::vector<float>>(b));
    default: return false;  // null, valueless
  }
}

}  // namespace flutter
