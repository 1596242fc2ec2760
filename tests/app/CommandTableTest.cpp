// The command table is data; these are the rules it must keep for the wiring to be right.
#include "app/Artwork.h"
#include "app/CommandTable.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(CommandTable, ToolbarButtonsTakeTheStripsImagesInOrder)
{
    int next = 0;
    for (int id : toolbarLayout()) {
        if (id == 0)
            continue;
        const CommandRow* row = commandRow(id);
        ASSERT_NE(row, nullptr) << id;
        EXPECT_EQ(row->image, next) << "button " << id;
        ++next;
    }
    EXPECT_EQ(next, kToolbarImageCount);
}

TEST(CommandTable, EveryCommandOnceEveryAcceleratorAndButtonHasARow)
{
    std::set<int> ids;
    for (const CommandRow& row : commandTable()) {
        if (row.id == 0)
            continue;
        EXPECT_TRUE(ids.insert(row.id).second) << "twice: " << row.id;
        EXPECT_TRUE(row.menu || row.image >= 0 || row.id == cmd::NextPane || row.id == cmd::PrevPane)
            << row.id << " can be reached";
    }
    for (const Accelerator& accelerator : acceleratorTable())
        EXPECT_NE(commandRow(accelerator.id), nullptr) << accelerator.id;
    EXPECT_EQ(acceleratorTable().size(), 14u);
}

} // namespace
