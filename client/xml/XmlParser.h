#pragma once
// The non-validating XML 1.0 parser behind both loaders.
#include <cstddef>
#include <string>
#include <string_view>

#include "client/xml/XmlDocument.h"

/// Bounds that keep a hostile input from exhausting memory, time or stack.
/// Honest answers stay far below them.
struct XmlParseLimits {
    std::size_t maxDepth = 256;                // nested elements
    std::size_t maxEntityNesting = 16;         // entity references inside replacement text
    std::size_t maxEntityExpansion = 1 << 20;  // bytes of replacement text per document
};

/// The outcome of one parse: ok, or the first error with its place in the input.
struct XmlParseResult {
    bool ok = false;
    std::string message;     // one of the parser's messages; empty on success
    std::size_t offset = 0;  // byte offset of the error in the (decoded) input
    std::size_t line = 0;    // 1-based line and column of the error
    std::size_t column = 0;
    explicit operator bool() const { return ok; }
};

/// Parses bytes as a whole document. Encoding: UTF-8 unless a byte-order mark
/// says UTF-16 or the declaration names ASCII or ISO-8859-1 (one byte, one
/// character). Returns the document (the caller releases it) or nullptr with
/// the error in *result; never a partial document. Leading white space of
/// character data is dropped and CDATA sections become text.
XmlDocumentPtr ParseXml(std::string_view bytes, XmlParseResult* result = nullptr, const XmlParseLimits& limits = {});
