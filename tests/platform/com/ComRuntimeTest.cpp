#include "platform/Registry.h"
#include "platform/com/ComPtr.h"
#include "platform/com/ComRuntime.h"
#include "tests/support/ScopedTestFolders.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace {

constexpr GUID kTestClass = {0x1E57C1A5, 0x0001, 0x0002, {1, 2, 3, 4, 5, 6, 7, 8}};
const std::string kClassKey = "CLSID\\{1E57C1A5-0001-0002-0102-030405060708}";

bool IsLoaded(const char* path)
{
    void* handle = dlopen(path, RTLD_NOW | RTLD_NOLOAD);
    if (handle)
        dlclose(handle);
    return handle != nullptr;
}

struct RunResult {
    int exitCode = -1;
    std::string output;
};

RunResult RunTool(const std::string& command)
{
    RunResult result;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe)
        return result;
    char buf[256];
    while (std::fgets(buf, sizeof buf, pipe))
        result.output += buf;
    const int status = pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

class ComRuntimeTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(CoInitialize(nullptr), S_OK); }
    void TearDown() override { CoUninitialize(); }

    void RegisterServer(const std::string& path)
    {
        auto key = CRegKey::Create(RegHive::ClassesRoot, kClassKey + "\\InprocServer32");
        ASSERT_TRUE(key);
        ASSERT_TRUE(key->SetString("", path));
    }

    CScopedTestFolders m_folders;
};

TEST_F(ComRuntimeTest, CreatesARegisteredObjectAndUnloadsItsLibraryWhenIdle)
{
    RegisterServer(TEST_SERVER_PATH);
    CComPtr<IUnknown> object;
    ASSERT_EQ(CoCreateInstance(kTestClass, nullptr, 7, IID_IUnknown, object.Out()), S_OK);
    ASSERT_TRUE(object);
    EXPECT_EQ(OleRun(object.Get()), S_OK);
    EXPECT_TRUE(IsLoaded(TEST_SERVER_PATH));

    // A nested initialisation must not unload anything while the object lives.
    EXPECT_EQ(CoInitialize(nullptr), S_FALSE);
    CoUninitialize();
    CoFreeUnusedLibraries();
    EXPECT_TRUE(IsLoaded(TEST_SERVER_PATH));

    object.Reset();
    CoUninitialize();
    EXPECT_FALSE(IsLoaded(TEST_SERVER_PATH));
    ASSERT_EQ(CoInitialize(nullptr), S_OK);  // for TearDown
}

TEST_F(ComRuntimeTest, ReportsEachWayCreationCanFail)
{
    struct Case {
        const char* name;
        const char* registeredPath;  // nullptr: class not registered
        REFIID iid;
        HRESULT expected;
    };
    const Case cases[] = {
        {"not registered", nullptr, IID_IUnknown, REGDB_E_CLASSNOTREG},
        {"registered without a path", "", IID_IUnknown, REGDB_E_CLASSNOTREG},
        {"library missing", "/nonexistent/libnothing.so", IID_IUnknown, CO_E_DLLNOTFOUND},
        {"not a library", "/etc/hostname", IID_IUnknown, CO_E_DLLNOTFOUND},
        {"no DllGetClassObject", NO_ENTRY_SERVER_PATH, IID_IUnknown, CO_E_ERRORINDLL},
        {"interface not offered", TEST_SERVER_PATH, IID_IDispatch, E_NOINTERFACE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CRegKey::DeleteTree(RegHive::ClassesRoot, kClassKey);
        if (c.registeredPath)
            RegisterServer(c.registeredPath);
        void* out = reinterpret_cast<void*>(1);
        EXPECT_EQ(CoCreateInstance(kTestClass, nullptr, 7, c.iid, &out), c.expected);
        EXPECT_EQ(out, nullptr);
    }
}

TEST_F(ComRuntimeTest, RefusesBeforeInitialisationAndWithoutAnInProcessContext)
{
    RegisterServer(TEST_SERVER_PATH);
    void* out = nullptr;
    EXPECT_EQ(CoCreateInstance(kTestClass, nullptr, CLSCTX_LOCAL_SERVER, IID_IUnknown, &out), REGDB_E_CLASSNOTREG);
    EXPECT_EQ(CoCreateInstance(kTestClass, nullptr, 7, IID_IUnknown, nullptr), E_POINTER);

    CoUninitialize();
    EXPECT_EQ(CoCreateInstance(kTestClass, nullptr, 7, IID_IUnknown, &out), CO_E_NOTINITIALIZED);
    ASSERT_EQ(CoInitialize(nullptr), S_OK);
}

TEST_F(ComRuntimeTest, RegsvrRegistersAndUnregisters)
{
    const std::string tool = REGSVR_PATH;
    RunResult r = RunTool(tool + " " + TEST_SERVER_PATH);
    EXPECT_EQ(r.exitCode, 0) << r.output;
    auto key = CRegKey::Open(RegHive::ClassesRoot, kClassKey + "\\InprocServer32");
    ASSERT_TRUE(key);
    EXPECT_EQ(key->GetString(""), std::string(TEST_SERVER_PATH));

    CComPtr<IUnknown> object;
    EXPECT_EQ(CoCreateInstance(kTestClass, nullptr, 7, IID_IUnknown, object.Out()), S_OK);

    r = RunTool(tool + " /u " + TEST_SERVER_PATH);
    EXPECT_EQ(r.exitCode, 0) << r.output;
    EXPECT_FALSE(CRegKey::Open(RegHive::ClassesRoot, kClassKey));
}

TEST_F(ComRuntimeTest, RegsvrFailsWithTheResultCode)
{
    const std::string tool = REGSVR_PATH;
    setenv("CORVANTA_TEST_REGISTER_RESULT", "0x80040201", 1);
    RunResult r = RunTool(tool + " " + TEST_SERVER_PATH);
    unsetenv("CORVANTA_TEST_REGISTER_RESULT");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.output.find("0x80040201"), std::string::npos) << r.output;

    r = RunTool(tool + " /nonexistent/libnothing.so");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.output.find("0x800401F8"), std::string::npos) << r.output;

    r = RunTool(tool + " " + NO_ENTRY_SERVER_PATH);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.output.find("DllRegisterServer"), std::string::npos) << r.output;

    EXPECT_EQ(RunTool(tool).exitCode, 2);
}

}  // namespace
