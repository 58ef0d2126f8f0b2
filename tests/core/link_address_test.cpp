#include "online/link_address.h"

#include <gtest/gtest.h>

TEST(IsOpenableAddress, WebAndMailAddressesOnly) {
    for (const char* address : {"http://www.quendal-software.example/", "HTTPS://x.example/a b",
                                "ftp://ftp.example/pub", "mailto:vorlix@quendal-software.example"}) {
        EXPECT_TRUE(IsOpenableAddress(address)) << address;
    }
    for (const char* address : {"", "http://", "mailto:", "www.quendal-software.example", "file:///C:/x.exe",
                                "C:\\Windows\\notepad.exe", "\\\\server\\share\\x.exe", "javascript:alert(1)",
                                " http://x.example/", "notepad.exe"}) {
        EXPECT_FALSE(IsOpenableAddress(address)) << address;
    }
}
