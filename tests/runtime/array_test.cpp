// RtArray: shapes, capacities, redim, records, and the runtime errors of bad accesses.
#include "runtime/rt_array.h"
#include "runtime/rt_string.h"

#include <gtest/gtest.h>

namespace {

struct Pad {
    double minx = 1, miny = 2, extx = 3;
    RtString name = "pad";
};

TEST(ArrayShape, CapacityIsTheNextMultipleOfEightAboveTheCount) {
    RtArray<double> a;
    a.dim(5);
    EXPECT_EQ(a.capacity(), 8u);
    EXPECT_EQ(a.bounds(0), 5);
    EXPECT_EQ(a.dimensions(), 1);
    a.dim(16);
    EXPECT_EQ(a.capacity(), 24u);
    a.dim(8);
    EXPECT_EQ(a.capacity(), 24u); // the store is reused, never shrunk
    a.dim(3, 4, 2);
    EXPECT_EQ(a.capacity(), 32u);
    EXPECT_EQ(a.dimensions(), 3);
    EXPECT_EQ(a.bounds(1), 4);
    EXPECT_EQ(a.bounds(2), 2);
    EXPECT_EQ(a.bounds(3), 0);
    EXPECT_EQ(a.bounds(4), 0);
    EXPECT_EQ(a.bounds(-1), 0);
    a.dim(0);
    EXPECT_EQ(a.capacity(), 8u); // emptied: back to the smallest store
    EXPECT_EQ(a.bounds(0), 0);
}

TEST(ArrayShape, SmallNumberArraysLiveInline) {
    RtArray<double> a;
    a.dim(15);
    EXPECT_EQ(a.capacity(), 16u);
    EXPECT_TRUE(a.uses_inline_store());
    a.dim(16);
    EXPECT_FALSE(a.uses_inline_store());
    RtArray<double> b;
    b.dim(2, 2);
    b.at(1, 1) = 7;
    RtArray<double> c(b);
    EXPECT_TRUE(c.uses_inline_store());
    c.at(1, 1) = 8;
    EXPECT_EQ(b.at(1, 1), 7);
    EXPECT_EQ(c.at(1, 1), 8);
}

TEST(ArrayShape, ElementsAreLaidOutByStrides) {
    RtArray<double> a;
    a.dim(3, 4, 2, 2);
    for (int i3 = 0; i3 < 2; ++i3)
        for (int i2 = 0; i2 < 2; ++i2)
            for (int i1 = 0; i1 < 4; ++i1)
                for (int i0 = 0; i0 < 3; ++i0)
                    a.at(i0, i1, i2, i3) = i0 + 10 * i1 + 100 * i2 + 1000 * i3;
    for (int i3 = 0; i3 < 2; ++i3)
        for (int i2 = 0; i2 < 2; ++i2)
            for (int i1 = 0; i1 < 4; ++i1)
                for (int i0 = 0; i0 < 3; ++i0)
                    ASSERT_EQ(a.at(i0, i1, i2, i3), i0 + 10 * i1 + 100 * i2 + 1000 * i3);
    EXPECT_EQ(a.at(2.9, 3.5), 32); // indices truncate
}

TEST(ArrayShape, DimResetsAndRedimKeepsTheOverlap) {
    RtArray<double> a;
    a.dim(4, 3);
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 4; ++i)
            a.at(i, j) = 1 + i + 10 * j;
    a.redim(2, 5);
    EXPECT_EQ(a.at(0, 0), 1);
    EXPECT_EQ(a.at(1, 2), 22);
    EXPECT_EQ(a.at(1, 3), 0);
    EXPECT_EQ(a.at(0, 4), 0);
    a.redim(6); // one dimension: the first row survives
    EXPECT_EQ(a.at(0), 1);
    EXPECT_EQ(a.at(1), 2);
    EXPECT_EQ(a.at(5), 0);
    a.redim(40); // across a store change
    EXPECT_EQ(a.at(1), 2);
    EXPECT_EQ(a.at(39), 0);
    a.dim(40);
    EXPECT_EQ(a.at(1), 0);
}

TEST(ArrayRecords, DefaultsAndFieldByFieldCopies) {
    RtArray<Pad> pads;
    pads.dim(3);
    EXPECT_EQ(pads.at(2).minx, 1);
    EXPECT_EQ(pads.at(2).name, "pad");
    pads.at(1).extx = 9;
    pads.at(1).name = "girder";
    Pad copy = pads.at(1);
    copy.name += "!";
    EXPECT_EQ(pads.at(1).name, "girder");
    pads.at(0) = pads.at(1);
    EXPECT_EQ(pads.at(0).extx, 9);
    RtArray<Pad> other = pads;
    other.at(0).extx = 1;
    EXPECT_EQ(pads.at(0).extx, 9);
    pads.redim(5);
    EXPECT_EQ(pads.at(1).name, "girder");
    EXPECT_EQ(pads.at(4).miny, 2);
    pads.dim(2);
    EXPECT_EQ(pads.at(1).extx, 3);
}

TEST(ArrayRecords, StringArrays) {
    RtArray<RtString> names;
    dim(names, 2, 2);
    at(names, 1, 1) = "x";
    redim(names, 3, 3);
    EXPECT_EQ(at(names, 1, 1), "x");
    EXPECT_EQ(at(names, 2, 2), "");
    EXPECT_EQ(bounds(names, 1), 3);
}

using ArrayDeathTest = ::testing::Test;

TEST_F(ArrayDeathTest, UseBeforeDimEndsWithError8) {
    RtArray<double> never;
    EXPECT_EXIT(never.at(0), testing::ExitedWithCode(8), "");
    RtArray<double> emptied;
    emptied.dim(0);
    EXPECT_EXIT(emptied.at(0), testing::ExitedWithCode(8), "");
    RtArray<RtString> strings;
    strings.dim(-3);
    EXPECT_EXIT(strings.at(0), testing::ExitedWithCode(8), "");
}

TEST_F(ArrayDeathTest, IndexOutOfRangeEndsWithError9) {
    RtArray<double> a;
    a.dim(5);
    EXPECT_EXIT(a.at(5), testing::ExitedWithCode(9), "");
    EXPECT_EXIT(a.at(-1), testing::ExitedWithCode(9), "");
    EXPECT_EXIT(a.at(0, 1), testing::ExitedWithCode(9), ""); // a dimension not in use
    RtArray<Pad> pads;
    pads.dim(2, 3);
    EXPECT_EXIT(pads.at(1, 3), testing::ExitedWithCode(9), "");
    EXPECT_EXIT(pads.at(1e12), testing::ExitedWithCode(9), "");
}

TEST_F(ArrayDeathTest, AStoreTooLargeEndsWithError7) {
    RtArray<double> a;
    EXPECT_EXIT(a.dim(1e6, 1e6, 1e6), testing::ExitedWithCode(7), "");
    EXPECT_EXIT(a.dim(1e300), testing::ExitedWithCode(7), "");
}

} // namespace
