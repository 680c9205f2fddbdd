// A secure (https) video link: the information request and the transfer go
// to the link's own scheme, host and port, over a real TLS server on the
// loopback whose self-signed certificate only this test trusts.

#define CPPHTTPLIB_OPENSSL_SUPPORT
#include <httplib.h>

#include "platform/FileSystem.h"
#include "platform/internet/Internet.h"
#include "platform/seams/TestSeams.h"
#include "support/TempFolder.h"
#include "transfer/Download.h"

#include <gtest/gtest.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509v3.h>

#include <atomic>
#include <cstdio>
#include <memory>
#include <thread>

namespace tollivex {
namespace {

constexpr char kHost[] = "secure.videos.example";

// A certificate for `host`, signed by its own key, and the key, as PEM files.
void WriteSelfSignedCertificate(const std::string& host, const std::string& certFile, const std::string& keyFile)
{
    std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)> key(EVP_EC_gen("P-256"), EVP_PKEY_free);
    std::unique_ptr<X509, decltype(&X509_free)> cert(X509_new(), X509_free);
    ASSERT_TRUE(key && cert);
    X509_set_version(cert.get(), 2);
    ASN1_INTEGER_set(X509_get_serialNumber(cert.get()), 1);
    X509_gmtime_adj(X509_getm_notBefore(cert.get()), -60);
    X509_gmtime_adj(X509_getm_notAfter(cert.get()), 3600);
    X509_set_pubkey(cert.get(), key.get());
    X509_NAME* name = X509_get_subject_name(cert.get());
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char*>(host.c_str()), -1, -1,
                               0);
    X509_set_issuer_name(cert.get(), name);
    X509V3_CTX context;
    X509V3_set_ctx_nodb(&context);
    X509V3_set_ctx(&context, cert.get(), cert.get(), nullptr, nullptr, 0);
    for (const auto& [nid, value] : {std::pair{NID_subject_alt_name, "DNS:" + host},
                                     std::pair{NID_basic_constraints, std::string("critical,CA:TRUE")}}) {
        X509_EXTENSION* extension = X509V3_EXT_conf_nid(nullptr, &context, nid, value.c_str());
        ASSERT_NE(extension, nullptr);
        X509_add_ext(cert.get(), extension, -1);
        X509_EXTENSION_free(extension);
    }
    ASSERT_GT(X509_sign(cert.get(), key.get(), EVP_sha256()), 0);
    FILE* out = std::fopen(certFile.c_str(), "w");
    ASSERT_NE(out, nullptr);
    PEM_write_X509(out, cert.get());
    std::fclose(out);
    out = std::fopen(keyFile.c_str(), "w");
    ASSERT_NE(out, nullptr);
    PEM_write_PrivateKey(out, key.get(), nullptr, nullptr, 0, nullptr, nullptr);
    std::fclose(out);
}

TEST(SecureLink, InformationAndTransferGoToTheLinksSchemeHostAndPort)
{
    test::TempFolder folder;
    const std::string certFile = folder.File("cert.pem");
    const std::string keyFile = folder.File("key.pem");
    WriteSelfSignedCertificate(kHost, certFile, keyFile);
    httplib::SSLServer server(certFile.c_str(), keyFile.c_str());
    ASSERT_TRUE(server.is_valid());
    const std::string video(5000, 'v');
    std::atomic<int> heads{0};
    server.Get("/a.flv", [&](const httplib::Request& request, httplib::Response& response) {
        heads += request.method == "HEAD" ? 1 : 0;
        response.set_content(video, "video/x-flv");
    });
    const int port = server.bind_to_any_port("127.0.0.1");
    ASSERT_GT(port, 0);
    std::thread serving([&] { server.listen_after_bind(); });
    platform::SetHostMapping(kHost, port);
    const std::string link = std::string("https://") + kHost + ":" + std::to_string(port) + "/a.flv";

    // Trusted (as a real site's certificate is): the size is known, the video arrives whole.
    platform::SetTrustedCertificates(certFile);
    {
        Download download;
        download.SetUrl(link);
        download.RequestInformation();
        EXPECT_TRUE(download.FileExists());
        EXPECT_EQ(download.FileSize(), 5000);
        EXPECT_EQ(download.RemoteFileType(), "x-flv");
        download.SetLocalFile(folder.File("a.flv"));
        EXPECT_TRUE(download.StartDownload());
        EXPECT_EQ(platform::ReadWholeFile(folder.File("a.flv")).value_or(""), video);
        EXPECT_EQ(heads, 1);
    }
    // A certificate nobody vouches for is refused: no size, nothing fetched.
    platform::SetTrustedCertificates("");
    {
        Download download;
        download.SetUrl(link);
        download.RequestInformation();
        EXPECT_FALSE(download.FileExists());
        EXPECT_EQ(download.FileSize(), -1);
        download.SetLocalFile(folder.File("b.flv"));
        EXPECT_FALSE(download.StartDownload());
        EXPECT_FALSE(platform::FileExists(folder.File("b.flv")));
        EXPECT_EQ(heads, 1);
    }
    platform::ClearHostMappings();
    server.stop();
    serving.join();
}

} // namespace
} // namespace tollivex
