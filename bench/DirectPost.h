#pragma once
// The reference the exchange benchmarks set the client beside: one form post
// with libcurl on a connection of its own, as the client makes each exchange,
// its answer read and dropped. The bench links CURL::libcurl and calls
// curl_global_init first.
#include <curl/curl.h>

#include <cstddef>
#include <string>

/// False when the post failed or was not answered with 200.
inline bool DirectPost(const std::string& url, const std::string& body)
{
    CURL* curl = curl_easy_init();
    curl_slist* headers = curl_slist_append(nullptr, "Content-Type: application/x-www-form-urlencoded");
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body.c_str());
    curl_easy_setopt(curl, CURLOPT_USERAGENT, "Corvanta");
    curl_easy_setopt(
        curl, CURLOPT_WRITEFUNCTION, +[](char*, std::size_t size, std::size_t count, void*) { return size * count; });
    curl_easy_setopt(curl, CURLOPT_FORBID_REUSE, 1L);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    long status = 0;
    const bool answered = curl_easy_perform(curl) == CURLE_OK &&
                          curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status) == CURLE_OK && status == 200;
    curl_slist_free_all(headers);
    curl_easy_cleanup(curl);
    return answered;
}
