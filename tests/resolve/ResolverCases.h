#pragma once
// Resolver cases as data: (what the row shows, page address, page text,
// expected link). One test per site runs its table.

#include "resolve/VideoLinks.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tollivex::test {

struct ResolverCase {
    const char* what;
    std::string address;
    std::string page;
    std::string expected;
};

inline void ExpectResolves(PageResolver resolver, const std::vector<ResolverCase>& cases)
{
    for (const ResolverCase& row : cases)
        EXPECT_EQ(resolver(row.address, row.page), row.expected) << row.what;
}

} // namespace tollivex::test
