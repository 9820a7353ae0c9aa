#include <gtest/gtest.h>

#include "korvalend/program.h"
#include "platform/sim/machine.h"

TEST(Program, EmptyMachineEndsWithZero) {
    sim::Machine m;
    EXPECT_EQ(korvalend::RUNPROCESS({}), 0);
    EXPECT_TRUE(m.messageBoxes.empty());
}
