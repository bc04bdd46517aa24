#include "client/xml/XmlDocumentWrapper.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

#include "client/xml/XmlText.h"

namespace {

class XmlLoader : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/corvanta-xml-XXXXXX";
        ASSERT_TRUE(mkdtemp(pattern));
        m_folder = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(m_folder); }

    std::string Write(const std::string& name, const std::string& bytes)
    {
        std::string path = (m_folder / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    std::filesystem::path m_folder;
};

TEST_F(XmlLoader, LoadsTextUpToItsNul)
{
    ::testing::internal::CaptureStdout();
    std::string answer("<Answer><Session>s1</Session></Answer>\0<garbage", 47);
    XmlParseResult result;
    XmlDocumentPtr document = LoadXmlFromText(answer, &result);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
    ASSERT_TRUE(document) << result.message;
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(ElementTextUtf8(FirstElementByTagName(document.get(), u"Session")), "s1");

    CXmlDocumentWrapper wrapper;
    EXPECT_EQ(wrapper.Document(), nullptr);
    CXmlDocument* loaded = wrapper.LoadFromText("<A/>");
    ASSERT_TRUE(loaded);
    EXPECT_EQ(wrapper.Document(), loaded);
    XmlDocumentPtr owned = wrapper.Detach();
    EXPECT_EQ(owned.get(), loaded);
    EXPECT_EQ(wrapper.Document(), nullptr);
}

TEST_F(XmlLoader, FailuresPrintTheLineAndKeepTheMessage)
{
    struct Case {
        const char* text;
        const char* message;
    } cases[] = {
        {"<A></B>", "End tag does not match start tag"},
        {"", "Unexpected end of input - expecting element start."},
        {"Server Error", "Unexpected character 'S' - expecting element start."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ::testing::internal::CaptureStdout();
        XmlParseResult result;
        XmlDocumentPtr document = LoadXmlFromText(c.text, &result);
        EXPECT_EQ(::testing::internal::GetCapturedStdout(), "Failed to load document\n");
        EXPECT_FALSE(document);
        EXPECT_EQ(result.message, c.message);

        CXmlDocumentWrapper wrapper;
        ::testing::internal::CaptureStdout();
        EXPECT_EQ(wrapper.LoadFromText(c.text), nullptr);
        EXPECT_EQ(::testing::internal::GetCapturedStdout(), "Failed to load document\n");
        EXPECT_EQ(wrapper.LastResult().message, c.message);
    }
    CXmlDocumentWrapper wrapper;
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(wrapper.LoadFromText(nullptr), nullptr);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "Failed to load document\n");
}

TEST_F(XmlLoader, LoadsFilesAsBytes)
{
    std::string utf16("\xFF\xFE<\0L\0>\0\xAC\x20<\0/\0L\0>\0", 18);
    struct Case {
        std::string bytes;
        const char* text;
    } cases[] = {
        {"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<L>\xE2\x82\xAC</L>\r\n", "\xE2\x82\xAC"},
        {utf16, "\xE2\x82\xAC"},
        {"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><L>\xE9</L>", "\xC3\xA9"},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(n);
        std::string path = Write("f" + std::to_string(n++) + ".xml", c.bytes);
        XmlParseResult result;
        XmlDocumentPtr document = LoadXmlFromFile(path, &result);
        ASSERT_TRUE(document) << result.message;
        EXPECT_EQ(ElementTextUtf8(document->documentElement()), c.text);
    }
}

TEST_F(XmlLoader, MissingOrMalformedFilesFail)
{
    std::string missing = (m_folder / "missing.xml").string();
    ::testing::internal::CaptureStdout();
    XmlParseResult result;
    EXPECT_FALSE(LoadXmlFromFile(missing, &result));
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "Failed to load document\n");
    EXPECT_EQ(result.message, "Cannot open file '" + missing + "'");

    std::string broken = Write("broken.xml", std::string("<A>\0</A>", 8));
    CXmlDocumentWrapper wrapper;
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(wrapper.LoadFromFile(broken), nullptr);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "Failed to load document\n");
    EXPECT_EQ(wrapper.LastResult().message, "Invalid character '#x0'");
}

TEST(XmlLoaderThreads, LoadsOnSeveralThreadsAtOnce)
{
    std::string answer = "<!DOCTYPE R [<!ENTITY e 'x'>]><R>";
    for (int i = 0; i < 2000; ++i)
        answer += "<ID>" + std::to_string(i) + "</ID><Bad>&e;</Bad>";
    answer += "</R>";
    std::vector<long long> sums(4, -1);
    std::vector<std::thread> threads;
    for (std::size_t t = 0; t < sums.size(); ++t) {
        threads.emplace_back([&, t] {
            long long sum = 0;
            for (int round = 0; round < 5; ++round) {
                XmlParseResult result;
                XmlDocumentPtr document = ParseXml(answer, &result);
                if (!document)
                    return;
                XmlNodeListPtr ids(document->getElementsByTagName(u"ID"));
                while (CXmlNode* id = ids->nextNode())
                    sum += ParseDecimal(ElementText(id));
            }
            sums[t] = sum;
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    for (long long sum : sums)
        EXPECT_EQ(sum, 5LL * 1999 * 2000 / 2);
}

}  // namespace
