// The component as a client meets it: registered by corvanta-regsvr, created
// by class id and called through its vtable. This test does not link it.
#include "coralind/ICoralindObject.h"
#include "platform/Registry.h"
#include "platform/com/ComPtr.h"
#include "platform/com/ComRuntime.h"
#include "tests/support/ExportedSymbols.h"
#include "tests/support/ScopedTestFolders.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <sys/wait.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

namespace {

class CBstr {
public:
    explicit CBstr(const char* utf8) : m_s(SysAllocStringUtf8(utf8)) {}
    CBstr() = default;
    CBstr(const CBstr&) = delete;
    CBstr& operator=(const CBstr&) = delete;
    ~CBstr() { SysFreeString(m_s); }
    BSTR Get() const { return m_s; }
    BSTR* Out() { return &m_s; }
    std::string Text() const { return BstrToUtf8(m_s); }

private:
    BSTR m_s = nullptr;
};

int RunTool(const std::string& command)
{
    const int status = std::system((command + " >/dev/null 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool IsLoaded()
{
    void* handle = dlopen(CORALIND_PATH, RTLD_NOW | RTLD_NOLOAD);
    if (handle)
        dlclose(handle);
    return handle != nullptr;
}

std::string Classes(const std::string& key, const std::string& name = "")
{
    const auto k = CRegKey::Open(RegHive::ClassesRoot, key);
    return k ? k->GetString(name).value_or("<no value>") : "<no key>";
}

const std::string kClassKey = "CLSID\\{D9BFD3F2-4D42-4419-9F59-9CA6898EB954}";

class CoralindComponentTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(RunTool(std::string(REGSVR_PATH) + " " + CORALIND_PATH), 0);
        ASSERT_EQ(CoInitialize(nullptr), S_OK);
    }
    void TearDown() override { CoUninitialize(); }

    // The client's sequence: create as IUnknown, run it, ask for the interface.
    CComPtr<ICoralindObject> Create()
    {
        CComPtr<IUnknown> unknown;
        CComPtr<ICoralindObject> object;
        EXPECT_EQ(CoCreateInstance(CLSID_CoralindObject, nullptr, 7, IID_IUnknown, unknown.Out()), S_OK);
        if (!unknown)
            return object;
        EXPECT_EQ(OleRun(unknown.Get()), S_OK);
        EXPECT_EQ(unknown->QueryInterface(IID_ICoralindObject, object.Out()), S_OK);
        return object;
    }
    CComPtr<ICoralindObject> CreateLoaded()
    {
        CComPtr<ICoralindObject> object = Create();
        CBstr name("tracks.txt");
        EXPECT_EQ(object->LoadLibrary(name.Get()), S_OK);
        return object;
    }

    std::filesystem::path Library() const { return m_folders.Data() / "tracks.txt"; }
    std::string LibraryText() const
    {
        std::ifstream in(Library(), std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    void WriteLibrary(const std::string& text) const { std::ofstream(Library(), std::ios::binary) << text; }

    CScopedTestFolders m_folders;
};

TEST_F(CoralindComponentTest, RegistrationWritesTheClassAndItsProgIds)
{
    const std::string clsid = "{D9BFD3F2-4D42-4419-9F59-9CA6898EB954}";
    const std::string library = std::filesystem::canonical(CORALIND_PATH).string();
    struct Case {
        std::string key, name, value;
    };
    const Case cases[] = {
        {"Coralind.CoralindObject.1", "", "CoralindObject Class"},
        {"Coralind.CoralindObject.1\\CLSID", "", clsid},
        {"Coralind.CoralindObject", "", "CoralindObject Class"},
        {"Coralind.CoralindObject\\CLSID", "", clsid},
        {kClassKey, "", "CoralindObject Class"},
        {kClassKey + "\\ProgID", "", "Coralind.CoralindObject.1"},
        {kClassKey + "\\VersionIndependentProgID", "", "Coralind.CoralindObject"},
        {kClassKey + "\\InprocServer32", "", library},
        {kClassKey + "\\InprocServer32", "ThreadingModel", "both"},
        {"TypeLib\\{49D47C17-861E-48F3-87A1-599ECF71D505}\\1.0", "", "Coralind 1.0 Type Library"},
        {"Interface\\{709253D9-6F1F-4877-A92F-8A573EC7C52E}", "", "ICoralindObject"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key + " " + c.name);
        EXPECT_EQ(Classes(c.key, c.name), c.value);
    }
    const auto classKey = CRegKey::Open(RegHive::ClassesRoot, kClassKey);
    ASSERT_TRUE(classKey);
    std::vector<std::string> subKeys = classKey->SubKeyNames();
    std::sort(subKeys.begin(), subKeys.end());
    EXPECT_EQ(subKeys, (std::vector<std::string>{"InprocServer32", "ProgID", "VersionIndependentProgID"}));
}

TEST_F(CoralindComponentTest, ReRegistrationReplacesTheClassKeyAndUnregistrationKeepsClsid)
{
    ASSERT_TRUE(CRegKey::Create(RegHive::ClassesRoot, kClassKey + "\\Stray"));
    ASSERT_TRUE(CRegKey::Create(RegHive::ClassesRoot, "CLSID\\{00000000-0000-0000-0000-000000000001}"));
    ASSERT_EQ(RunTool(std::string(REGSVR_PATH) + " " + CORALIND_PATH), 0);
    EXPECT_FALSE(CRegKey::Open(RegHive::ClassesRoot, kClassKey + "\\Stray"));

    ASSERT_EQ(RunTool(std::string(REGSVR_PATH) + " /u " + CORALIND_PATH), 0);
    for (const char* gone :
         {"Coralind.CoralindObject.1", "Coralind.CoralindObject", "CLSID\\{D9BFD3F2-4D42-4419-9F59-9CA6898EB954}",
          "TypeLib\\{49D47C17-861E-48F3-87A1-599ECF71D505}", "Interface\\{709253D9-6F1F-4877-A92F-8A573EC7C52E}"}) {
        SCOPED_TRACE(gone);
        EXPECT_FALSE(CRegKey::Open(RegHive::ClassesRoot, gone));
    }
    EXPECT_TRUE(CRegKey::Open(RegHive::ClassesRoot, "CLSID"));
    void* out = nullptr;
    EXPECT_EQ(CoCreateInstance(CLSID_CoralindObject, nullptr, 7, IID_IUnknown, &out), REGDB_E_CLASSNOTREG);

    // Unregistering twice still succeeds and still spares "CLSID".
    CRegKey::DeleteTree(RegHive::ClassesRoot, "CLSID\\{00000000-0000-0000-0000-000000000001}");
    EXPECT_EQ(RunTool(std::string(REGSVR_PATH) + " /u " + CORALIND_PATH), 0);
    EXPECT_TRUE(CRegKey::Open(RegHive::ClassesRoot, "CLSID"));
}

TEST_F(CoralindComponentTest, EveryMethodBeforeLoadLibraryDoesNothing)
{
    CComPtr<ICoralindObject> object = Create();
    ASSERT_TRUE(object);
    CBstr path("/music/a.mp3");
    EXPECT_EQ(object->Add(1, path.Get()), S_FALSE);
    EXPECT_EQ(object->Remove(1), S_FALSE);
    BSTR sentinel = reinterpret_cast<BSTR>(0x1234);
    EXPECT_EQ(object->GetPath(1, &sentinel), S_FALSE);
    EXPECT_EQ(sentinel, reinterpret_cast<BSTR>(0x1234));
    object.Reset();
    EXPECT_TRUE(std::filesystem::is_empty(m_folders.Data()));
}

TEST_F(CoralindComponentTest, JournalsEachChangeAsOneLine)
{
    CComPtr<ICoralindObject> object = CreateLoaded();
    ASSERT_TRUE(object);
    EXPECT_EQ(LibraryText(), "");  // a missing file is created empty

    struct Step {
        const char* name;
        char op;  // 'a' Add, 'r' Remove
        LONG id;
        const char* path;
        HRESULT expected;
        const char* fileAfter;
    };
    const Step steps[] = {
        {"add", 'a', 1203, "C:\\mp3\\a.mp3", S_OK, "1203,C:\\mp3\\a.mp3\n"},
        {"add with comma", 'a', 77, "C:\\mp3\\b,c.mp3", S_OK, "1203,C:\\mp3\\a.mp3\n77,C:\\mp3\\b,c.mp3\n"},
        {"empty path", 'a', 5, "", S_FALSE, "1203,C:\\mp3\\a.mp3\n77,C:\\mp3\\b,c.mp3\n"},
        {"line break in path", 'a', 5, "/x\n99,/forged", S_FALSE, "1203,C:\\mp3\\a.mp3\n77,C:\\mp3\\b,c.mp3\n"},
        {"remove unknown", 'r', 42, nullptr, S_OK, "1203,C:\\mp3\\a.mp3\n77,C:\\mp3\\b,c.mp3\n"},
        {"remove", 'r', 1203, nullptr, S_OK, "1203,C:\\mp3\\a.mp3\n77,C:\\mp3\\b,c.mp3\n1203,\n"},
        {"replace", 'a', 77, "/new.mp3", S_OK, "1203,C:\\mp3\\a.mp3\n77,C:\\mp3\\b,c.mp3\n1203,\n77,/new.mp3\n"},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        if (s.op == 'a') {
            CBstr path(s.path);
            EXPECT_EQ(object->Add(s.id, path.Get()), s.expected);
        } else {
            EXPECT_EQ(object->Remove(s.id), s.expected);
        }
        EXPECT_EQ(LibraryText(), s.fileAfter);
    }
    EXPECT_EQ(object->Add(8, nullptr), S_FALSE);  // a null string is an empty one

    CBstr found;
    EXPECT_EQ(object->GetPath(77, found.Out()), S_OK);
    EXPECT_EQ(found.Text(), "/new.mp3");
    CBstr missing;
    EXPECT_EQ(object->GetPath(1203, missing.Out()), S_OK);
    ASSERT_NE(missing.Get(), nullptr);
    EXPECT_EQ(SysStringLen(missing.Get()), 0u);
    EXPECT_EQ(object->GetPath(77, nullptr), E_POINTER);

    // Releasing the object compacts the journal.
    object.Reset();
    EXPECT_EQ(LibraryText(), "77,/new.mp3\n");
}

TEST_F(CoralindComponentTest, LoadingAppliesTheFileAndCompactsIt)
{
    WriteLibrary("5,a\n5,b\n5,\n6,x,y\nabc\n 12,/twelve.mp3\n");
    CComPtr<ICoralindObject> object = CreateLoaded();
    ASSERT_TRUE(object);
    struct Case {
        LONG id;
        const char* path;
    };
    const Case cases[] = {{5, ""}, {6, "x,y"}, {0, "abc"}, {12, "/twelve.mp3"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        CBstr path;
        EXPECT_EQ(object->GetPath(c.id, path.Out()), S_OK);
        EXPECT_EQ(path.Text(), c.path);
    }
    // All three sit in bucket 0, the newest in front.
    EXPECT_EQ(LibraryText(), "12,/twelve.mp3\n0,abc\n6,x,y\n");

    // A second load rebuilds the map from the file, including a change made since.
    CBstr extra("/u.mp3");
    EXPECT_EQ(object->Add(300, extra.Get()), S_OK);
    CBstr name("tracks.txt");
    EXPECT_EQ(object->LoadLibrary(name.Get()), S_OK);
    CBstr path;
    EXPECT_EQ(object->GetPath(300, path.Out()), S_OK);
    EXPECT_EQ(path.Text(), "/u.mp3");
}

TEST_F(CoralindComponentTest, AFileThatCannotBeOpenedLeavesTheLibraryUnloaded)
{
    CComPtr<ICoralindObject> object = CreateLoaded();
    ASSERT_TRUE(object);
    // The data folder is now a plain file, so the library cannot be created.
    const std::filesystem::path blocked = m_folders.Root() / "blocked";
    std::ofstream(blocked) << "x";
    setenv("CORVANTA_DATA_DIR", blocked.c_str(), 1);
    CBstr name("tracks.txt");
    EXPECT_EQ(object->LoadLibrary(name.Get()), S_FALSE);
    CBstr path("/a.mp3");
    EXPECT_EQ(object->Add(1, path.Get()), S_FALSE);
    EXPECT_EQ(object->Remove(1), S_FALSE);
    BSTR untouched = nullptr;
    EXPECT_EQ(object->GetPath(1, &untouched), S_FALSE);
    EXPECT_EQ(untouched, nullptr);
}

TEST_F(CoralindComponentTest, RefusesLibraryNamesOutsideTheDataFolder)
{
    const std::filesystem::path outside = m_folders.Root() / "notes.txt";
    std::ofstream(outside) << "not a library\n";
    CComPtr<ICoralindObject> object = Create();
    ASSERT_TRUE(object);
    for (const char* name : {"../notes.txt", "sub/../../notes.txt", "..", "", outside.c_str()}) {
        SCOPED_TRACE(name);
        CBstr text(name);
        EXPECT_EQ(object->LoadLibrary(text.Get()), S_FALSE);
    }
    EXPECT_EQ(object->LoadLibrary(nullptr), S_FALSE);
    object.Reset();
    std::ifstream in(outside);
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line, "not a library");

    // A subfolder that exists, and names that merely contain dots, are fine.
    std::filesystem::create_directories(m_folders.Data() / "sub");
    object = Create();
    for (const char* name : {"sub/tracks.txt", "..tracks", "tracks..txt"}) {
        SCOPED_TRACE(name);
        CBstr text(name);
        EXPECT_EQ(object->LoadLibrary(text.Get()), S_OK);
    }
}

TEST_F(CoralindComponentTest, AnswersQueryInterfaceAndErrorInfo)
{
    CComPtr<ICoralindObject> object = Create();
    ASSERT_TRUE(object);
    struct Case {
        const char* name;
        REFIID iid;
        HRESULT expected;
    };
    const Case cases[] = {
        {"IUnknown", IID_IUnknown, S_OK},
        {"IDispatch", IID_IDispatch, S_OK},
        {"ICoralindObject", IID_ICoralindObject, S_OK},
        {"ISupportErrorInfo", IID_ISupportErrorInfo, S_OK},
        {"IClassFactory", IID_IClassFactory, E_NOINTERFACE},
        {"ITypeInfo", IID_ITypeInfo, E_NOINTERFACE},
    };
    CComPtr<IUnknown> identity;
    ASSERT_EQ(object->QueryInterface(IID_IUnknown, identity.Out()), S_OK);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CComPtr<IUnknown> got;
        EXPECT_EQ(object->QueryInterface(c.iid, got.Out()), c.expected);
        EXPECT_EQ(static_cast<bool>(got), c.expected == S_OK);
        if (got) {
            CComPtr<IUnknown> back;
            ASSERT_EQ(got->QueryInterface(IID_IUnknown, back.Out()), S_OK);
            EXPECT_EQ(back.Get(), identity.Get());
        }
    }
    EXPECT_EQ(object->QueryInterface(IID_IUnknown, nullptr), E_POINTER);

    CComPtr<ISupportErrorInfo> errorInfo;
    ASSERT_EQ(object->QueryInterface(IID_ISupportErrorInfo, errorInfo.Out()), S_OK);
    EXPECT_EQ(errorInfo->InterfaceSupportsErrorInfo(IID_ICoralindObject), S_OK);
    EXPECT_EQ(errorInfo->InterfaceSupportsErrorInfo(IID_IDispatch), S_FALSE);
}

TEST_F(CoralindComponentTest, DispatchesByNameAndId)
{
    CComPtr<ICoralindObject> object = Create();
    ASSERT_TRUE(object);
    UINT count = 0;
    EXPECT_EQ(object->GetTypeInfoCount(&count), S_OK);
    EXPECT_EQ(count, 1u);

    struct Name {
        const char16_t* name;
        DISPID id;
    };
    const Name names[] = {{u"Add", 1}, {u"LoadLibrary", 2}, {u"remove", 3}, {u"GETPATH", 4}};
    for (const Name& n : names) {
        OLECHAR* list[] = {const_cast<OLECHAR*>(n.name)};
        DISPID id = 0;
        EXPECT_EQ(object->GetIDsOfNames(IID_NULL, list, 1, 0x0409, &id), S_OK);
        EXPECT_EQ(id, n.id);
    }
    OLECHAR* unknown[] = {const_cast<OLECHAR*>(u"Play")};
    DISPID id = 0;
    EXPECT_EQ(object->GetIDsOfNames(IID_NULL, unknown, 1, 0x0409, &id), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(id, DISPID_UNKNOWN);
    OLECHAR* withParams[] = {const_cast<OLECHAR*>(u"Add"), const_cast<OLECHAR*>(u"path"), const_cast<OLECHAR*>(u"id")};
    DISPID ids[3] = {};
    EXPECT_EQ(object->GetIDsOfNames(IID_NULL, withParams, 3, 0x0409, ids), S_OK);
    EXPECT_EQ(ids[0], 1);
    EXPECT_EQ(ids[1], 1);
    EXPECT_EQ(ids[2], 0);

    // LoadLibrary("tracks.txt"), Add(7, "/seven.mp3"), GetPath(7) through Invoke.
    VARIANT args[2];
    VariantInit(&args[0]);
    args[0].vt = VT_BSTR;
    args[0].bstrVal = SysAllocString(u"tracks.txt");
    DISPPARAMS one{args, nullptr, 1, 0};
    EXPECT_EQ(object->Invoke(2, IID_NULL, 0x0409, DISPATCH_METHOD, &one, nullptr, nullptr, nullptr), S_OK);
    VariantClear(&args[0]);

    args[0].vt = VT_BSTR;  // arguments travel last first
    args[0].bstrVal = SysAllocString(u"/seven.mp3");
    args[1].vt = VT_I4;
    args[1].lVal = 7;
    DISPPARAMS two{args, nullptr, 2, 0};
    EXPECT_EQ(object->Invoke(1, IID_NULL, 0x0409, DISPATCH_METHOD, &two, nullptr, nullptr, nullptr), S_OK);
    VariantClear(&args[0]);

    args[0].vt = VT_I2;
    args[0].iVal = 7;
    VARIANT result;
    VariantInit(&result);
    EXPECT_EQ(object->Invoke(4, IID_NULL, 0x0409, DISPATCH_METHOD, &one, &result, nullptr, nullptr), S_OK);
    ASSERT_EQ(result.vt, VT_BSTR);
    EXPECT_EQ(BstrToUtf8(result.bstrVal), "/seven.mp3");
    VariantClear(&result);

    UINT argError = 99;
    args[0].vt = VT_BSTR;
    args[0].bstrVal = SysAllocString(u"x");
    EXPECT_EQ(object->Invoke(3, IID_NULL, 0x0409, DISPATCH_METHOD, &one, nullptr, nullptr, &argError),
              DISP_E_TYPEMISMATCH);
    EXPECT_EQ(argError, 0u);
    VariantClear(&args[0]);
    EXPECT_EQ(object->Invoke(3, IID_NULL, 0x0409, DISPATCH_METHOD, &two, nullptr, nullptr, nullptr),
              DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(object->Invoke(9, IID_NULL, 0x0409, DISPATCH_METHOD, &one, nullptr, nullptr, nullptr),
              DISP_E_MEMBERNOTFOUND);
}

TEST_F(CoralindComponentTest, TypeInfoCarriesTheTypeLibrary)
{
    CComPtr<ICoralindObject> object = Create();
    ASSERT_TRUE(object);
    CComPtr<ITypeInfo> info;
    ASSERT_EQ(object->GetTypeInfo(0, 0x0409, reinterpret_cast<ITypeInfo**>(info.Out())), S_OK);
    GUID type{}, lib{};
    WORD major = 0, minor = 9;
    EXPECT_EQ(info->GetTypeIds(&type, &lib, &major, &minor), S_OK);
    EXPECT_EQ(type, IID_ICoralindObject);
    EXPECT_EQ(lib, LIBID_CORALINDLib);
    EXPECT_EQ(major, 1);
    EXPECT_EQ(minor, 0);
    struct Doc {
        DISPID id;
        const char* name;
        const char* help;
    };
    const Doc docs[] = {{MEMBERID_NIL, "ICoralindObject", "ICoralindObject Interface"},
                        {1, "Add", "method Add"},
                        {2, "LoadLibrary", "method LoadLibrary"},
                        {3, "Remove", "method Remove"},
                        {4, "GetPath", "method GetPath"}};
    for (const Doc& d : docs) {
        SCOPED_TRACE(d.name);
        CBstr name, help;
        EXPECT_EQ(info->GetDocumentation(d.id, name.Out(), help.Out(), nullptr, nullptr), S_OK);
        EXPECT_EQ(name.Text(), d.name);
        EXPECT_EQ(help.Text(), d.help);
    }
    ITypeInfo* none = nullptr;
    EXPECT_EQ(object->GetTypeInfo(1, 0x0409, &none), DISP_E_BADINDEX);
}

// An outer object that counts the references its inner object hands to it.
class COuter final : public IUnknown {
public:
    HRESULT QueryInterface(REFIID, void** out) override
    {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG AddRef() override { return ++refs; }
    ULONG Release() override { return --refs; }
    ULONG refs = 1;
};

TEST_F(CoralindComponentTest, ClassObjectCreatesPlainAndAggregatedObjects)
{
    CComPtr<IClassFactory> factory;
    ASSERT_EQ(CoGetClassObject(CLSID_CoralindObject, 7, nullptr, IID_IClassFactory, factory.Out()), S_OK);
    COuter outer;
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(factory->CreateInstance(&outer, IID_ICoralindObject, &out), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_ICoralindObject, nullptr), E_POINTER);
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IClassFactory, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);

    CComPtr<IUnknown> inner;
    ASSERT_EQ(factory->CreateInstance(&outer, IID_IUnknown, inner.Out()), S_OK);
    ICoralindObject* object = nullptr;
    ASSERT_EQ(inner->QueryInterface(IID_ICoralindObject, reinterpret_cast<void**>(&object)), S_OK);
    EXPECT_EQ(outer.refs, 2u);  // the interface's reference belongs to the outer object
    object->Release();
    EXPECT_EQ(outer.refs, 1u);
}

TEST_F(CoralindComponentTest, TheLibraryUnloadsOnlyWhenNothingHoldsIt)
{
    CComPtr<IClassFactory> factory;
    ASSERT_EQ(CoGetClassObject(CLSID_CoralindObject, 7, nullptr, IID_IClassFactory, factory.Out()), S_OK);
    EXPECT_EQ(factory->LockServer(1), S_OK);
    factory.Reset();
    CoFreeUnusedLibraries();
    EXPECT_TRUE(IsLoaded());  // held by the lock

    CComPtr<ICoralindObject> object = Create();
    ASSERT_TRUE(object);
    ASSERT_EQ(CoGetClassObject(CLSID_CoralindObject, 7, nullptr, IID_IClassFactory, factory.Out()), S_OK);
    EXPECT_EQ(factory->LockServer(0), S_OK);
    factory.Reset();
    CoFreeUnusedLibraries();
    EXPECT_TRUE(IsLoaded());  // held by the object

    object.Reset();
    CoUninitialize();
    EXPECT_FALSE(IsLoaded());
    ASSERT_EQ(CoInitialize(nullptr), S_OK);
}

// Objects on different threads share only the library's counters and class object.
TEST_F(CoralindComponentTest, ObjectsOnSeparateThreadsKeepSeparateLibraries)
{
    constexpr int kThreads = 4;
    std::vector<std::thread> threads;
    std::atomic<int> stored{0};
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t, &stored] {
            CoInitialize(nullptr);
            for (int round = 0; round < 20; ++round) {
                ICoralindObject* object = nullptr;
                if (CoCreateInstance(CLSID_CoralindObject, nullptr, 7, IID_ICoralindObject,
                                     reinterpret_cast<void**>(&object)) != S_OK)
                    continue;
                CBstr name(("thread" + std::to_string(t) + ".txt").c_str());
                CBstr path(("/t" + std::to_string(t) + "/r" + std::to_string(round) + ".mp3").c_str());
                if (object->LoadLibrary(name.Get()) == S_OK && object->Add(round, path.Get()) == S_OK)
                    ++stored;
                object->Release();
            }
            CoUninitialize();
        });
    }
    for (std::thread& th : threads)
        th.join();
    EXPECT_EQ(stored.load(), kThreads * 20);
    CComPtr<ICoralindObject> object = Create();
    CBstr name("thread2.txt");
    ASSERT_EQ(object->LoadLibrary(name.Get()), S_OK);
    CBstr path;
    EXPECT_EQ(object->GetPath(19, path.Out()), S_OK);
    EXPECT_EQ(path.Text(), "/t2/r19.mp3");
}

TEST(CoralindExportsTest, OnlyTheFourEntryPointsWithCLinkage)
{
    const auto exported = ExportedSymbols(CORALIND_PATH);
    ASSERT_TRUE(exported);
    EXPECT_EQ(*exported, (std::set<std::string>{"DllCanUnloadNow", "DllGetClassObject", "DllRegisterServer",
                                                "DllUnregisterServer"}));
}

TEST(CoralindExportsTest, ClassObjectForOtherClassesOrNullOutput)
{
    void* library = dlopen(CORALIND_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr);
    auto getClassObject = reinterpret_cast<DllGetClassObjectFn>(dlsym(library, "DllGetClassObject"));
    auto canUnload = reinterpret_cast<DllCanUnloadNowFn>(dlsym(library, "DllCanUnloadNow"));
    ASSERT_TRUE(getClassObject && canUnload);
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(getClassObject(IID_IUnknown, IID_IClassFactory, &out), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(getClassObject(CLSID_CoralindObject, IID_IClassFactory, nullptr), E_POINTER);
    EXPECT_EQ(canUnload(), S_OK);
    IClassFactory* factory = nullptr;
    ASSERT_EQ(getClassObject(CLSID_CoralindObject, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
    EXPECT_EQ(canUnload(), S_FALSE);
    factory->Release();
    EXPECT_EQ(canUnload(), S_OK);
    dlclose(library);
}

}  // namespace
