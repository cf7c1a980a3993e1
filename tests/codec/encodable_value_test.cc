#include "codec/encodable_value.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace flutter {
namespace {

using Bytes = std::vector<uint8_t>;

static_assert(sizeof(EncodableValue) <= 16,
              "big lists of values must stay compact");

TEST(EncodableValueTest, AlternativesAreNumberedInOrder) {
  const std::vector<EncodableValue> values = {
      EncodableValue(),
      EncodableValue(true),
      EncodableValue(int32_t{1}),
      EncodableValue(int64_t{1}),
      EncodableValue(1.0),
      EncodableValue("s"),
      EncodableValue(Bytes{1}),
      EncodableValue(std::vector<int32_t>{1}),
      EncodableValue(std::vector<int64_t>{1}),
      EncodableValue(std::vector<double>{1}),
      EncodableValue(EncodableList{}),
      EncodableValue(EncodableMap{}),
      EncodableValue(CustomEncodableValue(1)),
      EncodableValue(std::vector<float>{1}),
  };
  for (size_t i = 0; i < values.size(); ++i) EXPECT_EQ(values[i].index(), i);
  EXPECT_TRUE(holds_alternative<std::monostate>(values[0]));
  EXPECT_TRUE(values[0].IsNull());
  EXPECT_EQ(get<int32_t>(values[2]), 1);
  EXPECT_EQ(get_if<int64_t>(&values[2]), nullptr);
}

TEST(EncodableValueTest, WrongAlternativeThrowsAndChangesNothing) {
  EncodableValue value("text");
  try {
    get<int32_t>(value);
    FAIL() << "no exception";
  } catch (const std::bad_variant_access& error) {
    EXPECT_STREQ(error.what(), "bad variant access");
  }
  EXPECT_EQ(get<std::string>(value), "text");
}

// Pairs (a, b) with a < b and not b < a.
TEST(EncodableValueTest, OrderingFollowsAlternativeThenContent) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const std::vector<std::pair<EncodableValue, EncodableValue>> less = {
      {EncodableValue(), EncodableValue(false)},
      {EncodableValue(false), EncodableValue(true)},
      {EncodableValue(int32_t{100}), EncodableValue(int64_t{1})},
      {EncodableValue(int32_t{-5}), EncodableValue(int32_t{3})},
      {EncodableValue("ab"), EncodableValue("abc")},
      {EncodableValue("abc"), EncodableValue("b")},
      {EncodableValue("B"), EncodableValue("a")},
      {EncodableValue("a"), EncodableValue("\xC3\xA9")},  // bytes unsigned
      {EncodableValue(Bytes{1, 2}), EncodableValue(Bytes{1, 2, 0})},
      {EncodableValue(Bytes{0x7F}), EncodableValue(Bytes{0x80})},
      {EncodableValue(std::vector<int32_t>{-1}),
       EncodableValue(std::vector<int32_t>{0})},
      {EncodableValue(std::vector<double>{2.0, 0.5}),
       EncodableValue(std::vector<double>{nan, 1.0})},
      {EncodableValue(EncodableList{EncodableValue(1)}),
       EncodableValue(EncodableList{EncodableValue(1), EncodableValue()})},
      {EncodableValue(EncodableMap{{EncodableValue("a"), EncodableValue(1)}}),
       EncodableValue(EncodableMap{{EncodableValue("a"), EncodableValue(2)}})},
      {EncodableValue(std::vector<double>{1}),
       EncodableValue(std::vector<float>{0})},
  };
  for (const auto& [a, b] : less) {
    EXPECT_TRUE(a < b) << a.index() << " vs " << b.index();
    EXPECT_FALSE(b < a) << a.index() << " vs " << b.index();
  }
  // NaN against 2.0 decides nothing, then 1.0 is not less than 0.5.
  EXPECT_FALSE(EncodableValue(std::vector<double>{nan, 1.0}) <
               EncodableValue(std::vector<double>{2.0, 0.5}));
}

TEST(EncodableValueTest, MapKeysOfDifferentAlternativesStayApart) {
  EncodableMap map;
  map[EncodableValue("b")] = EncodableValue(1);
  map[EncodableValue("a")] = EncodableValue(2);
  map[EncodableValue(int32_t{3})] = EncodableValue(3);
  map[EncodableValue(int64_t{3})] = EncodableValue(4);
  map[EncodableValue()] = EncodableValue(5);
  map[EncodableValue()] = EncodableValue(6);  // nulls are one key

  std::vector<EncodableValue> keys;
  for (const auto& entry : map) keys.push_back(entry.first);
  const std::vector<EncodableValue> expected = {
      EncodableValue(), EncodableValue(int32_t{3}), EncodableValue(int64_t{3}),
      EncodableValue("a"), EncodableValue("b")};
  EXPECT_EQ(keys, expected);
  EXPECT_EQ(get<int32_t>(map[EncodableValue()]), 6);
}

TEST(EncodableValueTest, MapFindInsertAndSubscript) {
  EncodableMap map{{EncodableValue(Bytes{'t', 'e', 'x', 't'}), EncodableValue(1)}};
  EXPECT_EQ(map.find(EncodableValue("text")), map.end());

  map.emplace(EncodableValue("k"), EncodableValue(1));
  map.emplace(EncodableValue("k"), EncodableValue(2));  // first one wins
  EXPECT_EQ(get<int32_t>(map.at(EncodableValue("k"))), 1);

  EXPECT_TRUE(map[EncodableValue("missing")].IsNull());
  EXPECT_EQ(map.size(), 3u);
}

TEST(EncodableValueTest, CopiesAreDeep) {
  EncodableValue original(EncodableList{EncodableValue("x"),
                                        EncodableValue(EncodableMap{})});
  EncodableValue copy = original;
  get<std::string>(get<EncodableList>(copy)[0]) = "changed";
  get<EncodableList>(copy).push_back(EncodableValue(1));
  EXPECT_EQ(get<std::string>(get<EncodableList>(original)[0]), "x");
  EXPECT_EQ(get<EncodableList>(original).size(), 2u);

  EncodableValue target(int32_t{4});
  target = original;
  EXPECT_EQ(target, original);
  target = EncodableValue("other");  // another alternative
  EXPECT_EQ(get<std::string>(target), "other");
}

TEST(EncodableValueTest, MovedFromKeepsAlternativeWithEmptyContent) {
  EncodableValue text("hello");
  EncodableValue taken = std::move(text);
  EXPECT_EQ(get<std::string>(taken), "hello");
  ASSERT_TRUE(holds_alternative<std::string>(text));
  EXPECT_EQ(get<std::string>(text), "");
  get<std::string>(text) += "again";  // still usable
  EXPECT_EQ(get<std::string>(text), "again");

  EncodableValue map(EncodableMap{{EncodableValue(1), EncodableValue(2)}});
  EncodableValue other;
  other = std::move(map);
  ASSERT_TRUE(holds_alternative<EncodableMap>(map));
  EXPECT_TRUE(get<EncodableMap>(map).empty());
  EXPECT_EQ(get<EncodableMap>(other).size(), 1u);

  EncodableValue number(int64_t{9});
  EncodableValue number_taken = std::move(number);
  EXPECT_EQ(get<int64_t>(number), 9);

  // A moved-from value copies and compares as its empty content.
  EncodableValue copy_of_empty = text;
  EXPECT_EQ(EncodableValue(EncodableMap{}), map);
}

TEST(EncodableValueTest, MoveAssignFromOwnElement) {
  EncodableValue value(EncodableList{EncodableValue(EncodableList{
      EncodableValue("inner")})});
  value = std::move(get<EncodableList>(value)[0]);
  ASSERT_TRUE(holds_alternative<EncodableList>(value));
  EXPECT_EQ(get<std::string>(get<EncodableList>(value)[0]), "inner");
}

TEST(EncodableValueTest, CustomValuesAreCopiedAndComparedByIdentity) {
  EncodableValue a(CustomEncodableValue(std::string("same")));
  EncodableValue b(CustomEncodableValue(std::string("same")));
  EncodableMap map{{a, EncodableValue(1)}, {b, EncodableValue(2)}};
  EXPECT_EQ(map.size(), 2u);

  EncodableValue moved = std::move(a);  // copies: the source keeps it
  const std::any& kept = get<CustomEncodableValue>(a);
  EXPECT_EQ(std::any_cast<std::string>(kept), "same");
  EXPECT_EQ(get<CustomEncodableValue>(moved).type(), typeid(std::string));
}

}  // namespace
}  // namespace flutter
