#include "framework/core/HtmlHelpAddress.h"

#include <gtest/gtest.h>

namespace {

const char kModule[] = "C:\\Program Files\\Quenvale\\Quenvale.exe";

TEST(HtmlHelpAddress, IdsNamesAndFullAddresses)
{
    EXPECT_EQ(HtmlHelpAddress(kModule, reinterpret_cast<const char*>(uintptr_t{0x1234})),
              "res://C:\\Program Files\\Quenvale\\Quenvale.exe/#4660");
    EXPECT_EQ(HtmlHelpAddress(kModule, reinterpret_cast<const char*>(uintptr_t{0xFFFF})),
              std::string("res://") + kModule + "/#65535");
    EXPECT_EQ(HtmlHelpAddress(kModule, "IDR_BLOCK_ACCESS"), std::string("res://") + kModule + "/IDR_BLOCK_ACCESS");
    EXPECT_EQ(HtmlHelpAddress(kModule, "https://example.org/help.html"), "https://example.org/help.html");
    EXPECT_EQ(HtmlHelpAddress(kModule, "res://other.dll/PAGE"), "res://other.dll/PAGE");
    // A name that merely contains a colon or slashes is still a resource name.
    EXPECT_EQ(HtmlHelpAddress(kModule, "PAGE:/X"), std::string("res://") + kModule + "/PAGE:/X");
}

} // namespace
