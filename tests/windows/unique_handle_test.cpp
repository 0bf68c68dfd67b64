// The owning handle wrapper: a move hands the handle over once, reset and destruction close it,
// release gives it up without closing.
#include <gtest/gtest.h>

#include <windows.h>

#include <utility>

#include "platform/unique_handle.h"

namespace
{

bool IsOpen(HANDLE handle)
{
    DWORD flags = 0;
    return GetHandleInformation(handle, &flags) != FALSE;
}

HANDLE NewEvent()
{
    return CreateEventA(nullptr, TRUE, FALSE, nullptr);
}

TEST(UniqueHandle, MoveResetReleaseAndDestructionCloseEachHandleOnce)
{
    const HANDLE first = NewEvent();
    const HANDLE second = NewEvent();
    ASSERT_TRUE(IsOpen(first) && IsOpen(second));
    {
        UniqueKernelHandle owner(first);
        UniqueKernelHandle moved(std::move(owner));
        EXPECT_FALSE(owner);
        EXPECT_EQ(moved.get(), first);

        UniqueKernelHandle assigned(second);
        assigned = std::move(moved); // the handle it held is closed, the moved one taken over
        EXPECT_FALSE(IsOpen(second));
        EXPECT_EQ(assigned.get(), first);
        EXPECT_FALSE(moved);

        assigned.reset();
        EXPECT_FALSE(IsOpen(first));
        EXPECT_FALSE(assigned);
    }

    const HANDLE kept = NewEvent();
    {
        UniqueKernelHandle owner(kept);
        EXPECT_EQ(owner.release(), kept);
    }
    EXPECT_TRUE(IsOpen(kept)) << "a released handle is the caller's";
    {
        const UniqueKernelHandle owner(kept);
    }
    EXPECT_FALSE(IsOpen(kept)) << "the destructor closes";
}

} // namespace
