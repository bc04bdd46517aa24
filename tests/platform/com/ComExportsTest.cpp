// The runtime library exports its API and nothing else: no helper it carries
// (the UTF codec, the registry) can stand in for a program's own copy.
#include "tests/support/ExportedSymbols.h"

#include <gtest/gtest.h>

namespace {

TEST(ComExports, OnlyTheRuntimeApiWithCLinkageWhereWindowsHasIt)
{
    const auto exported = ExportedSymbols(COM_LIBRARY_PATH);
    ASSERT_TRUE(exported);
    const std::set<std::string> expected = {
        "CoCreateInstance",
        "CoFreeUnusedLibraries",
        "CoGetClassObject",
        "CoInitialize",
        "CoUninitialize",
        "OleRun",
        "SysAllocString",
        "SysAllocStringLen",
        "SysFreeString",
        "SysStringByteLen",
        "SysStringLen",
        "VariantClear",
        "VariantInit",
        // Our own C++ helpers for their users.
        "BstrToUtf8()",
        "FormatGuid()",
        "ParseGuid()",
        "SysAllocStringUtf8()",
    };
    EXPECT_EQ(*exported, expected);
}

}  // namespace
