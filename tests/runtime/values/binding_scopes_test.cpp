#include "runtime/values/binding_scopes.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <thread>

#include "reference_test_fixture.h"
#include "runtime/values/binding_builtins.h"
#include "runtime/values/reference_factory.h"
#include "runtime/values/reference_group.h"
#include "runtime/values/string_stack.h"

namespace vel::values {
namespace {

using testing::ReferenceTest;

class BindingScopesTest : public ReferenceTest {
 protected:
  /// Binds `name` to the Int32 at `variable`.
  void Bind(const char* name, std::int32_t& variable) {
    auto reference = CreateReference(6, &variable, 0, 0, false);
    PushCString(name);
    BindName(*reference);
  }

  /// The variable bound under `name` read as an integer, or -999 when the name is not bound
  /// to a variable.
  std::int32_t Read(const char* name) {
    const BindingNode* node = LookUpName(name);
    if (node == nullptr || node->kind != kBindingVariable) return -999;
    return node->reference->GetInt();
  }
};

TEST_F(BindingScopesTest, NamesAreCaseInsensitiveAndRebindingReplaces) {
  std::int32_t first = 1;
  std::int32_t second = 2;
  Bind("total", first);
  std::size_t countAfterFirst = Bindings().CurrentTable()->Count();
  Bind("TOTAL", second);
  EXPECT_EQ(Bindings().CurrentTable()->Count(), countAfterFirst);
  EXPECT_EQ(Read("Total"), 2);
  EXPECT_EQ(Stack().Count(), 0u);
}

TEST_F(BindingScopesTest, NamesAreCutAtTheFirstCharacterOutsideAName) {
  std::int32_t value = 7;
  Bind("Cust:Name$ extra", value);
  EXPECT_EQ(Read("CUST:NAME$"), 7);
  EXPECT_EQ(LookUpName("Cust:Name$ extra"), nullptr);

  char out[100];
  struct Case {
    const char* text;
    const char* expected;
  } cases[] = {
      {"abc#def", "abc#"},   {"abc\"x", "abc\""}, {"a_b:c", "a_b:c"},
      {"x$$", "x$"},         {" lead", ""},       {"#only", "#"},
  };
  for (const Case& c : cases) {
    TrimBindingName(c.text, std::string(c.text).size(), out);
    EXPECT_STREQ(out, c.expected) << c.text;
  }
  // At most 99 characters are kept, however long the name.
  std::string longName(300, 'A');
  EXPECT_EQ(TrimBindingName(longName.data(), longName.size(), out), 99u);
}

TEST_F(BindingScopesTest, AnEmptyNameBindsNothing) {
  std::int32_t value = 1;
  Bind("  ", value);
  EXPECT_EQ(Bindings().CurrentTable(), nullptr);
  EXPECT_EQ(Stack().Count(), 0u);
}

TEST_F(BindingScopesTest, FirstBindingEntersBuiltInsUnderTheRootMarker) {
  EXPECT_EQ(Bindings().CurrentTable(), nullptr);
  std::int32_t value = 0;
  Bind("x", value);
  const BindingTable& table = *Bindings().CurrentTable();
  EXPECT_EQ(table.Root().name, "MMMMMMM");
  EXPECT_EQ(table.Root().kind, kBindingRoot);
  EXPECT_EQ(table.Count(), 1 + BuiltInFunctions().size() + OperatorKeywords().size() + 1);

  const BindingNode* choose = table.Find("choose");
  ASSERT_NE(choose, nullptr);
  EXPECT_EQ(choose->kind, kBindingFunction);
  EXPECT_EQ(choose->argumentCount, 25);
  EXPECT_EQ(choose->functionCode, 42);
  EXPECT_EQ(choose->resultType, kResultString);
  const BindingNode* xorKeyword = table.Find("Xor");
  ASSERT_NE(xorKeyword, nullptr);
  EXPECT_EQ(xorKeyword->kind, kBindingKeyword);
  EXPECT_EQ(xorKeyword->tokenCode, 19);
}

TEST_F(BindingScopesTest, BindingABuiltInNameReplacesIt) {
  std::int32_t value = 5;
  Bind("len", value);
  const BindingNode* node = LookUpName("LEN");
  ASSERT_NE(node, nullptr);
  EXPECT_EQ(node->kind, kBindingVariable);
  EXPECT_EQ(node->resultType, kResultInteger);
  EXPECT_EQ(node->reference->GetInt(), 5);
}

TEST_F(BindingScopesTest, ResultTypeFollowsTheTypeCode) {
  EXPECT_EQ(ResultTypeOfTypeCode(1), kResultInteger);
  EXPECT_EQ(ResultTypeOfTypeCode(6), kResultInteger);
  EXPECT_EQ(ResultTypeOfTypeCode(7), kResultReal);
  EXPECT_EQ(ResultTypeOfTypeCode(17), kResultReal);
  EXPECT_EQ(ResultTypeOfTypeCode(18), kResultString);
  EXPECT_EQ(ResultTypeOfTypeCode(31), kResultString);
}

TEST_F(BindingScopesTest, ScopesHideAndRestoreBindings) {
  std::int32_t outer = 1;
  std::int32_t inner = 2;
  Bind("outer", outer);
  BindingTable* outerTable = Bindings().CurrentTable();

  PushScope(0);
  EXPECT_EQ(Bindings().CurrentTable(), nullptr);
  Bind("inner", inner);
  EXPECT_EQ(Read("inner"), 2);
  // A scope opened with 0 (as procedures open theirs) hides the caller's names.
  EXPECT_EQ(Read("outer"), -999);
  PopScope();

  EXPECT_EQ(Bindings().CurrentTable(), outerTable);
  EXPECT_EQ(Read("inner"), -999);
  EXPECT_EQ(Read("outer"), 1);

  // A scope opened with another argument lets lookups reach the enclosing tables.
  PushScope(1);
  EXPECT_EQ(Read("outer"), 1);
  Bind("outer", inner);
  EXPECT_EQ(Read("outer"), 2);
  PopScope();
  EXPECT_EQ(Read("outer"), 1);
  EXPECT_TRUE(Sink().reported.empty());
}

TEST_F(BindingScopesTest, PopScopeWithoutAScopeReportsOnceAndChangesNothing) {
  std::int32_t value = 3;
  Bind("kept", value);
  BindingTable* table = Bindings().CurrentTable();
  PopScope();
  ASSERT_EQ(Sink().reported.size(), 1u);
  EXPECT_EQ(Sink().reported[0].first, 802);
  EXPECT_EQ(Sink().reported[0].second, "Mismatched POPSCOPE");
  EXPECT_EQ(Bindings().CurrentTable(), table);
  EXPECT_EQ(Read("kept"), 3);
  EXPECT_EQ(Bindings().ScopeDepth(), 0u);
}

TEST_F(BindingScopesTest, BoundReferencesAreClonesThatDoNotOwnTheVariable) {
  std::int32_t value = 4;
  {
    auto reference = CreateReference(6, &value, 0, 0, false);
    PushCString("v");
    BindName(*reference);
  }
  value = 9;
  EXPECT_EQ(Read("v"), 9);
}

TEST_F(BindingScopesTest, LongSortedNameListsAndDeepScopesCostNoRecursion) {
  std::int32_t value = 1;
  char name[16];
  for (int i = 0; i < 2000; ++i) {
    std::snprintf(name, sizeof name, "N%06d", i);
    Bind(name, value);
  }
  EXPECT_EQ(Read("n001999"), 1);
  for (int i = 0; i < 1000000; ++i) PushScope(0);
  EXPECT_EQ(Bindings().ScopeDepth(), 1000000u);
  // The fixture's state is destroyed with all of this still in place.
}

TEST_F(BindingScopesTest, EachThreadHasItsOwnBindings) {
  std::int32_t value = 1;
  Bind("mine", value);
  bool seenOnOtherThread = true;
  std::thread other([&] {
    seenOnOtherThread = LookUpName("mine") != nullptr;
    PushScope(0);
  });
  other.join();
  EXPECT_FALSE(seenOnOtherThread);
  EXPECT_EQ(Bindings().ScopeDepth(), 0u);

  // Exchanging the state swaps both heads together.
  BindingState swapped;
  BindingState* previous = ExchangeCurrentBindingState(&swapped);
  EXPECT_EQ(LookUpName("mine"), nullptr);
  PushScope(0);
  EXPECT_EQ(swapped.ScopeDepth(), 1u);
  ExchangeCurrentBindingState(previous);
  EXPECT_EQ(Read("mine"), 1);
  EXPECT_EQ(Bindings().ScopeDepth(), 0u);
}

TEST_F(BindingScopesTest, ARecordBindsEachFieldUnderBothNames) {
  struct Customer {
    char name[10];
    std::int32_t number;
    char pad[2];
    unsigned char balance[5];
  };
  RecordDescription record;
  record.size = sizeof(Customer);
  record.fields = {
      {"Name", "Cus:Name", 18, offsetof(Customer, name), 10, 0, 1, "@s10"},
      {"Number", "", 6, offsetof(Customer, number), 4, 0, 1, ""},
      {"Balance", "Cus:Balance", 10, offsetof(Customer, balance), 5, 2, 1, "@n10.2"},
      // Lies beyond the record: skipped rather than bound to memory outside it.
      {"Beyond", "", 18, sizeof(Customer) - 2, 8, 0, 1, ""},
  };
  Customer customer{};
  auto group = CreateGroupReference(record, &customer);
  group->Clear(0);
  group->BindFields();

  const BindingNode* name = LookUpName("cus:name");
  ASSERT_NE(name, nullptr);
  PushCString("Smith");
  name->reference->AssignFromStack();
  EXPECT_EQ(std::string(customer.name, 10), "Smith     ");
  LookUpName("NUMBER")->reference->SetInt(42);
  EXPECT_EQ(customer.number, 42);
  LookUpName("Cus:Balance")->reference->SetReal(12.345);
  EXPECT_EQ(LookUpName("balance")->reference->GetReal(), 12.35);
  EXPECT_EQ(LookUpName("Beyond"), nullptr);

  // Anything but a record refuses to bind fields.
  std::int32_t plain = 0;
  CreateReference(6, &plain, 0, 0, false)->BindFields();
  EXPECT_EQ(ReportedCodes(), std::vector<int>{7});
}

}  // namespace
}  // namespace vel::values
