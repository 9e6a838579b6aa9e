#include "synth/core/spsc_ring.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <thread>

namespace velt::corvane {
namespace {

struct Item {
    uint64_t sequence;
    uint64_t check;
};

TEST(SpscRing, KeepsOrderRefusesWhenFullAndWrapsAround) {
    SpscRing<int> ring(5);  // rounded up to 8
    ASSERT_TRUE(ring.valid());
    EXPECT_EQ(ring.capacity(), 8u);
    int out = 0;
    EXPECT_FALSE(ring.pop(out));
    for (int round = 0; round < 3; ++round) {
        for (int i = 0; i < 8; ++i) EXPECT_TRUE(ring.push(round * 100 + i));
        EXPECT_FALSE(ring.push(-1)) << "a full ring takes nothing";
        EXPECT_EQ(ring.size(), 8u);
        for (int i = 0; i < 8; ++i) {
            ASSERT_TRUE(ring.pop(out));
            EXPECT_EQ(out, round * 100 + i);
        }
        EXPECT_FALSE(ring.pop(out));
    }
}

TEST(SpscRing, TwoThreadsLoseAndTearNothing) {
    SpscRing<Item> ring(64);
    constexpr uint64_t kCount = 200000;
    std::thread producer([&] {
        for (uint64_t i = 0; i < kCount;) {
            if (ring.push(Item{i, ~i * 2654435761u}))
                ++i;
            else
                std::this_thread::yield();
        }
    });
    uint64_t expected = 0;
    Item item{};
    while (expected < kCount) {
        if (!ring.pop(item)) {
            std::this_thread::yield();
            continue;
        }
        ASSERT_EQ(item.sequence, expected);
        ASSERT_EQ(item.check, ~expected * 2654435761u);
        ++expected;
    }
    producer.join();
    EXPECT_EQ(ring.size(), 0u);
}

}  // namespace
}  // namespace velt::corvane
