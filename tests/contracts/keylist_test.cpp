#include "contracts/keylist.h"

#include <gtest/gtest.h>

namespace pag {
namespace {

TEST(KeyListTest, AddIndexOfSumAndReplace) {
    TKeyList list;
    EXPECT_EQ(list.Add("01", Value(100.5)), 0);
    EXPECT_EQ(list.Add("02", Value(int64_t{200})), 1);
    EXPECT_EQ(list.IndexOf("02"), 1);
    EXPECT_DOUBLE_EQ(list.Sum(list.IndexOf("01")), 100.5);
    EXPECT_DOUBLE_EQ(list.Sum(list.IndexOf("02")), 200.0);
    EXPECT_EQ(list.Key(1), "02");
    // A key already there keeps its place and takes the new value.
    EXPECT_EQ(list.Add("01", Value(15.0)), 0);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_DOUBLE_EQ(list.Sum(0), 15.0);
    // Absent keys and bad indexes give zero; keys compare exactly.
    EXPECT_LT(list.IndexOf("1"), 0);
    EXPECT_DOUBLE_EQ(list.Sum(list.IndexOf("99")), 0.0);
    EXPECT_DOUBLE_EQ(list.Sum(-5), 0.0);
    EXPECT_DOUBLE_EQ(list.Sum(2), 0.0);
    EXPECT_THROW(list.ValueAt(2), std::out_of_range);
}

TEST(KeyListTest, RemoveShiftsLaterEntriesAndClearEmpties) {
    TKeyList list;
    list.Add("01", Value(10.0));
    list.Add("02", Value(20.0));
    list.Add("03", Value(30.0));
    list.Remove("02");
    list.Remove("99");  // absent: nothing happens
    EXPECT_EQ(list.Count(), 2);
    EXPECT_LT(list.IndexOf("02"), 0);
    EXPECT_EQ(list.IndexOf("03"), 1);
    EXPECT_DOUBLE_EQ(list.Sum(list.IndexOf("03")), 30.0);
    // The installment edit's pattern: remove the key, then add it with the new value.
    list.Remove("01");
    list.Add("01", Value(12.5));
    EXPECT_EQ(list.IndexOf("01"), 1);
    EXPECT_DOUBLE_EQ(list.Sum(1), 12.5);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_LT(list.IndexOf("03"), 0);
}

}  // namespace
}  // namespace pag
