#include "core/grow_array.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(GrowArray, GrowsByTwiceThePreviousCapacityPlusTen) {
    GrowArray<int32_t> array;
    std::vector<int32_t> capacitiesSeen{array.capacity};
    for (int32_t i = 0; i < 311; ++i) {
        array.append(i);
        if (array.capacity != capacitiesSeen.back()) {
            capacitiesSeen.push_back(array.capacity);
        }
    }
    EXPECT_EQ(capacitiesSeen, (std::vector<int32_t>{10, 30, 70, 150, 310, 630}));
    for (int32_t i = 0; i < array.count; ++i) {
        ASSERT_EQ(array[i], i) << "elements keep their insertion order";
    }
}

TEST(GrowArray, EleventhAppendGrowsToThirtyKeepingTheFirstTen) {
    GrowArray<int32_t> array;
    for (int32_t i = 0; i < 10; ++i) {
        array.append(i * 7);
    }
    EXPECT_EQ(array.capacity, 10);
    array.append(70);
    EXPECT_EQ(array.capacity, 30);
    EXPECT_EQ(array.count, 11);
    for (int32_t i = 0; i < 11; ++i) {
        EXPECT_EQ(array[i], i * 7);
    }
}

TEST(GrowArray, GrowingBelowTheCountChangesNothing) {
    GrowArray<int32_t> array;
    for (int32_t i = 0; i < 5; ++i) {
        array.append(i);
    }
    int32_t* before = array.items;
    array.grow(4);
    EXPECT_EQ(array.items, before);
    EXPECT_EQ(array.capacity, 10);
    array.grow(5);
    EXPECT_EQ(array.capacity, 5);
    EXPECT_EQ(array[4], 4);
}

TEST(GrowArray, RemoveFirstKeepsTheOthersInOrder) {
    GrowArray<uint16_t> queue;
    queue.append(32);
    queue.append(89);
    queue.append(13);
    queue.removeFirst();
    ASSERT_EQ(queue.count, 2);
    EXPECT_EQ(queue[0], 89);
    EXPECT_EQ(queue[1], 13);
}

TEST(GrowArray, ClearKeepsTheStorage) {
    GrowArray<int32_t> array;
    for (int32_t i = 0; i < 20; ++i) {
        array.append(i);
    }
    array.clear();
    EXPECT_EQ(array.count, 0);
    EXPECT_EQ(array.capacity, 30);
}

TEST(GrowArray, CopiedStringElementsAreIndependent) {
    GrowArray<WString> names;
    names.append(WString("guitar"));
    auto* copy = new GrowArray<WString>(names);
    EXPECT_NE((*copy)[0].characters, names[0].characters);
    delete copy;
    EXPECT_TRUE(names[0] == WString("guitar"));

    // Growing copies the strings element by element as well.
    for (int32_t i = 0; i < 30; ++i) {
        names.append(WString("stairs"));
    }
    EXPECT_TRUE(names[0] == WString("guitar"));
    EXPECT_TRUE(names[30] == WString("stairs"));
}

TEST(KeyedTable, SettingAPresentNameReplacesItInPlace) {
    KeyedTable<int32_t> table;
    table.set(WString("a"), 1);
    table.set(WString("b"), 2);
    table.set(WString("a"), 3);
    ASSERT_EQ(table.count(), 2);
    EXPECT_TRUE(table.pairs[0].key == WString("a"));
    EXPECT_EQ(table.pairs[0].value, 3);
    EXPECT_EQ(table.pairs[1].value, 2);
}

TEST(KeyedTable, GetAppendsADefaultRecordForAnAbsentName) {
    KeyedTable<int32_t> table;
    EXPECT_FALSE(table.contains(WString("guitar")));
    table.get(WString("guitar")) = 5;
    EXPECT_TRUE(table.contains(WString("guitar")));
    EXPECT_FALSE(table.contains(WString("Guitar")));
    EXPECT_EQ(table.get(WString("guitar")), 5);
    EXPECT_EQ(table.count(), 1);
}

} // namespace
