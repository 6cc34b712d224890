#include <gtest/gtest.h>

#include "WininitText.h"

// The entry must land in [RENAME] wherever that section is, or Windows 9x
// would never carry it out.
TEST(WininitText, EntryGoesToTheEndOfTheRenameSection)
{
    struct Case {
        const char* before;
        const char* after;
    };
    const Case cases[] = {
        {"", "[RENAME]\r\nNUL=C:\\a.dll\r\n"},
        {"[RENAME]\r\nNUL=C:\\old.dll\r\n", "[RENAME]\r\nNUL=C:\\old.dll\r\nNUL=C:\\a.dll\r\n"},
        {"[RENAME]\r\nNUL=C:\\old.dll\r\n\r\n[Other]\r\nx=1\r\n",
         "[RENAME]\r\nNUL=C:\\old.dll\r\nNUL=C:\\a.dll\r\n\r\n[Other]\r\nx=1\r\n"},
        {"[Other]\r\nx=1\r\n", "[Other]\r\nx=1\r\n[RENAME]\r\nNUL=C:\\a.dll\r\n"},
        {"[Other]\r\nx=1", "[Other]\r\nx=1\r\n[RENAME]\r\nNUL=C:\\a.dll\r\n"},
        {"[rename]\r\n[Other]\r\n", "[rename]\r\nNUL=C:\\a.dll\r\n[Other]\r\n"},
        {"  [ Rename ] ; note\nNUL=C:\\old.dll\n[Other]\n",
         "  [ Rename ] ; note\nNUL=C:\\old.dll\nNUL=C:\\a.dll\r\n[Other]\n"},
        {"[RENAME]\r\nNUL=C:\\old.dll", "[RENAME]\r\nNUL=C:\\old.dll\r\nNUL=C:\\a.dll\r\n"},
        {"[RENAME]\r\nA=1\r\n[X]\r\n[RENAME]\r\nB=2\r\n", "[RENAME]\r\nA=1\r\nNUL=C:\\a.dll\r\n[X]\r\n[RENAME]\r\nB=2\r\n"},
        {"[RENAMED]\r\n", "[RENAMED]\r\n[RENAME]\r\nNUL=C:\\a.dll\r\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.after, WithWininitDeletion(c.before, "C:\\a.dll")) << c.before;
}
