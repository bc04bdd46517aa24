#include "tests/server/ServerTestEnv.h"

#include <curl/curl.h>

#include <cstdlib>
#include <filesystem>

namespace corvanta::server::test {

namespace {

size_t Collect(char* data, size_t size, size_t count, void* target)
{
    static_cast<std::string*>(target)->append(data, size * count);
    return size * count;
}

}  // namespace

HttpAnswer Exchange(const std::string& url, const std::string* body, const std::string& caFile, const std::string& from)
{
    HttpAnswer answer;
    CURL* curl = curl_easy_init();
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, Collect);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &answer.body);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, 30L);
    struct curl_slist* headers = nullptr;
    if (body) {
        headers = curl_slist_append(headers, "Content-Type: application/x-www-form-urlencoded");
        curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
        curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body->c_str());
        curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body->size()));
    }
    const std::string source = "host!" + from;
    if (!from.empty())
        curl_easy_setopt(curl, CURLOPT_INTERFACE, source.c_str());
    if (!caFile.empty()) {
        curl_easy_setopt(curl, CURLOPT_CAINFO, caFile.c_str());
        curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
        curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
    }
    answer.ok = curl_easy_perform(curl) == CURLE_OK;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &answer.status);
    curl_slist_free_all(headers);
    curl_easy_cleanup(curl);
    return answer;
}

void CServerFixture::StartServer(int demoScale)
{
    char pattern[] = "/tmp/corvanta-server-test-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    m_dir = pattern;
    ServerOptions options;
    options.dataDir = m_dir + "/data";
    options.httpPort = 0;
    options.httpsPort = 0;
    options.demo = demoScale > 0;
    options.demoScale = demoScale > 0 ? demoScale : 1;
    options.newestVersion = "1.2.0";
    options.downloadUrl = "https://example.org/corvanta-1.2.0.deb";
    options.pbkdf2Iterations = 1000;
    options.threads = 8;
    options.log = false;
    options.clock = [this] { return m_now.load(); };
    m_server = std::make_unique<CCommunityServer>(options);
    std::string error;
    ASSERT_TRUE(m_server->Start(error)) << error;
}

void CServerFixture::TearDown()
{
    if (m_server)
        m_server->Stop();
    m_server.reset();
    std::error_code ec;
    if (!m_dir.empty())
        std::filesystem::remove_all(m_dir, ec);
}

std::string CServerFixture::Url(const std::string& page, bool secure) const
{
    return std::string(secure ? "https://localhost:" : "http://127.0.0.1:") +
           std::to_string(secure ? m_server->HttpsPort() : m_server->HttpPort()) + "/corvanta/production/orvane/" +
           page;
}

std::string CServerFixture::WebUrl(const std::string& page) const
{
    return "http://127.0.0.1:" + std::to_string(m_server->HttpPort()) + "/corvanta/production/" + page;
}

std::string CServerFixture::PostText(const std::string& page, const std::string& body, bool secure,
                                     const std::string& from)
{
    HttpAnswer answer = Exchange(Url(page, secure), &body, secure ? m_server->CertificatePath() : std::string(), from);
    EXPECT_TRUE(answer.ok) << page;
    EXPECT_EQ(answer.status, 200) << page;
    return answer.body;
}

pugi::xml_document CServerFixture::Post(const std::string& page, const std::string& body, bool secure,
                                        const std::string& from)
{
    std::string text = PostText(page, body, secure, from);
    pugi::xml_document doc;
    pugi::xml_parse_result result = doc.load_buffer(text.data(), text.size());
    EXPECT_TRUE(result) << page << ": " << result.description() << "\n" << text;
    return doc;
}

std::string CServerFixture::SignUp(const std::string& handle, const std::string& password)
{
    auto doc = Post("CreateUser.jsp",
                    "App=Tessarin&Action=submit&UserHandle=" + handle + "&PWD=" + password + "&Email=" + handle +
                        "@example.org&VerifyQuestion=&Answer=&Referal=1&CorvantaEmail=true&ThirdPartyEmail=false",
                    true);
    std::string token = doc.select_node("//Session").node().attribute("userToken").value();
    EXPECT_FALSE(token.empty()) << Text(doc, "//Exception");
    return token;
}

std::string CServerFixture::Login(const std::string& handle, const std::string& password, int64_t* userId,
                                  const std::string& prev)
{
    auto doc =
        Post("UserLogin.jsp",
             "Action=Login&App=Tessarin&UserHandle=" + handle + "&PWD=" + password + "&PrevSession=" + prev, true);
    if (userId)
        *userId = std::atoll(Text(doc, "//Session/UserID").c_str());
    return doc.select_node("//Session").node().attribute("userToken").value();
}

std::string CServerFixture::Text(const pugi::xml_document& doc, const char* xpath)
{
    return doc.select_node(xpath).node().text().get();
}

size_t CServerFixture::Count(const pugi::xml_document& doc, const char* xpath)
{
    return doc.select_nodes(xpath).size();
}

}  // namespace corvanta::server::test
