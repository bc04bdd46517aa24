#pragma once
// The one HTTP exchange of the client: a form POST to a server page.
#include "platform/Result.h"

#include <cstdint>
#include <functional>
#include <string>

/// Posts formBody (bytes as given) to http[s]://host:port objectPath with
/// "Content-Type: application/x-www-form-urlencoded" and reads the answer.
/// Blocking and re-entrant; every call uses its own connection.
///
/// S_OK for a 2xx status; E_FAIL otherwise. With any status the body is read
/// into answer, each line (up to and without its LF) followed by "\n\r". On a
/// transport failure answer is left untouched. A connect that takes longer than
/// 2000 ms is tried again, three attempts in all, silently; any other transport
/// error is handed to the transport error reporter and not retried.
/// HTTPS verifies the server against the system's CA store plus the PEM file
/// named by the environment variable CORVANTA_CA_FILE.
HRESULT HttpPostForm(const std::string& host, std::uint16_t port, const std::string& objectPath,
                     const std::string& formBody, std::string& answer, bool secure);

/// Replaces the receiver of transport error texts (may be called on any
/// thread). The default writes them to stderr; nullptr restores it.
void SetTransportErrorReporter(std::function<void(const std::string&)> reporter);

/// How many connection attempts the last HttpPostForm on this thread made.
/// For tests and diagnostics.
int LastHttpAttemptCount();
