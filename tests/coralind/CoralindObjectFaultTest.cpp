// The object when its file fails: nothing is reported stored that the file
// does not hold, and the file is never left worse than it was.
#include "coralind/CoralindObject.h"
#include "coralind/TrackLibraryFile.h"
#include "platform/DurableFile.h"
#include "platform/com/ComPtr.h"
#include "tests/support/ScopedTestFolders.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

LibraryFileStep g_failing;
bool Fail(LibraryFileStep step)
{
    return step == g_failing;
}

FileReplaceStep g_failingReplace;
bool FailReplace(FileReplaceStep step)
{
    return step == g_failingReplace;
}

class CoralindObjectFaultTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::ofstream(m_folders.Data() / "tracks.txt") << "1,/one.mp3\n2,/two.mp3\n2,\n";
        ASSERT_EQ(CCoralindObject::Create(nullptr, IID_ICoralindObject, m_object.Out()), S_OK);
    }
    void TearDown() override { NoFaults(); }

    void FailAt(LibraryFileStep step)
    {
        g_failing = step;
        SetLibraryFileFaultHook(Fail);
    }
    void FailAt(FileReplaceStep step)
    {
        g_failingReplace = step;
        SetFileReplaceFaultHook(FailReplace);
    }
    static void NoFaults()
    {
        SetLibraryFileFaultHook(nullptr);
        SetFileReplaceFaultHook(nullptr);
    }
    HRESULT Load()
    {
        BSTR name = SysAllocString(u"tracks.txt");
        const HRESULT hr = m_object->LoadLibrary(name);
        SysFreeString(name);
        return hr;
    }
    std::string PathOf(LONG id)
    {
        BSTR path = nullptr;
        EXPECT_EQ(m_object->GetPath(id, &path), S_OK);
        std::string text = BstrToUtf8(path);
        SysFreeString(path);
        return text;
    }
    std::string FileText() const
    {
        std::ifstream in(m_folders.Data() / "tracks.txt", std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }

    CScopedTestFolders m_folders;
    CComPtr<ICoralindObject> m_object;
};

TEST_F(CoralindObjectFaultTest, AFailedCompactionAtLoadKeepsTheJournalAndLoadsNothing)
{
    const auto loadFailsAndKeepsTheJournal = [this] {
        EXPECT_EQ(Load(), S_FALSE);
        NoFaults();
        BSTR path = nullptr;
        EXPECT_EQ(m_object->GetPath(1, &path), S_FALSE);
        EXPECT_EQ(FileText(), "1,/one.mp3\n2,/two.mp3\n2,\n");
    };
    for (LibraryFileStep step : {LibraryFileStep::Open, LibraryFileStep::Read}) {
        SCOPED_TRACE(static_cast<int>(step));
        FailAt(step);
        loadFailsAndKeepsTheJournal();
    }
    for (FileReplaceStep step :
         {FileReplaceStep::Create, FileReplaceStep::Write, FileReplaceStep::Sync, FileReplaceStep::Rename}) {
        SCOPED_TRACE(static_cast<int>(step));
        FailAt(step);
        loadFailsAndKeepsTheJournal();
    }
    EXPECT_EQ(Load(), S_OK);
    EXPECT_EQ(FileText(), "1,/one.mp3\n");
}

TEST_F(CoralindObjectFaultTest, AFailedAppendChangesNeitherMapNorFile)
{
    ASSERT_EQ(Load(), S_OK);
    FailAt(LibraryFileStep::Append);
    BSTR path = SysAllocString(u"/three.mp3");
    EXPECT_EQ(m_object->Add(3, path), S_FALSE);
    EXPECT_EQ(m_object->Remove(1), S_FALSE);
    NoFaults();
    EXPECT_EQ(PathOf(3), "");
    EXPECT_EQ(PathOf(1), "/one.mp3");
    EXPECT_EQ(FileText(), "1,/one.mp3\n");

    EXPECT_EQ(m_object->Add(3, path), S_OK);
    SysFreeString(path);
    // Compaction at release fails: the journal still holds the change.
    FailAt(FileReplaceStep::Rename);
    m_object.Reset();
    EXPECT_EQ(FileText(), "1,/one.mp3\n3,/three.mp3\n");
}

}  // namespace
