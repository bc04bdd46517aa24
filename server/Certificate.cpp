#include "server/Certificate.h"

#include "platform/DurableFile.h"

#include <openssl/bio.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rsa.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <arpa/inet.h>
#include <unistd.h>

#include <cstdio>
#include <memory>

namespace corvanta::server {

namespace {

bool IsIpAddress(const std::string& host)
{
    unsigned char buffer[16];
    return inet_pton(AF_INET, host.c_str(), buffer) == 1 || inet_pton(AF_INET6, host.c_str(), buffer) == 1;
}

bool AddExtension(X509* cert, int nid, const std::string& value)
{
    X509V3_CTX ctx;
    X509V3_set_ctx_nodb(&ctx);
    X509V3_set_ctx(&ctx, cert, cert, nullptr, nullptr, 0);
    X509_EXTENSION* ext = X509V3_EXT_conf_nid(nullptr, &ctx, nid, value.c_str());
    if (!ext)
        return false;
    bool ok = X509_add_ext(cert, ext, -1) == 1;
    X509_EXTENSION_free(ext);
    return ok;
}

// The PEM text that write puts into a memory buffer; empty when it fails.
template <class Write>
std::string PemText(Write write)
{
    std::unique_ptr<BIO, decltype(&BIO_free)> bio(BIO_new(BIO_s_mem()), BIO_free);
    if (!bio || write(bio.get()) != 1)
        return {};
    char* data = nullptr;
    const long size = BIO_get_mem_data(bio.get(), &data);
    return size > 0 ? std::string(data, static_cast<size_t>(size)) : std::string();
}

// Whether the certificate file names host, so a folder first served under
// another name gets a new certificate instead of one every client refuses.
bool Covers(const std::string& certPath, const std::string& host)
{
    std::FILE* file = std::fopen(certPath.c_str(), "r");
    if (!file)
        return false;
    std::unique_ptr<X509, decltype(&X509_free)> cert(PEM_read_X509(file, nullptr, nullptr, nullptr), X509_free);
    std::fclose(file);
    if (!cert)
        return false;
    return IsIpAddress(host) ? X509_check_ip_asc(cert.get(), host.c_str(), 0) == 1
                             : X509_check_host(cert.get(), host.c_str(), host.size(), 0, nullptr) == 1;
}

}  // namespace

bool CCertificate::EnsureSelfSigned(const std::string& host, const std::string& certPath, const std::string& keyPath,
                                    std::string& error)
{
    if (::access(keyPath.c_str(), R_OK) == 0 && Covers(certPath, host))
        return true;

    std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)> key(EVP_RSA_gen(2048), EVP_PKEY_free);
    std::unique_ptr<X509, decltype(&X509_free)> cert(X509_new(), X509_free);
    if (!key || !cert) {
        error = "cannot create a key";
        return false;
    }
    X509_set_version(cert.get(), 2);
    unsigned char serial[16];
    std::FILE* random = std::fopen("/dev/urandom", "rb");
    size_t got = random ? std::fread(serial, 1, sizeof serial, random) : 0;
    if (random)
        std::fclose(random);
    serial[0] &= 0x7f;
    BIGNUM* bn = BN_bin2bn(serial, static_cast<int>(got ? got : 1), nullptr);
    BN_to_ASN1_INTEGER(bn, X509_get_serialNumber(cert.get()));
    BN_free(bn);
    X509_gmtime_adj(X509_getm_notBefore(cert.get()), -3600);
    X509_gmtime_adj(X509_getm_notAfter(cert.get()), 10L * 365 * 24 * 3600);
    X509_set_pubkey(cert.get(), key.get());
    X509_NAME* name = X509_get_subject_name(cert.get());
    X509_NAME_add_entry_by_txt(name, "O", MBSTRING_UTF8,
                               reinterpret_cast<const unsigned char*>("Corvanta community server"), -1, -1, 0);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_UTF8, reinterpret_cast<const unsigned char*>(host.c_str()), -1, -1,
                               0);
    X509_set_issuer_name(cert.get(), name);

    std::string san = IsIpAddress(host) ? "IP:" + host : "DNS:" + host;
    if (host != "localhost")
        san += ",DNS:localhost";
    if (host != "127.0.0.1")
        san += ",IP:127.0.0.1";
    if (!AddExtension(cert.get(), NID_basic_constraints, "critical,CA:TRUE") ||
        !AddExtension(cert.get(), NID_key_usage, "critical,digitalSignature,keyEncipherment,keyCertSign") ||
        !AddExtension(cert.get(), NID_ext_key_usage, "serverAuth") ||
        !AddExtension(cert.get(), NID_subject_key_identifier, "hash") ||
        !AddExtension(cert.get(), NID_subject_alt_name, san)) {
        error = "cannot describe the certificate";
        return false;
    }
    if (!X509_sign(cert.get(), key.get(), EVP_sha256())) {
        error = "cannot sign the certificate";
        return false;
    }

    // Owner-only, and each file whole or not at all: a crash or a full disk
    // leaves no half-written key or certificate.
    const std::string keyText = PemText(
        [&](BIO* bio) { return PEM_write_bio_PrivateKey(bio, key.get(), nullptr, nullptr, 0, nullptr, nullptr); });
    const std::string certText = PemText([&](BIO* bio) { return PEM_write_bio_X509(bio, cert.get()); });
    if (keyText.empty() || certText.empty()) {
        error = "cannot write the certificate files";
        return false;
    }
    if (!ReplaceFileDurably(keyPath, keyText, 0600)) {
        error = "cannot write " + keyPath;
        return false;
    }
    if (!ReplaceFileDurably(certPath, certText, 0600)) {
        error = "cannot write " + certPath;
        return false;
    }
    return true;
}

}  // namespace corvanta::server
